#include "editor/frame/mainmenu.h"

#include "editor/frame/editoractions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
QMenu *addMenu(QMenuBar *bar, const QString &title, const char *name) {
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}
} // namespace

TMainMenu::TMainMenu(QWidget &window, TEditorActions &a) {
    MainMenu = new QMenuBar(&window);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));

    File1 = addMenu(MainMenu, QStringLiteral("&File"), "File1");
    File1->addActions({a.NewAction, a.OpenAction, a.OpenasTextonly1, a.SaveAction, a.SaveAsAction});
    File1->addSeparator();
    File1->addActions({a.mmopen1, a.mmsave1});
    File1->addSeparator();
    File1->addAction(a.Send1);
    File1->addSeparator();
    File1->addActions({a.PrinterSetup, a.PagePreview1, a.PrintAction});
    File1->addSeparator();
    File1->addAction(a.ExitAction);
    File1->addActions({a.FileSep2, a.FileName1, a.FileName2, a.FileName3, a.FileName4});

    EditMenu = addMenu(MainMenu, QStringLiteral("&Edit"), "EditMenu");
    EditMenu->addActions({a.UndoAction, a.RedoAction});
    EditMenu->addSeparator();
    EditMenu->addActions({a.CutAction, a.CopyAction, a.PasteAction, a.PasteSpecial});
    EditMenu->addSeparator();
    EditMenu->addActions({a.FindAction, a.FindNextAction, a.ReplaceAction, a.SelectAllAction});
    EditMenu->addSeparator();
    EditMenu->addActions({a.MenuLetterStyle, a.WordCount1});
    EditMenu->addSeparator();
    EditMenu->addAction(a.StayTopAction);

    Adjusments1 = addMenu(MainMenu, QStringLiteral("F&ormat"), "Adjusments1");
    Adjusments1->addActions({a.FontAction, a.LowerAction, a.UpperAction});
    Adjusments1->addSeparator();
    Adjusments1->addActions({a.FontColorAction, a.BackColorAction, a.BckgndAction});
    Adjusments1->addSeparator();
    Adjusments1->addActions({a.FormatParaAttributes, a.NumberingStyle1, a.UnderscoreStyle1});
    Adjusments1->addSeparator();
    Adjusments1->addAction(a.WWAction);

    View1 = addMenu(MainMenu, QStringLiteral("&View"), "View1");
    View1->addActions({a.ShowSplash1, a.StartTV});
    View1->addSeparator();
    View1->addActions({a.NoListMenu, a.FileListBoxMenu, a.ListBoxMenu});
    View1->addSeparator();
    View1->addActions({a.MenuPlainText, a.MenuPlainRTF, a.HTMLPictureMode1});

    Insert1 = addMenu(MainMenu, QStringLiteral("&Insert"), "Insert1");
    Insert1->addAction(a.ToolBarPicture1);
    Insert1->addSeparator();
    Insert1->addActions({a.AddTxtFileAction, a.PageBreakAction, a.InsPicAction});
    InsertDate1 = Insert1->addMenu(QStringLiteral("Insert Date"));
    InsertDate1->setObjectName(QStringLiteral("InsertDate1"));
    InsertDate1->addActions({a.N01011, a.Jan20002, a.N0101011, a.N01Jan20001, a.N010120001,
                             a.Oct13th20011, a.Jan20001, a.January20001, a.Mo1thJanuary20011});
    Insert1->addAction(a.InsTimeAction);
    InsertFileName1 = Insert1->addMenu(QStringLiteral("Insert File Name"));
    InsertFileName1->setObjectName(QStringLiteral("InsertFileName1"));
    InsertFileName1->addActions({a.FileName5, a.FileName831, a.FilePath1, a.FilePath831});
    Insert1->addSeparator();
    Insert1->addActions({a.Object1, a.ObjectProperties1});

    RunMenu = addMenu(MainMenu, QStringLiteral("&Run"), "RunMenu");
    RunMenu->addActions(
        {a.RunLocations1, a.OpencurrentfilewithEditor11, a.OpencurrentfilewithEditor1});
    RunMenu->addSeparator();
    RunMenu->addActions({a.Encrypt1, a.Decrypt1});
    RunMenu->addSeparator();
    RunMenu->addAction(a.SpellAction);

    Help1 = addMenu(MainMenu, QStringLiteral("&Help"), "Help1");
    Help1->addActions({a.HelpAbout, a.HelpMenu});

    PopupMenu1 = new QMenu(&window);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    // Items are reached by position too, so no separators in between.
    PopupMenu1->addActions({a.PoPCut, a.PoPCopy, a.PoPPaste, a.PoPSelectAll, a.AddToListBox1,
                            a.DeleteListBoxEntry1, a.ClearallListMenu, a.ClearFileListBox1});
}

void TMainMenu::setMenuEnabled(QMenu *menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
    menu->setEnabled(enabled);
}

bool TMainMenu::isMenuEnabled(const QMenu *menu) {
    return menu->menuAction()->isEnabled();
}
