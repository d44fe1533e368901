#pragma once

#include "editor/format/stylechoiceform.h"

struct TFormatState;

// The "Numbering Style" dialog: chooses the numbering the Bullet command applies. Created anew
// for each use; a click on an item changes the state's numbering style at once.
class TNumStyleForm : public TStyleChoiceForm {
    Q_OBJECT

public:
    explicit TNumStyleForm(TFormatState &state, QWidget *parent = nullptr);

    QGroupBox *Numbering() const { return group(); }
};
