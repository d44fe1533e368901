#include "editor/frame/toolbars.h"

#include "editor/frame/coolbar.h"
#include "editor/frame/editoractions.h"
#include "widgets/commandtoolbutton.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int ImageSize = 20;

void describe(QWidget *widget, const QString &hint) {
    widget->setAccessibleName(TEditorActions::shortHint(hint));
    widget->setToolTip(TEditorActions::shortHint(hint));
    widget->setStatusTip(TEditorActions::longHint(hint));
}

} // namespace

TToolBars::TToolBars(QWidget &window, TEditorActions &a)
    : ToolbarImages(a)
    , m_actions(a) {
    CoolBar1 = new TCoolBar(&window);

    ToolBar1 = makeBar("ToolBar1", QStringLiteral("File"),
                       {a.NewAction, a.OpenAction, a.SaveAction, a.PrintAction});
    ToolBar2 = makeBar(
        "ToolBar2", QStringLiteral("Clipboard and Browse"),
        {a.CutAction, a.CopyAction, a.PasteAction, nullptr, a.Last, a.StayTopAction, a.Next});
    FontCombo = new QComboBox(CoolBar1);
    FontCombo->setObjectName(QStringLiteral("FontCombo"));
    FontCombo->setEditable(true);
    FontCombo->setInsertPolicy(QComboBox::NoInsert);
    FontCombo->setMinimumContentsLength(18);
    FontCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    describe(FontCombo, QStringLiteral("Font|Select Font"));
    FontSizeBox = new QSpinBox(CoolBar1);
    FontSizeBox->setObjectName(QStringLiteral("FontSizeBox"));
    FontSizeBox->setRange(1, 1638);
    FontSizeBox->setValue(12);
    describe(FontSizeBox, QStringLiteral("Font SIze | Select Font Size"));
    ToolBar6 = makeBar("ToolBar6", QStringLiteral("Run Programs"),
                       {a.ToolButton7, a.ToolButton8, a.CharMapAction, a.PaintAction});

    ToolBInsert =
        makeBar("ToolBInsert", QStringLiteral("Insert"),
                {a.DateBut, a.InsTimeAction, a.AddTxtFileAction, a.SpellAction, a.WWAction});
    ToolBFormat1 = makeBar("ToolBFormat1", QStringLiteral("Paragraph Format"),
                           {a.BoldAction, a.ItalicAction, a.UnderscoreAction, a.StrikeAction,
                            a.BulletAction, a.LeftAction, a.CenterAction, a.RightAction,
                            a.JustifyAction, a.IncIndentAction, a.DecIndentAction});
    ToolBFormat2 = makeBar("ToolBFormat2", QStringLiteral("Character Format"),
                           {a.FontAction, a.UpperAction, a.LowerAction, a.SuperscriptAction,
                            a.SubscriptAction, a.FontColorAction, a.BackColorAction});
    ToolBar7 = makeBar("ToolBar7", QStringLiteral("Undo and Find"),
                       {a.UndoAction, a.RedoAction, a.FindAction, a.ExitAction});

    StayOnTopBut = button(a.StayTopAction, "StayOnTopBut");
    ExitBut = button(a.ExitAction, "ExitBut");
    LastBut = button(a.Last, "Last");
    NextBut = button(a.Next, "Next");
    Spell = button(a.SpellAction, "Spell");
    DateBut = button(a.DateBut, "DateBut");
    ToolButton7 = button(a.ToolButton7, "ToolButton7");
    ToolButton8 = button(a.ToolButton8, "ToolButton8");
    CharMapButton = button(a.CharMapAction, "CharMapButton");
    PaintBut = button(a.PaintAction, "PaintBut");

    QHBoxLayout *first = CoolBar1->row(0);
    first->addWidget(ToolBar1);
    first->addWidget(ToolBar2);
    first->addWidget(FontCombo);
    first->addWidget(FontSizeBox);
    first->addWidget(ToolBar6);
    first->addStretch(1);
    QHBoxLayout *second = CoolBar1->row(1);
    second->addWidget(ToolBInsert);
    second->addWidget(ToolBFormat1);
    second->addWidget(ToolBFormat2);
    second->addWidget(ToolBar7);
    second->addStretch(1);
}

QToolBar *TToolBars::makeBar(const char *name, const QString &title,
                             const QList<QAction *> &commands) {
    auto *bar = new QToolBar(title, CoolBar1);
    bar->setObjectName(QLatin1String(name));
    bar->setAccessibleName(title);
    bar->setIconSize(QSize(ImageSize, ImageSize));
    bar->setMovable(false);
    bar->setFloatable(false);
    for (QAction *command : commands) {
        if (!command) {
            bar->addSeparator();
            continue;
        }
        auto *tool = new CommandToolButton(command, bar);
        tool->setAutoRaise(true);
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIconSize(bar->iconSize());
        tool->setToolButtonStyle(bar->toolButtonStyle());
        bar->addWidget(tool);
        m_buttons.insert(command, tool);
        const QString hint = m_actions.toolHint(command);
        QString name = TEditorActions::shortHint(hint);
        if (name.isEmpty())
            name = command->text().remove(QLatin1Char('&'));
        tool->setAccessibleName(name);
    }
    m_bars.append(bar);
    return bar;
}

QToolButton *TToolBars::button(QAction *action, const char *name) {
    QToolButton *tool = buttonFor(action);
    tool->setObjectName(QLatin1String(name));
    return tool;
}

QToolButton *TToolBars::buttonFor(QAction *action) const {
    return m_buttons.value(action);
}

QList<QToolBar *> TToolBars::all() const {
    return m_bars;
}
