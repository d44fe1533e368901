#include "editor/format/paraformatdlg.h"

#include "platform/prompts.h"
#include "richtext/rxparaattributes.h"
#include "richtext/rxrichedit.h"
#include "widgets/dialogbuttons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace {

QSpinBox *field(QWidget *parent, const char *name, const QString &accessibleName, int minimum,
                int maximum) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setRange(minimum, maximum);
    return box;
}

} // namespace

TParaFormatDlg::TParaFormatDlg(QWidget *parent, bool spacingSupported)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ParaFormatDlg"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setFixedSize(393, 216);

    IndentBox = new QGroupBox(QStringLiteral(" Indentation "), this);
    IndentBox->setObjectName(QStringLiteral("IndentBox"));
    IndentBox->setAccessibleName(QStringLiteral("Indentation"));
    LeftIndent = field(IndentBox, "LeftIndent", QStringLiteral("Left"), -MaxIndent, MaxIndent);
    RightIndent = field(IndentBox, "RightIndent", QStringLiteral("Right"), -MaxIndent, MaxIndent);
    FirstIndent =
        field(IndentBox, "FirstIndent", QStringLiteral("First line"), -MaxIndent, MaxIndent);
    auto *indentLayout = new QFormLayout(IndentBox);
    indentLayout->addRow(QStringLiteral("&Left: "), LeftIndent);
    indentLayout->addRow(QStringLiteral("&Right: "), RightIndent);
    indentLayout->addRow(QStringLiteral("&First line: "), FirstIndent);

    Alignment = new QGroupBox(QStringLiteral(" Alignment "), this);
    Alignment->setObjectName(QStringLiteral("Alignment"));
    Alignment->setAccessibleName(QStringLiteral("Alignment"));
    auto *alignmentLayout = new QVBoxLayout(Alignment);
    m_alignment = new QButtonGroup(this);
    const QStringList items = {QStringLiteral("Left"), QStringLiteral("Right"),
                               QStringLiteral("Center")};
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items[i], Alignment);
        item->setAccessibleName(items[i]);
        m_alignment->addButton(item, int(i));
        alignmentLayout->addWidget(item);
    }

    SpacingBox = new QGroupBox(QStringLiteral(" Spacing "), this);
    SpacingBox->setObjectName(QStringLiteral("SpacingBox"));
    SpacingBox->setAccessibleName(QStringLiteral("Spacing"));
    SpaceBefore = field(SpacingBox, "SpaceBefore", QStringLiteral("Space before"), 0, MaxSpacing);
    SpaceAfter = field(SpacingBox, "SpaceAfter", QStringLiteral("Space after"), 0, MaxSpacing);
    LineSpacing = field(SpacingBox, "LineSpacing", QStringLiteral("Line spacing"), 0, MaxSpacing);
    LineSpacing->setSingleStep(5);
    auto *spacingLayout = new QFormLayout(SpacingBox);
    spacingLayout->addRow(QStringLiteral("Space &before: "), SpaceBefore);
    spacingLayout->addRow(QStringLiteral("Space &after: "), SpaceAfter);
    spacingLayout->addRow(QStringLiteral("Li&ne spacing: "), LineSpacing);
    SpacingBox->setEnabled(spacingSupported);

    const DialogButtons dialogButtons = MakeOkCancelButtons(*this);
    OkBtn = dialogButtons.ok;
    CancelBtn = dialogButtons.cancel;

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto *layout = new QGridLayout(this);
    layout->addWidget(IndentBox, 0, 0);
    layout->addWidget(SpacingBox, 0, 1);
    layout->addLayout(buttons, 0, 2, 2, 1);
    layout->addWidget(Alignment, 1, 0, 1, 2);
}

int TParaFormatDlg::alignmentIndex() const {
    return m_alignment->checkedId();
}

void TParaFormatDlg::setAlignmentIndex(int index) {
    if (QAbstractButton *item = m_alignment->button(index))
        item->setChecked(true);
}

QRadioButton *TParaFormatDlg::alignmentItem(int index) const {
    return qobject_cast<QRadioButton *>(m_alignment->button(index));
}

int TParaFormatDlg::fieldValue(const QSpinBox &field) {
    bool ok = false;
    const int value = field.cleanText().toInt(&ok);
    if (ok && value >= field.minimum() && value <= field.maximum())
        return value;
    // An unbounded field has no minimum of its own; its empty value is 0.
    return field.minimum() < 0 ? 0 : field.minimum();
}

void TParaFormatDlg::LoadFrom(const TRxParaAttributes &paragraph) {
    LeftIndent->setValue(paragraph.LeftIndent());
    RightIndent->setValue(paragraph.RightIndent());
    FirstIndent->setValue(paragraph.FirstIndent());
    // A justified paragraph has no item of its own; the last item stands for it.
    setAlignmentIndex(qBound(0, paragraph.Alignment(), 2));
    SpaceBefore->setValue(paragraph.SpaceBefore());
    SpaceAfter->setValue(paragraph.SpaceAfter());
    LineSpacing->setValue(paragraph.LineSpacing());
}

void TParaFormatDlg::SaveTo(TRxParaAttributes &paragraph) const {
    paragraph.SetLeftIndent(fieldValue(*LeftIndent));
    paragraph.SetRightIndent(fieldValue(*RightIndent));
    paragraph.SetFirstIndent(fieldValue(*FirstIndent));
    if (alignmentIndex() >= 0)
        paragraph.SetAlignment(alignmentIndex());
    if (!SpacingBox->isEnabled())
        return;
    paragraph.SetSpaceBefore(fieldValue(*SpaceBefore));
    paragraph.SetSpaceAfter(fieldValue(*SpaceAfter));
    const int spacing = fieldValue(*LineSpacing);
    paragraph.SetLineSpacingRule(spacing <= 0 ? TRxParaAttributes::lsSingle
                                              : TRxParaAttributes::lsAtLeast);
    paragraph.SetLineSpacing(spacing);
}

bool TParaFormatDlg::Execute(TRxRichEdit &memo, Prompts &prompts, QWidget *parent,
                             bool spacingSupported) {
    TParaFormatDlg dialog(parent, spacingSupported);
    dialog.LoadFrom(memo.Paragraph());
    if (prompts.exec(dialog) != QDialog::Accepted)
        return false;
    TRxParaAttributes paragraph = memo.Paragraph();
    memo.BeginUndoGroup();
    try {
        dialog.SaveTo(paragraph);
    } catch (...) {
        memo.EndUndoGroup();
        throw;
    }
    memo.EndUndoGroup();
    return true;
}
