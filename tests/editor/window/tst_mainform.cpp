#include "editor/document/documentstate.h"
#include "editor/file/filedialog.h"
#include "editor/frame/coolbar.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/frame/statuspanels.h"
#include "editor/frame/toolbars.h"
#include "editor/htmlview/htmlview.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/termlistbox.h"
#include "editor/window/mainform.h"
#include "editor/window/windowoptions.h"
#include "editorservices.h"
#include "platform/settingskey.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {
QStringList captions(const QMenu *menu) {
    QStringList result;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            result.append(action->text());
    }
    return result;
}

QAction *findCommand(const QMenu *menu, const QString &caption) {
    for (QAction *action : menu->actions()) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}
} // namespace

// The editor window's composition, its creation sequence, the document name in the caption and
// the two window options.
class tst_MainForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    QList<int> m_waits;
    int m_splashHidden = 0;

    void open(const QString &commandLineFile = {}) {
        m_form.reset();
        m_services = std::make_unique<EditorServices>();
        MainFormContext context = m_services->context(*m_prompts);
        context.commandLineFile = commandLineFile;
        context.hideSplash = [this] { ++m_splashHidden; };
        context.wait = [this](int milliseconds) { m_waits.append(milliseconds); };
        m_form = std::make_unique<TMainForm>(context);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    QMenu *menuNamed(const QString &name) {
        if (name == QLatin1String("PopupMenu1"))
            return m_form->menus().PopupMenu1;
        return m_form->menuBar()->findChild<QMenu *>(name);
    }

private slots:
    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        open();
        m_waits.clear();
        m_splashHidden = 0;
    }

    void cleanup() {
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
        m_form.reset();
        m_prompts.reset();
    }

    void newDocument() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Untitled - Quillet Vado"));
        QCOMPARE(m_form->status().text(TStatusPanels::Location), QStringLiteral("Untitled"));
        QCOMPARE(m_form->status().width(TStatusPanels::Location), 8 * 7);
        QCOMPARE(m_form->document().DocumentName, QStringLiteral("Untitled"));
        QCOMPARE(m_form->document().DocumentFolder, QString());
        QVERIFY(!m_form->StartedWithFile);
        QVERIFY(m_form->mode().RTFMode);
        QVERIFY(!m_form->Memo().Modified());
        QVERIFY(m_prompts->records().isEmpty());
    }

    void creationPausesForTheSplashAndHidesIt() {
        // This process claimed "Quillet" with the first window already, as the start-up does.
        open();
        QCOMPARE(m_waits, QList<int>{300});
        QCOMPARE(m_splashHidden, 1);
        m_waits.clear();
        m_form.reset();
        m_services = std::make_unique<EditorServices>();
        MainFormContext context = m_services->context(*m_prompts);
        context.wait = [this](int milliseconds) { m_waits.append(milliseconds); };
        m_form = std::make_unique<TMainForm>(context);
        QCOMPARE(m_waits, QList<int>{300});
    }

    void setDocumentName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("folder");
        QTest::addRow("Untitled") << "Untitled"
                                  << "Untitled - Quillet Vado"
                                  << "";
        QTest::addRow("full path") << "/home/ann/letters/report.rtf"
                                   << "report.rtf - Quillet Vado"
                                   << "/home/ann/letters/";
        QTest::addRow("blanks and non-ASCII") << "/tmp/Brief an Jürgen.txt"
                                              << "Brief an Jürgen.txt - Quillet Vado"
                                              << "/tmp/";
        QTest::addRow("percent signs") << "/tmp/%1 %2.txt"
                                       << "%1 %2.txt - Quillet Vado"
                                       << "/tmp/";
    }

    void setDocumentName() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, folder);
        TDocumentState &document = m_form->document();
        document.SetDocumentName(name);
        QCOMPARE(m_form->windowTitle(), caption);
        QCOMPARE(document.DocumentName, name);
        QCOMPARE(document.DocumentFolder, folder);
        QCOMPARE(document.OpenDialog.InitialDir, folder);
        QCOMPARE(document.OpenPictureDialog.InitialDir, folder);
        QCOMPARE(document.SaveDialog.InitialDir, folder);
        QCOMPARE(m_form->status().text(TStatusPanels::Location), name);
        QCOMPARE(m_form->status().width(TStatusPanels::Location), int(name.size()) * 7);
    }

    void longNameDoesNotWidenTheWindow() {
        const int width = m_form->width();
        m_form->document().SetDocumentName(QStringLiteral("/tmp/") +
                                           QString(300, QLatin1Char('n')));
        QCoreApplication::processEvents();
        QCOMPARE(m_form->width(), width);
        QVERIFY(m_form->minimumSizeHint().width() < 1000);
    }

    void commandLineFileNamesTheDocument() {
        // The file does not exist: the loader says so, and the name stays.
        m_prompts->answerButton(QMessageBox::Ok);
        open(QStringLiteral("/data/notes/todo.txt"));
        QVERIFY(m_form->StartedWithFile);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("todo.txt - Quillet Vado"));
        // The dialogs start in the start folder, not in the file's.
        QCOMPARE(m_form->document().OpenDialog.InitialDir, m_form->StartFolder);
        QCOMPARE(m_form->document().SaveDialog.InitialDir, m_form->StartFolder);
        QVERIFY(!m_form->Memo().Modified());
    }

    void statusPanels() {
        TStatusPanels &status = m_form->status();
        const QList<QLabel *> panels = status.StatusBar->findChildren<QLabel *>();
        QStringList names;
        for (const QLabel *panel : panels)
            names.append(panel->objectName());
        QCOMPARE(names, (QStringList{"Pos", "Date", "Location", "Comments", "Help"}));
        QCOMPARE(status.width(TStatusPanels::Pos), 70);
        QVERIFY(status.width(TStatusPanels::Date) >= 60);
        QVERIFY(status.label(TStatusPanels::Date)->width() >=
                status.label(TStatusPanels::Date)
                    ->fontMetrics()
                    .horizontalAdvance(status.text(TStatusPanels::Date)));
        QCOMPARE(status.width(TStatusPanels::Comments), 65);
        QCOMPARE(status.width(TStatusPanels::Help), 300);
        QCOMPARE(status.label(TStatusPanels::Date)->alignment(), Qt::AlignCenter);
        QCOMPARE(status.text(TStatusPanels::Date),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(status.label(TStatusPanels::Pos)->width(), 70);
    }

    // A sized panel keeps 7 pixels a character as its width but shows its whole text, and a
    // screen reader reads the text under the panel's fixed name.
    void statusPanelShowsWholeText() {
        TStatusPanels &status = m_form->status();
        status.setTextSized(TStatusPanels::Comments, QStringLiteral("6 words"));
        QCoreApplication::processEvents();
        QLabel *panel = status.label(TStatusPanels::Comments);
        QCOMPARE(status.width(TStatusPanels::Comments), 49);
        QVERIFY(panel->width() >= panel->fontMetrics().horizontalAdvance(panel->text()));
        QCOMPARE(panel->accessibleName(), QStringLiteral("Comments"));
        QCOMPARE(panel->accessibleDescription(), QStringLiteral("6 words"));
    }

    void hintLongPartGoesToHelpPanel() {
        QToolButton *next = m_form->toolBars().NextBut;
        QStatusTipEvent tip(next->statusTip());
        QCoreApplication::sendEvent(next, &tip);
        QCOMPARE(m_form->status().text(TStatusPanels::Help),
                 QStringLiteral("Next Picture or HTML Document"));
        QVERIFY(m_form->statusBar()->currentMessage().isEmpty());
        // A menu item under the mouse reports through the menu bar.
        m_form->actions().Send1->showStatusText(m_form->menuBar());
        QCOMPARE(m_form->status().text(TStatusPanels::Help),
                 QStringLiteral(" Send Plain Text in Mail"));
    }

    void layoutOfTheForm() {
        QCOMPARE(m_form->size(), QSize(829, 494));
        QCOMPARE(m_form->minimumSize(), QSize(500, 300));
        QCOMPARE(m_form->RulerPanel().height(), 27);
        QCOMPARE(m_form->ListPanel().width(), 185);
        QCOMPARE(m_form->Splitter1().handleWidth(), 2);
        QCOMPARE(m_form->EditPanel().count(), 2);
        QCOMPARE(m_form->EditPanel().currentWidget(), &m_form->Memo());
        QVERIFY(m_form->EditPanel().indexOf(&m_form->htmlLite1()) >= 0);
        QVERIFY(!m_form->ListBoxF().isHidden());
        QVERIFY(m_form->ListBoxT().isHidden());
        QVERIFY(m_form->ListPanel().isAncestorOf(&m_form->ListBoxT()));
        const TRxRichEdit &memo = m_form->Memo();
        QVERIFY(!memo.WordWrap());
        QVERIFY(!memo.HideSelection());
        QVERIFY(!memo.tabChangesFocus());
        QCOMPARE(memo.UndoLimit(), 100);
        QVERIFY(m_form->toolBars().FontCombo->count() > 0);
        QCOMPARE(m_form->toolBars().FontSizeBox->value(), 12);
    }

    void everyControlHasAnAccessibleName() {
        QStringList unnamed;
        const auto check = [&unnamed](QWidget *widget) {
            if (widget->accessibleName().trimmed().isEmpty())
                unnamed.append(widget->objectName() + QLatin1Char(' ') +
                               QLatin1String(widget->metaObject()->className()));
        };
        for (QToolButton *button : m_form->findChildren<QToolButton *>()) {
            // Qt's own extension arrows and scroll buttons are not ours to name.
            if (qobject_cast<QToolBar *>(button->parentWidget()) && button->defaultAction())
                check(button);
        }
        for (QWidget *widget : m_form->findChildren<QWidget *>()) {
            if (qobject_cast<QToolBar *>(widget) || qobject_cast<QComboBox *>(widget) ||
                qobject_cast<QSpinBox *>(widget) || qobject_cast<QListWidget *>(widget) ||
                qobject_cast<QSplitter *>(widget) || qobject_cast<QStackedWidget *>(widget) ||
                qobject_cast<QStatusBar *>(widget) || qobject_cast<TCoolBar *>(widget) ||
                widget->objectName().endsWith(QLatin1String("Panel")) ||
                widget->objectName() == QLatin1String("Panel1"))
                check(widget);
        }
        check(&m_form->Memo());
        check(&m_form->htmlLite1());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String(", "))));
    }

    void toolButtonsCarryTheShortHint_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::addRow("Last") << "Last"
                              << "Last";
        QTest::addRow("Next") << "Next"
                              << "Next";
        QTest::addRow("Undo, the button's own hint") << "Undo"
                                                     << "Undo";
        QTest::addRow("Spell check") << "Spell"
                                     << "Spell Check";
        QTest::addRow("Run program 5") << "CharMapButton"
                                       << "Run Program 5";
        QTest::addRow("Run program 6") << "PaintBut"
                                       << "Run Program 6";
        QTest::addRow("Centre") << "Middle"
                                << "MIddle";
    }

    void toolButtonsCarryTheShortHint() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        QToolButton *tool = m_form->findChild<QToolButton *>(button);
        if (!tool) {
            for (QToolButton *candidate : m_form->findChildren<QToolButton *>()) {
                if (candidate->defaultAction() &&
                    candidate->defaultAction()->text().remove(QLatin1Char('&')) == button)
                    tool = candidate;
            }
        }
        QVERIFY2(tool, qPrintable(button));
        QCOMPARE(tool->accessibleName(), name);
        QCOMPARE(tool->toolTip(), name);
    }

    void toolBarContents_data() {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QStringList>("buttons");
        QTest::addRow("ToolBar1") << "ToolBar1" << QStringList{"New", "Open", "Save", "Print"};
        QTest::addRow("ToolBar2") << "ToolBar2" << QStringList{"Cut",  "Copy",        "Paste",
                                                               "Last", "Stay on Top", "Next"};
        QTest::addRow("ToolBar6") << "ToolBar6"
                                  << QStringList{"Run Program 3", "Run Program 4", "Run Program 5",
                                                 "Run Program 6"};
        QTest::addRow("ToolBInsert") << "ToolBInsert"
                                     << QStringList{"Insert Date", "Insert TIme",
                                                    "Insert Text File", "Spell Check", "Word Wrap"};
        QTest::addRow("ToolBFormat1")
            << "ToolBFormat1"
            << QStringList{
                   "Bold",   "Italic", "Underscore", "Strike Out",      "Bullet",         "Left",
                   "MIddle", "Right",  "Justify",    "Increase Indent", "Decrease Indent"};
        QTest::addRow("ToolBFormat2")
            << "ToolBFormat2" << QStringList{"Font Dialog", "Uppercase", "Lowercase", "Superscript",
                                             "Subscript",   "FontColor", "BackColor"};
        QTest::addRow("ToolBar7") << "ToolBar7"
                                  << QStringList{"Undo", "Redo", "Find in Memo", "Exit"};
    }

    void toolBarContents() {
        QFETCH(QString, bar);
        QFETCH(QStringList, buttons);
        QToolBar *toolBar = m_form->findChild<QToolBar *>(bar);
        QVERIFY(toolBar);
        QStringList actual;
        for (QAction *action : toolBar->actions()) {
            if (!action->isSeparator())
                actual.append(toolBar->widgetForAction(action)->accessibleName());
        }
        QCOMPARE(actual, buttons);
    }

    void menus_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::addRow("File") << "File1" << QStringList{"&New",         "&Open",     "Open as Text",
                                                        "&Save",        "Save &As",  "Import",
                                                        "Export",       "Send Mail", "Page Dialog",
                                                        "Page Preview", "&Print",    "Exit",
                                                        "&1 name",      "&2 name",   "&3 name",
                                                        "&4 name"};
        QTest::addRow("Edit") << "EditMenu"
                              << QStringList{"Undo",       "Redo",         "Cut",
                                             "Copy",       "Paste",        "Paste Special",
                                             "&Find",      "FindNext",     "Replace",
                                             "SelectAll",  "Letter Style", "Word Count",
                                             "Stay on Top"};
        QTest::addRow("Format") << "Adjusments1" << QStringList{"Font",
                                                                "Lowercase",
                                                                "Uppercase",
                                                                "Font Color",
                                                                "Front Back Color",
                                                                "Back Color",
                                                                "Paragraph Settings",
                                                                "Numbering Style",
                                                                "Underscore Style",
                                                                "Word Wrap"};
        QTest::addRow("View") << "View1"
                              << QStringList{"No Splash Screen", "Don't start with textviewer",
                                             "No List",          "FileList Box",
                                             "Term Box",         "Text Modus",
                                             "RTF Mode",         "HTML & Picture Mode"};
        QTest::addRow("Insert") << "Insert1" << QStringList{"ToolBar Picture",   "Add Text File",
                                                            "Insert Page Break", "Insert Picture",
                                                            "Insert Date",       "Insert Time",
                                                            "Insert File Name",  "Object",
                                                            "ObjectProperties"};
        QTest::addRow("Insert Date") << "InsertDate1"
                                     << QStringList{"01.01",
                                                    "Jan 2000",
                                                    "01.01.01",
                                                    "01.Jan.00",
                                                    "01.01.2000",
                                                    "Oct 13th 2001",
                                                    "13.Oct.2001 ",
                                                    "Sat 13 October 2001",
                                                    "Saturday 13 October 2001 "};
        QTest::addRow("Insert File Name")
            << "InsertFileName1"
            << QStringList{"FileName", "FileName 8_3", "FilePath", "FilePath 8_3"};
        QTest::addRow("Run") << "RunMenu"
                             << QStringList{"Run Locations",
                                            "Open current file with Editor1",
                                            "Open current file with Editor2",
                                            "Encrypt",
                                            "Decrypt",
                                            "Spell Check"};
        QTest::addRow("Help") << "Help1" << QStringList{"&About...", "Help"};
        QTest::addRow("Popup") << "PopupMenu1"
                               << QStringList{"Cut",
                                              "Copy",
                                              "Paste",
                                              "Select All",
                                              "Add to Term Box",
                                              "Delete Term ",
                                              "Clear Text Term List",
                                              "Clear File ListBox"};
    }

    void menus() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QMenu *found = menuNamed(menu);
        QVERIFY(found);
        QCOMPARE(captions(found), items);
        if (menu == QLatin1String("PopupMenu1"))
            QCOMPARE(found->actions().size(), items.size());
    }

    void shortcutsAndInitialState_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("checked");
        const QKeySequence none;
        QTest::addRow("New") << "File1"
                             << "&New" << QKeySequence("Ctrl+N") << true << false;
        QTest::addRow("Open") << "File1"
                              << "&Open" << QKeySequence("Ctrl+O") << true << false;
        QTest::addRow("Save") << "File1"
                              << "&Save" << QKeySequence("Ctrl+S") << true << false;
        QTest::addRow("Print") << "File1"
                               << "&Print" << QKeySequence("Ctrl+P") << true << false;
        QTest::addRow("Exit") << "File1"
                              << "Exit" << QKeySequence("Ctrl+Q") << true << false;
        QTest::addRow("recent file") << "File1"
                                     << "&1 name" << none << false << false;
        QTest::addRow("Cut") << "EditMenu"
                             << "Cut" << QKeySequence("Ctrl+X") << true << false;
        QTest::addRow("Copy") << "EditMenu"
                              << "Copy" << QKeySequence("Ctrl+C") << true << false;
        QTest::addRow("Paste") << "EditMenu"
                               << "Paste" << QKeySequence("Ctrl+V") << true << false;
        QTest::addRow("SelectAll") << "EditMenu"
                                   << "SelectAll" << QKeySequence("Ctrl+A") << true << false;
        QTest::addRow("Word Wrap") << "Adjusments1"
                                   << "Word Wrap" << QKeySequence("Ctrl+W") << true << false;
        QTest::addRow("FileList Box") << "View1"
                                      << "FileList Box" << none << true << true;
        QTest::addRow("RTF Mode") << "View1"
                                  << "RTF Mode" << none << true << true;
        QTest::addRow("Text Modus") << "View1"
                                    << "Text Modus" << none << true << false;
        QTest::addRow("Insert Page Break") << "Insert1"
                                           << "Insert Page Break" << none << false << false;
    }

    void shortcutsAndInitialState() {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, visible);
        QFETCH(bool, checked);
        QAction *command = findCommand(menuNamed(menu), caption);
        QVERIFY(command);
        QCOMPARE(command->shortcut(), shortcut);
        QCOMPARE(command->isVisible(), visible);
        QCOMPARE(command->isChecked(), checked);
    }

    void commandsNobodyHandlesAreDisabled() {
        TEditorActions &a = m_form->actions();
        QStringList wrong;
        for (QAction *action : a.all()) {
            if (!action->isSeparator() && !a.isRouted(action) && action->isEnabled())
                wrong.append(action->text());
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String(", "))));
        QVERIFY(a.MenuPlainText->isEnabled());
        QVERIFY(a.StayTopAction->isEnabled());
        QVERIFY(a.ToolBarPicture1->isEnabled());
    }

    void checkableCommandsLeaveTheirMarkToTheHandler() {
        TEditorActions &a = m_form->actions();
        QVERIFY(!a.ShowSplash1->isChecked());
        a.ShowSplash1->setEnabled(true);
        // The handler inverts the mark once; a mark the action flipped too would undo that.
        a.ShowSplash1->trigger();
        QVERIFY(a.ShowSplash1->isChecked());
    }

    // An accessibility client's Toggle does what a click on the button does.
    void accessibleToggleAppliesTheFormat_data() {
        QTest::addColumn<QString>("button");
        QTest::addRow("Bold") << "Bold";
        QTest::addRow("Italic") << "Italic";
        QTest::addRow("Right") << "Right";
    }
    void accessibleToggleAppliesTheFormat() {
        QFETCH(QString, button);
        TRxRichEdit &memo = m_form->Memo();
        memo.SetText(QStringLiteral("plain words"));
        memo.SelectRange(0, 5, false);
        QToolButton *tool = nullptr;
        for (QToolButton *candidate : m_form->findChildren<QToolButton *>())
            if (candidate->accessibleName() == button)
                tool = candidate;
        QVERIFY(tool);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(tool);
        QVERIFY(accessible && accessible->actionInterface());
        QVERIFY(accessible->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCoreApplication::processEvents();
        memo.SelectRange(1, 2, false);
        if (button == QLatin1String("Bold"))
            QVERIFY(memo.SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
        else if (button == QLatin1String("Italic"))
            QVERIFY(memo.SelAttributes().Style().testFlag(TRxTextAttributes::fsItalic));
        else
            QCOMPARE(memo.Paragraph().Alignment(), int(TRxParaAttributes::taRightJustify));
        QVERIFY(tool->isChecked());
        QVERIFY(tool->defaultAction()->isChecked());
    }

    // The editing area's popup menu is offered to accessibility clients: the area's ShowMenu
    // pops it up as a right click does, and while shown it is the area's child, its items named
    // and enabled as the menu's own.
    void popupMenuIsOfferedToAccessibilityClients() {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        TRxRichEdit &memo = m_form->Memo();
        memo.SetText(QStringLiteral("plain words"));
        memo.SelectRange(0, 5, false);
        QAccessibleInterface *area = QAccessible::queryAccessibleInterface(&memo);
        QVERIFY(area && area->actionInterface() && area->textInterface());
        QCOMPARE(area->textInterface()->text(0, 5), QStringLiteral("plain"));
        QVERIFY(area->state().hasPopup);
        const int children = area->childCount();
        QVERIFY(area->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::showMenuAction()));
        area->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QMenu *menu = memo.PopupMenu();
        QTRY_VERIFY(menu && menu->isVisible());
        QCOMPARE(area->childCount(), children + 1);
        QAccessibleInterface *shown = area->child(children);
        QVERIFY(shown);
        QCOMPARE(shown->role(), QAccessible::PopupMenu);
        QCOMPARE(area->indexOfChild(shown), children);
        QCOMPARE(shown->childCount(), menu->actions().size());
        for (int i = 0; i < shown->childCount(); ++i) {
            QAction *action = menu->actions().at(i);
            if (action->isSeparator())
                continue;
            QAccessibleInterface *item = shown->child(i);
            QCOMPARE(item->text(QAccessible::Name), action->text().remove(QLatin1Char('&')));
            QCOMPARE(!item->state().disabled, action->isEnabled());
        }
        menu->hide();
        QCOMPARE(area->childCount(), children);
    }

    // Each family once, by its own name; a face the machine lacks is still named at the caret.
    void fontBoxNamesFamiliesAndTheDocumentsFace() {
        QComboBox *box = m_form->toolBars().FontCombo;
        QVERIFY(box->count() > 0);
        QSet<QString> seen;
        for (int i = 0; i < box->count(); ++i) {
            const QString family = box->itemText(i);
            QVERIFY2(!family.endsWith(QLatin1Char(']')), qPrintable(family));
            QVERIFY2(!seen.contains(family.toLower()), qPrintable(family));
            seen.insert(family.toLower());
        }
        TRxRichEdit &memo = m_form->Memo();
        memo.SetText(QStringLiteral("missing face"));
        memo.SelectRange(0, 7, false);
        memo.SelAttributes().SetName(QStringLiteral("No Such Face Anywhere"));
        memo.SelectRange(2, 2, false);
        QTRY_COMPARE(box->currentText(), QStringLiteral("No Such Face Anywhere"));
        QCOMPARE(box->currentIndex(), -1);
        QVERIFY(box->toolTip().startsWith(QStringLiteral("Font (drawn with ")));
        QCOMPARE(box->accessibleName(), QStringLiteral("Font"));
        memo.SelectRange(9, 9, false);
        QTRY_VERIFY(box->currentText() != QStringLiteral("No Such Face Anywhere"));
    }

    // Filling the box at start-up must not replace the face the opened document's caret shows.
    void fontBoxShowsTheOpenedDocumentsFace() {
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("face.rtf"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi{\\fonttbl{\\f0\\froman No Such Face Anywhere;}}\\f0 Hello\\par}");
        file.close();
        open(name);
        QCOMPARE(m_form->toolBars().FontCombo->currentText(),
                 QStringLiteral("No Such Face Anywhere"));
    }

    void fileListStartsInTheStoredStartFolder() {
        QTemporaryDir start;
        QFile(start.filePath(QStringLiteral("listed.txt"))).open(QIODevice::WriteOnly);
        {
            SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
            store.writeString(QuilletSettingsKey, QStringLiteral("Initial Dir"), start.path());
        }
        open();
        const QString folder = start.path() + QLatin1Char('/');
        QCOMPARE(m_form->StartFolder, folder);
        QCOMPARE(QDir(m_form->ListBoxF().folder()).absolutePath(),
                 QDir(start.path()).absolutePath());
        QCOMPARE(m_form->document().OpenDialog.InitialDir, folder);
        {
            SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
            store.writeString(QuilletSettingsKey, QStringLiteral("Initial Dir"), QString());
        }
        open();
        QCOMPARE(m_form->StartFolder, QStringLiteral("/"));
    }

    void resizingKeepsTheModifiedFlag_data() {
        QTest::addColumn<bool>("textMode");
        QTest::addColumn<bool>("modified");
        QTest::addRow("RTF, unchanged") << false << false;
        QTest::addRow("RTF, changed") << false << true;
        QTest::addRow("text, unchanged") << true << false;
        QTest::addRow("text, changed") << true << true;
    }

    void resizingKeepsTheModifiedFlag() {
        QFETCH(bool, textMode);
        QFETCH(bool, modified);
        TRxRichEdit &memo = m_form->Memo();
        memo.SetText(QStringLiteral("some text\r\nin two lines"));
        if (textMode)
            m_form->actions().MenuPlainText->trigger();
        if (modified) {
            memo.SelectRange(0, 0, false);
            QTest::keyClicks(&memo, QStringLiteral("x"));
        }
        memo.SetModified(modified);
        for (const QSize size : {QSize(600, 400), QSize(1000, 700), QSize(829, 494)}) {
            m_form->resize(size);
            QCoreApplication::processEvents();
            QCOMPARE(memo.Modified(), modified);
        }
    }

    void toolBarPicture_data() {
        QTest::addColumn<QString>("choice"); // "cancel", "bitmap" or "broken"
        QTest::addColumn<bool>("taken");
        QTest::addRow("cancelled") << "cancel" << false;
        QTest::addRow("a bitmap") << "bitmap" << true;
        QTest::addRow("not a picture") << "broken" << false;
    }

    void toolBarPicture() {
        QFETCH(QString, choice);
        QFETCH(bool, taken);
        QTemporaryDir folder;
        const QString stored = folder.filePath(QStringLiteral("stored.bmp"));
        QImage(8, 8, QImage::Format_RGB32).save(stored, "BMP");
        TWindowOptions &options = m_form->windowOptions();
        options.LoadToolBarPicture(stored);
        options.ToolBarPic = stored;
        const qint64 storedKey = m_form->toolBars().CoolBar1->backgroundBitmap().cacheKey();

        QString chosen;
        if (choice == QLatin1String("bitmap")) {
            chosen = folder.filePath(QStringLiteral("wood.bmp"));
            QImage image(16, 4, QImage::Format_RGB32);
            image.fill(Qt::darkYellow);
            QVERIFY(image.save(chosen, "BMP"));
        } else if (choice == QLatin1String("broken")) {
            chosen = folder.filePath(QStringLiteral("broken.bmp"));
            QFile file(chosen);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("BM this is no bitmap");
        }
        m_prompts->answerOpen(chosen.isEmpty() ? QStringList{} : QStringList{chosen});
        if (choice == QLatin1String("broken"))
            m_prompts->answerButton(QMessageBox::Ok);

        m_form->actions().ToolBarPicture1->trigger();

        const ScriptedPrompts::Record &dialog = m_prompts->records().first();
        QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(dialog.filters,
                 QStringList{QStringLiteral("Windows Bitmaps (*.bmp) (*.BMP *.bmp)")});
        QCOMPARE(options.ToolBarPic, taken ? chosen : stored);
        const QPixmap &shown = m_form->toolBars().CoolBar1->backgroundBitmap();
        if (taken)
            QCOMPARE(shown.size(), QSize(16, 4));
        else
            QCOMPARE(shown.cacheKey(), storedKey);
        if (choice == QLatin1String("broken")) {
            QCOMPARE(m_prompts->records().size(), 2);
            QCOMPARE(m_prompts->records().at(1).text, QStringLiteral("Bitmap image is not valid"));
            QCOMPARE(m_prompts->records().at(1).icon, QMessageBox::Critical);
        }
        // The filter stays for later uses of the picture dialog.
        QCOMPARE(m_form->document().OpenPictureDialog.Filter, dialog.filters);
    }

    void stayOnTop() {
        QAction *command = m_form->actions().StayTopAction;
        QCOMPARE(m_form->toolBars().StayOnTopBut->defaultAction(), command);
        const QSize size(700, 450);
        m_form->resize(size);
        QCoreApplication::processEvents();
        for (const bool onTop : {true, false}) {
            command->trigger();
            QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
            QCOMPARE(command->isChecked(), onTop);
            QCOMPARE(m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            QCOMPARE(m_form->size(), size);
            QVERIFY(m_form->isVisible());
        }
    }

    void fileFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("one entry, trailing bar")
            << "Windows Bitmaps (*.bmp)|*.BMP|"
            << QStringList{"Windows Bitmaps (*.bmp) (*.BMP *.bmp)"};
        QTest::addRow("several entries")
            << "Richtext files (*.rtf)|*.RTF|Text files (*.txt)|*.TXT|All files (*.*)|*.*"
            << QStringList{"Richtext files (*.rtf) (*.RTF *.rtf)",
                           "Text files (*.txt) (*.TXT *.txt)", "All files (*.*) (*.*)"};
        QTest::addRow("comma and semicolon")
            << "HTML Files (*.htm)|*.htm,*.html|Graphic|*.jpg;*.gif"
            << QStringList{"HTML Files (*.htm) (*.htm *.HTM *.html *.HTML)",
                           "Graphic (*.jpg *.JPG *.gif *.GIF)"};
        QTest::addRow("empty") << "" << QStringList{};
        QTest::addRow("description without patterns") << "Nothing|" << QStringList{};
    }

    void fileFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(qtFileFilters(filter), expected);
    }
};

QUILLET_TEST_MAIN(tst_MainForm)
#include "tst_mainform.moc"
