#include "editor/frame/editoractions.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/sidepanel.h"
#include "editor/sidepanel/sidepanelhost.h"
#include "editor/sidepanel/termfile.h"
#include "editor/sidepanel/termlistbox.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The window as the side panel sees it. Opening a file does what the window's loader does for
// the panel: take the name, show its folder in the file list and move the highlight.
class FakeHost : public SidePanelHost {
public:
    TSidePanel *panel = nullptr;
    QString name = QStringLiteral("Untitled");
    bool modified = false;
    bool editing = true;
    bool startedWithFile = false;
    bool answerSave = true;
    QString selection;
    QStringList replaced;
    QStringList opened;
    int saveQuestions = 0;
    int focusCount = 0;

    QString documentName() const override { return name; }
    QString documentFolder() const override {
        return name == QLatin1String("Untitled") ? QString() : name.left(name.lastIndexOf('/') + 1);
    }
    bool isModified() const override { return modified; }
    bool isEditing() const override { return editing; }
    QString selectedText() const override { return selection; }
    void replaceSelection(const QString &text) override { replaced << text; }
    void focusMemo() override { ++focusCount; }
    bool askSaveChanges() override {
        ++saveQuestions;
        return answerSave;
    }
    void openFile(const QString &path) override {
        opened << path;
        name = path;
        modified = false;
        if (path.isEmpty())
            return; // the loader reports that it cannot load an empty name
        panel->ShowDocumentFolder();
        if (!startedWithFile)
            panel->SyncFileListSelection();
    }
};

// The controls of the window that the panel works on.
struct Window {
    QWidget window;
    ScriptedPrompts prompts;
    TEditorActions *actions = new TEditorActions(window, prompts);
    TEditorActions &a = *actions;
    QSplitter *splitter = new QSplitter(&window);
    QWidget *editPanel = new QWidget;
    QWidget *listPanel = new QWidget;
    FileListBox *listBoxF = new FileListBox;
    TermListBox *listBoxT = new TermListBox;
    QMenu popup;
    FakeHost host;
    std::unique_ptr<TSidePanel> panel;

    explicit Window(const QString &termFile) {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(splitter);
        splitter->addWidget(editPanel);
        splitter->addWidget(listPanel);
        auto *lists = new QGridLayout(listPanel);
        lists->addWidget(listBoxF, 0, 0);
        lists->addWidget(listBoxT, 0, 0);
        listBoxT->hide();
        popup.addActions({a.PoPCut, a.PoPCopy, a.PoPPaste, a.PoPSelectAll, a.AddToListBox1,
                          a.DeleteListBoxEntry1, a.ClearallListMenu, a.ClearFileListBox1});
        // The editing commands belong to another concern; here they only need to be usable.
        for (QAction *command : {a.PoPCut, a.PoPCopy, a.PoPPaste, a.PoPSelectAll, a.CopyAction})
            a.route(command, this, &Window::nothing);
        panel = std::make_unique<TSidePanel>(SidePanelContext{host, prompts, window, a, popup,
                                                              *splitter, *listPanel, *listBoxF,
                                                              *listBoxT, termFile, termFile});
        host.panel = panel.get();
        window.resize(829, 494);
    }

    void nothing() {}

    // The enabled popup items by their captions.
    QStringList enabledPopupItems() {
        emit popup.aboutToShow();
        QStringList enabled;
        for (QAction *item : popup.actions())
            if (item->isEnabled())
                enabled << item->text();
        return enabled;
    }
};

