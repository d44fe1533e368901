#include "editor/sidepanel/termpopup.h"

TermPopupItems prepareTermPopup(bool termListFocused, bool copyEnabled, bool termListSetVisible) {
    TermPopupItems items;
    const bool editing = !termListFocused;
    items.deleteTerm = termListFocused;
    // Cut and Copy act on the editing area's selection, so they follow the Copy command; on the
    // term box they stay off like the other editing items.
    items.cut = editing && copyEnabled;
    items.copy = editing && copyEnabled;
    items.paste = editing;
    items.selectAll = editing;
    items.addToTermBox = editing && termListSetVisible;
    return items;
}
