#pragma once

#include "editor/format/stylechoiceform.h"

struct TFormatState;

// The "Underscore" style dialog: chooses the underline the Underscore command applies. Created
// anew for each use; a click on an item changes the state's underline style at once.
class TUScoreStyleForm : public TStyleChoiceForm {
    Q_OBJECT

public:
    explicit TUScoreStyleForm(TFormatState &state, QWidget *parent = nullptr);

    QGroupBox *Underscore() const { return group(); }
};
