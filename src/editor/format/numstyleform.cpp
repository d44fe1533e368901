#include "editor/format/numstyleform.h"

#include "editor/format/formatstate.h"
#include "editor/format/formatstyles.h"

#include <QGroupBox>

namespace {

TStyleChoiceForm::Design numberingDesign() {
    TStyleChoiceForm::Design design;
    design.caption = QStringLiteral("Numbering Style");
    design.size = QSize(268, 335);
    design.groupCaption = QStringLiteral("Numbering");
    design.items = FormatStyles::NumberingItems();
    design.designIndex = 0;
    design.note = QStringLiteral("By using an older RichEd20.dll\nonly the standard Bullet "
                                 "Style\nis supported! ");
    design.okSize = QSize(89, 41);
    return design;
}

} // namespace

TNumStyleForm::TNumStyleForm(TFormatState &state, QWidget *parent)
    : TStyleChoiceForm(
          numberingDesign(), state.BulletsStyle,
          [&state](const QString &item) { state.SetBulletsStyle(item); }, parent) {
    setObjectName(QStringLiteral("NumStyleForm"));
    Numbering()->setObjectName(QStringLiteral("Numbering"));
}
