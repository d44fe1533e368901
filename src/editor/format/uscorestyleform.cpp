#include "editor/format/uscorestyleform.h"

#include "editor/format/formatstate.h"
#include "editor/format/formatstyles.h"

#include <QGroupBox>

namespace {

TStyleChoiceForm::Design underlineDesign() {
    TStyleChoiceForm::Design design;
    design.caption = QStringLiteral("Underscore");
    design.size = QSize(266, 363);
    design.groupCaption = QStringLiteral("UnderScore Selection");
    design.items = FormatStyles::UnderlineItems();
    design.designIndex = -1;
    design.note = QStringLiteral("By using an older version of \nRichEd20.dll only the "
                                 "standard\nunderscore style  is supported!");
    design.okSize = QSize(97, 41);
    design.groupInPanel = true;
    return design;
}

} // namespace

TUScoreStyleForm::TUScoreStyleForm(TFormatState &state, QWidget *parent)
    : TStyleChoiceForm(
          underlineDesign(), state.UScoreType,
          [&state](const QString &item) { state.SetUScoreType(item); }, parent) {
    setObjectName(QStringLiteral("UScoreStyleForm"));
    Underscore()->setObjectName(QStringLiteral("Underscore"));
}
