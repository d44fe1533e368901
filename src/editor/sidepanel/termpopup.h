#pragma once

// Which items of the popup menu shared by the editing area and the term box are enabled when it
// opens. On the term box only the term and list commands make sense; on the editing area the
// editing commands do, and "Add to Term Box" only while the term box is set visible (it stays
// so after "No List" hides the whole panel, and then adds to the hidden list).
struct TermPopupItems {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
    bool addToTermBox = false;
    bool deleteTerm = false;
    bool clearTermList = true;
    bool clearFileList = true;

    bool operator==(const TermPopupItems &) const = default;
};

// `copyEnabled`: the state of the Copy command; `termListSetVisible`: the term box's own
// visibility, whatever the panel's.
TermPopupItems prepareTermPopup(bool termListFocused, bool copyEnabled, bool termListSetVisible);
