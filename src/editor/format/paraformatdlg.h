#pragma once

#include <QDialog>

class Prompts;
class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TRxParaAttributes;
class TRxRichEdit;

// The "Paragraph" dialog: indents, alignment and spacing of the selected paragraphs, in whole
// points. Lives for one use; Execute loads it from a paragraph format, runs it and writes the
// fields back only on OK.
class TParaFormatDlg : public QDialog {
    Q_OBJECT

public:
    // Indents and spacings are bounded where the layout still works; a larger value would only
    // push the text out of any page.
    static constexpr int MaxIndent = 1584;
    static constexpr int MaxSpacing = 1584;

    // `spacingSupported`: whether the control keeps paragraph spacing; without it the spacing
    // fields are disabled.
    explicit TParaFormatDlg(QWidget *parent = nullptr, bool spacingSupported = true);

    QGroupBox *IndentBox;
    QSpinBox *LeftIndent;
    QSpinBox *RightIndent;
    QSpinBox *FirstIndent;
    QGroupBox *Alignment;
    QGroupBox *SpacingBox;
    QSpinBox *SpaceBefore;
    QSpinBox *SpaceAfter;
    QSpinBox *LineSpacing;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

    // The alignment group's items "Left", "Right", "Center" (0, 1, 2); -1 when none is selected.
    int alignmentIndex() const;
    void setAlignmentIndex(int index);
    QRadioButton *alignmentItem(int index) const;

    // A field's value: its text as a whole number, or the field's minimum (0 for an unbounded
    // indent) when the text is not one.
    static int fieldValue(const QSpinBox &field);

    void LoadFrom(const TRxParaAttributes &paragraph);
    void SaveTo(TRxParaAttributes &paragraph) const;

    // Creates the dialog, loads it from the selected paragraphs, shows it modally through
    // `prompts`, writes back on OK (one undo step) and answers whether OK was chosen.
    static bool Execute(TRxRichEdit &memo, Prompts &prompts, QWidget *parent,
                        bool spacingSupported = true);

private:
    QButtonGroup *m_alignment;
};
