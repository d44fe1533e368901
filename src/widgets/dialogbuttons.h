#pragma once

class QDialog;
class QPushButton;

// The OK (default, accepts) and Cancel (rejects) buttons of a modal dialog, named "OkBtn" and
// "CancelBtn" with their captions as accessible names.
struct DialogButtons {
    QPushButton *ok;
    QPushButton *cancel;
};

DialogButtons MakeOkCancelButtons(QDialog &dialog);