void touch(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

// The side panel: its three states, the term box and its file, the file list, and browsing the
// folder with Last and Next.
class tst_SidePanel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder;

    QString termFile() const { return m_dir.filePath(QStringLiteral("TxtTmpl.txt")); }
    QString pic(const char *name) const { return m_folder + QLatin1String(name); }

private slots:
    void initTestCase() {
        m_folder = m_dir.filePath(QStringLiteral("pics")) + QLatin1Char('/');
        QDir().mkpath(m_folder);
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            touch(pic(name));
    }

    void init() { QFile::remove(termFile()); }

    void switchesBetweenTheThreeStates() {
        Window w(termFile());
        w.window.show();
        QCOMPARE(w.panel->ListBoxStatus(), 1);

        w.a.ListBoxMenu->trigger();
        QCOMPARE(w.panel->ListBoxStatus(), 2);
        QVERIFY(w.listPanel->isVisible());
        QVERIFY(w.listBoxT->isVisible());
        QVERIFY(!w.listBoxF->isVisible());
        QVERIFY(w.a.ListBoxMenu->isChecked());

        // "No List" hides the panel and leaves the lists as they were.
        w.a.NoListMenu->trigger();
        QCOMPARE(w.panel->ListBoxStatus(), 0);
        QVERIFY(!w.listPanel->isVisible());
        QVERIFY(!w.listBoxT->isHidden());
        QVERIFY(w.listBoxF->isHidden());
        QVERIFY(w.a.NoListMenu->isChecked());
        QVERIFY(w.a.AddToListBox1->isEnabled());

        w.a.FileListBoxMenu->trigger();
        QCOMPARE(w.panel->ListBoxStatus(), 1);
        QVERIFY(w.listPanel->isVisible());
        QVERIFY(w.listBoxF->isVisible());
        QVERIFY(!w.listBoxT->isVisible());
    }

    void storedStates_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("panelShown");
        QTest::addRow("no list") << 0 << 0 << false;
        QTest::addRow("file list") << 1 << 1 << true;
        QTest::addRow("term box") << 2 << 2 << true;
        QTest::addRow("7 counts as no list") << 7 << 0 << false;
        QTest::addRow("-1 counts as no list") << -1 << 0 << false;
    }
    void storedStates() {
        QFETCH(int, stored);
        QFETCH(int, status);
        QFETCH(bool, panelShown);
        Window w(termFile());
        w.window.show();
        w.panel->ApplyListBoxStatus(stored);
        QCOMPARE(w.panel->ListBoxStatus(), status);
        QCOMPARE(w.listPanel->isVisible(), panelShown);
    }

    void panelComesBackAtTheWidthTheUserGaveIt() {
        Window w(termFile());
        w.window.show();
        w.splitter->setSizes({500, 250});
        const int width = w.listPanel->width();
        w.panel->ShowNoList();
        QVERIFY(w.editPanel->width() > 500);
        w.panel->ShowTermBox();
        QCOMPARE(w.listPanel->width(), width);
    }

    void doubleClickInsertsTheTermWithBlanks() {
        Window w(termFile());
        w.listBoxT->setTerms({"Dear Sir", "Yours"});
        w.panel->ListBoxTDblClick(); // nothing selected
        QVERIFY(w.host.replaced.isEmpty());

        w.listBoxT->setCurrentRow(0);
        w.panel->ListBoxTDblClick();
        QCOMPARE(w.host.replaced, QStringList{" Dear Sir "});
        QCOMPARE(w.host.focusCount, 1);

        w.host.editing = false; // HTML and picture mode
        w.panel->ListBoxTDblClick();
        QCOMPARE(w.host.replaced.size(), 1);
    }

    // A term of two paragraphs is one term until the window is opened again: then it is two.
    // An empty selection gives an empty term, which survives the restart.
    void termsSurviveARestartLineByLine() {
        {
            Window w(termFile());
            w.panel->LoadTerms();
            QVERIFY(w.listBoxT->terms().isEmpty());
            w.host.selection = QStringLiteral("First paragraph\r\nSecond paragraph");
            w.a.AddToListBox1->trigger();
            w.host.selection.clear();
            w.a.AddToListBox1->trigger();
            QCOMPARE(w.listBoxT->count(), 2);
            QVERIFY(w.panel->SaveTerms());
        }
        Window again(termFile());
        again.panel->LoadTerms();
        QCOMPARE(again.listBoxT->terms(),
                 (QStringList{"First paragraph", "Second paragraph", QString()}));
    }

    void deleteAndClear() {
        Window w(termFile());
        w.listBoxT->setTerms({"one", "two", "three"});
        w.a.DeleteListBoxEntry1->trigger(); // none selected
        QCOMPARE(w.listBoxT->count(), 3);
        w.listBoxT->setCurrentRow(1);
        w.a.DeleteListBoxEntry1->trigger();
        QCOMPARE(w.listBoxT->terms(), (QStringList{"one", "three"}));
        w.a.ClearallListMenu->trigger();
        QVERIFY(w.panel->SaveTerms());
        QVERIFY(QFileInfo::exists(termFile()));
        QCOMPARE(QFileInfo(termFile()).size(), 0);
    }

    void leavingTheTermListSavesInEditingModesOnly() {
        Window w(termFile());
        w.listBoxT->setTerms({"kept"});
        w.host.editing = false;
        emit w.listBoxT->exited();
        QVERIFY(!QFileInfo::exists(termFile()));
        w.host.editing = true;
        emit w.listBoxT->exited();
        QCOMPARE(TermFile::load(termFile()), QStringList{"kept"});
    }

    void aTermFileThatCannotBeWrittenIsReported() {
        const QString blocked = m_dir.filePath(QStringLiteral("blocked"));
        QDir().mkpath(blocked + QStringLiteral("/TxtTmpl.txt"));
        Window w(blocked + QStringLiteral("/TxtTmpl.txt"));
        w.listBoxT->setTerms({"x"});
        QVERIFY(!w.panel->SaveTerms());
        QCOMPARE(w.prompts.records().size(), 1);
        QCOMPARE(w.prompts.records().first().icon, QMessageBox::Critical);
        QVERIFY(w.prompts.records().first().text.startsWith(QStringLiteral("Cannot create file")));
    }

    void popupMenuOffersWhatFitsWhereItOpens() {
        Window w(termFile());
        w.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.panel->ShowTermBox();
        w.listBoxT->setTerms({"a"});

        w.a.setAllowed(w.a.CopyAction, true);
        w.listBoxT->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(w.listBoxT->hasFocus());
        QCOMPARE(w.enabledPopupItems(),
                 (QStringList{"Delete Term ", "Clear Text Term List", "Clear File ListBox"}));

        w.editPanel->setFocusPolicy(Qt::StrongFocus);
        w.editPanel->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(w.editPanel->hasFocus());
        QCOMPARE(w.enabledPopupItems(),
                 (QStringList{"Cut", "Copy", "Paste", "Select All", "Add to Term Box",
                              "Clear Text Term List", "Clear File ListBox"}));
        w.a.setAllowed(w.a.CopyAction, false);
        QCOMPARE(w.enabledPopupItems(),
                 (QStringList{"Paste", "Select All", "Add to Term Box", "Clear Text Term List",
                              "Clear File ListBox"}));

        // After "No List" the term box is still set visible and can take terms.
        w.panel->ShowNoList();
        QVERIFY(w.enabledPopupItems().contains(QStringLiteral("Add to Term Box")));
        w.panel->ShowFileList();
        QVERIFY(!w.enabledPopupItems().contains(QStringLiteral("Add to Term Box")));
    }

    void fileListOpensTheSelectedFile() {
        Window w(termFile());
        w.window.show();
        w.panel->SetFileListFolder(m_folder);
        w.listBoxF->setCurrentRow(1);

        w.host.modified = true;
        w.host.answerSave = false; // Cancel
        emit w.listBoxF->fileDoubleClicked();
        QCOMPARE(w.host.saveQuestions, 1);
        QVERIFY(w.host.opened.isEmpty());

        w.host.answerSave = true;
        emit w.listBoxF->fileDoubleClicked();
        QCOMPARE(w.host.opened, QStringList{pic("b.jpg")});
        // Opened from the list, its entry is highlighted.
        QCOMPARE(w.listBoxF->currentRow(), 1);
        QCOMPARE(w.listBoxF->selectedPath(), pic("b.jpg"));

        QTest::keyClick(w.listBoxF, Qt::Key_Return);
        QCOMPARE(w.host.opened.size(), 2);
        QCOMPARE(w.host.opened.last(), pic("b.jpg"));
    }

    // a.jpg, b.jpg and c.jpg with b.jpg open: Next opens c.jpg, then wraps to a.jpg; Last from
    // a.jpg wraps to c.jpg. The highlight follows.
    void nextAndLastWalkTheFolder() {
        Window w(termFile());
        w.window.show();
        w.host.openFile(pic("b.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 1);

        w.a.Next->trigger();
        QCOMPARE(w.host.name, pic("c.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 2);
        w.a.Next->trigger();
        QCOMPARE(w.host.name, pic("a.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 0);
        w.a.Last->trigger();
        QCOMPARE(w.host.name, pic("c.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 2);
        w.a.Last->trigger();
        QCOMPARE(w.host.name, pic("b.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 1);
        QCOMPARE(w.host.saveQuestions, 0);
    }

    void stepsAskBeforeChangesAreLost() {
        Window w(termFile());
        w.host.openFile(pic("a.jpg"));
        w.host.modified = true;
        w.host.answerSave = false;
        w.a.Next->trigger();
        QCOMPARE(w.host.name, pic("a.jpg"));
        QCOMPARE(w.host.saveQuestions, 1);
        w.host.answerSave = true;
        w.a.Next->trigger();
        QCOMPARE(w.host.name, pic("b.jpg"));
    }

    void highlightStaysWhileTheFileListIsNotShown() {
        Window w(termFile());
        w.window.show();
        w.host.openFile(pic("a.jpg"));
        w.panel->ShowTermBox();
        w.a.Next->trigger();
        QCOMPARE(w.host.name, pic("b.jpg"));
        QCOMPARE(w.listBoxF->currentRow(), 0);
    }

    void clearingTheFileListStopsBrowsing() {
        Window w(termFile());
        w.window.show();
        w.host.openFile(pic("b.jpg"));
        w.a.ClearFileListBox1->trigger();
        QCOMPARE(w.listBoxF->count(), 0);
        QVERIFY(w.panel->pathList().isEmpty());
        w.a.Next->trigger();
        w.a.Last->trigger();
        QCOMPARE(w.host.opened, QStringList{pic("b.jpg")});

        // Enter on the empty list hands the loader an empty name, which it reports.
        QTest::keyClick(w.listBoxF, Qt::Key_Enter);
        QCOMPARE(w.host.opened.last(), QString());
    }

    void startFolderDoesNotFillThePathList() {
        Window w(termFile());
        w.panel->SetFileListFolder(m_folder);
        QCOMPARE(w.listBoxF->count(), 3);
        QVERIFY(w.panel->pathList().isEmpty());
        w.a.Next->trigger();
        QVERIFY(w.host.opened.isEmpty());
    }
};

QUILLET_TEST_MAIN(tst_SidePanel)
#include "tst_sidepanel.moc"
