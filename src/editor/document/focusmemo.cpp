#include "editor/document/focusmemo.h"

#include <QWidget>
#include <exception>

void FocusMemo(QWidget &memo) {
    try {
        if (memo.isEnabled() && memo.isVisible())
            memo.setFocus(Qt::OtherFocusReason);
    } catch (const std::exception &) {
    }
}
