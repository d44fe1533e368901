#include "editor/document/documentstate.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/htmlview/htmlview.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/sidepanel.h"
#include "editor/sidepanel/termfile.h"
#include "editor/sidepanel/termlistbox.h"
#include "editor/window/editorsettings.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The side panel inside the editor window: its state at start, the term box against the real
// editing area and modes, the term file across a restart, and the popup menu.
class tst_SidePanelWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_programFolder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    RecordingShell m_shell;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;

    QString termFile() const { return m_programFolder->filePath(QStringLiteral("TxtTmpl.txt")); }

    // A folder of three real pictures, a.jpg, b.jpg and c.jpg, and a program.
    QString pictures() {
        const QString folder = m_programFolder->filePath(QStringLiteral("pics")) + '/';
        QDir().mkpath(folder);
        QImage image(64, 48, QImage::Format_RGB32);
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
            image.fill(QColor::fromHsv(name[0] * 40 % 360, 200, 200));
            image.save(folder + QLatin1String(name), "jpg");
        }
        QFile program(folder + QStringLiteral("d.exe"));
        program.open(QIODevice::WriteOnly);
        return folder;
    }

    QString shown() const { return m_form->htmlLite1().shownFile(); }
    int highlighted() const { return m_form->ListBoxF().currentRow(); }

    static NamedMutex::Claim firstProcess(const QString &) { return NamedMutex::Claim::Created; }

    void open(const QString &commandLineFile = {}) {
        m_form.reset();
        m_services = std::make_unique<EditorServices>();
        m_form =
            std::make_unique<TMainForm>(MainFormContext{.prompts = *m_prompts,
                                                        .shell = m_shell,
                                                        .settings = m_services->settings,
                                                        .help = m_services->help,
                                                        // Every window is a first process.
                                                        .claimMutex = firstProcess,
                                                        .commandLineFile = commandLineFile,
                                                        .wait = [](int) {},
                                                        .programFolder = m_programFolder->path()});
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void close() { m_form.reset(); }

    TEditorActions &actions() const { return m_form->actions(); }

    QStringList enabledPopupItems() const {
        QMenu *popup = m_form->menus().PopupMenu1;
        emit popup->aboutToShow();
        QStringList enabled;
        for (QAction *item : popup->actions())
            if (item->isEnabled() && !item->isSeparator())
                enabled << item->text();
        return enabled;
    }

private slots:
    void init() {
        QFile::remove(SettingsStore::userStorePath());
        m_programFolder = std::make_unique<QTemporaryDir>();
        m_prompts = std::make_unique<ScriptedPrompts>();
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
    }

    void startsWithTheFileListShown() {
        open();
        QCOMPARE(m_form->sidePanel().ListBoxStatus(), 1);
        QVERIFY(m_form->ListPanel().isVisible());
        QVERIFY(m_form->ListBoxF().isVisible());
        QVERIFY(!m_form->ListBoxT().isVisible());
        QVERIFY(actions().FileListBoxMenu->isChecked());
        QCOMPARE(m_form->ListBoxF().folder(), m_form->StartFolder);
        // Without a term file the term list starts empty; closing creates the file.
        QCOMPARE(m_form->ListBoxT().count(), 0);
        close();
        QVERIFY(QFileInfo(termFile()).isFile());
    }

    void panelStateIsStored_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("status");
        QTest::addRow("nothing stored") << -100 << 1;
        QTest::addRow("no list") << 0 << 0;
        QTest::addRow("term box") << 2 << 2;
        QTest::addRow("7 counts as no list") << 7 << 0;
    }
    void panelStateIsStored() {
        QFETCH(int, stored);
        QFETCH(int, status);
        if (stored != -100) {
            SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
            const QString key = QuilletSettingsKey;
            for (const char *name : {"Top", "Left", "Width", "Height"})
                store.writeInteger(key, QLatin1String(name), 600);
            store.writeInteger(key, QStringLiteral("ListBoxStatus"), stored);
        }
        open();
        QCOMPARE(m_form->sidePanel().ListBoxStatus(), status);
        QCOMPARE(m_form->ListPanel().isVisible(), status != 0);
        QCOMPARE(m_form->ListBoxT().isVisible(), status == 2);
        close();
        const SettingsStore written(SettingsStore::userStorePath(),
                                    SettingsStore::Access::ReadOnly);
        QCOMPARE(written.readInteger(QuilletSettingsKey, QStringLiteral("ListBoxStatus")), status);
    }

    void viewMenuSwitchesThePanel() {
        open();
        actions().ListBoxMenu->trigger();
        QVERIFY(m_form->ListBoxT().isVisible());
        QVERIFY(actions().ListBoxMenu->isChecked());
        QVERIFY(!actions().FileListBoxMenu->isChecked());
        actions().NoListMenu->trigger();
        QVERIFY(!m_form->ListPanel().isVisible());
        QCOMPARE(m_form->sidePanel().ListBoxStatus(), 0);
        actions().FileListBoxMenu->trigger();
        QVERIFY(m_form->ListBoxF().isVisible());
    }

    void doubleClickedTermReplacesTheSelection() {
        open();
        TRxRichEdit &memo = m_form->Memo();
        memo.setPlainText(QStringLiteral("Hello old world"));
        memo.SelectRange(6, 9);
        m_form->ListBoxT().setTerms({"Dear Sir", "Yours"});
        m_form->ListBoxT().setCurrentRow(0);
        m_form->ListBoxT().setFocus();
        emit m_form->ListBoxT().termDoubleClicked();
        QCOMPARE(memo.toPlainText(), QStringLiteral("Hello  Dear Sir  world"));
        QCOMPARE(memo.SelText(), QStringLiteral(" Dear Sir "));
        QTRY_VERIFY(memo.hasFocus());
    }

    void termListIsDisabledInHtmlAndPictureMode() {
        open();
        TRxRichEdit &memo = m_form->Memo();
        memo.setPlainText(QStringLiteral("text"));
        m_form->ListBoxT().setTerms({"term"});
        m_form->ListBoxT().setCurrentRow(0);
        actions().ListBoxMenu->trigger();
        actions().HTMLPictureMode1->trigger();
        QVERIFY(!m_form->ListBoxT().isEnabled());
        QTest::mouseDClick(m_form->ListBoxT().viewport(), Qt::LeftButton, {},
                           m_form->ListBoxT().visualItemRect(m_form->ListBoxT().item(0)).center());
        emit m_form->ListBoxT().termDoubleClicked();
        QCOMPARE(memo.toPlainText(), QStringLiteral("text"));

        actions().MenuPlainRTF->trigger();
        QVERIFY(m_form->ListBoxT().isEnabled());
    }

    // A selection of two paragraphs is one term; after closing and opening the window again it
    // has become two. An empty selection adds an empty term, which is kept.
    void termsComeBackLineByLineAfterARestart() {
        open();
        TRxRichEdit &memo = m_form->Memo();
        memo.setPlainText(QStringLiteral("First paragraph\nSecond paragraph"));
        memo.SelectAll();
        actions().AddToListBox1->trigger();
        memo.SelectRange(3, 3);
        actions().AddToListBox1->trigger();
        QCOMPARE(m_form->ListBoxT().count(), 2);
        close();
        QCOMPARE(TermFile::load(termFile()),
                 (QStringList{"First paragraph", "Second paragraph", QString()}));

        open();
        QCOMPARE(m_form->ListBoxT().terms(),
                 (QStringList{"First paragraph", "Second paragraph", QString()}));
        actions().ClearallListMenu->trigger();
        close();
        QCOMPARE(QFileInfo(termFile()).size(), 0);
    }

    void popupMenuOffersWhatFitsWhereItOpens() {
        open();
        actions().ListBoxMenu->trigger();
        m_form->ListBoxT().setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(m_form->ListBoxT().hasFocus());
        QCOMPARE(enabledPopupItems(),
                 (QStringList{"Delete Term ", "Clear Text Term List", "Clear File ListBox"}));

        m_form->Memo().setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(m_form->Memo().hasFocus());
        const QStringList onMemo = enabledPopupItems();
        QVERIFY(!onMemo.contains(QStringLiteral("Delete Term ")));
        QVERIFY(onMemo.contains(QStringLiteral("Add to Term Box")));
        QVERIFY(onMemo.contains(QStringLiteral("Clear Text Term List")));
        QVERIFY(onMemo.contains(QStringLiteral("Clear File ListBox")));

        actions().FileListBoxMenu->trigger();
        QVERIFY(!enabledPopupItems().contains(QStringLiteral("Add to Term Box")));
    }

    // a.jpg, b.jpg, c.jpg and d.exe with b.jpg open: Next shows c.jpg, then starts d.exe, then
    // wraps to a.jpg; Last from a.jpg wraps to d.exe. The highlight follows each step.
    void nextAndLastBrowseTheFolder() {
        const QString folder = pictures();
        open();
        m_form->fileCommands().OpenFile(folder + QStringLiteral("b.jpg"));
        QVERIFY(m_form->mode().HTMLMode);
        QCOMPARE(shown(), folder + QStringLiteral("b.jpg"));
        QCOMPARE(m_form->ListBoxF().entries(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.exe"}));
        QCOMPARE(highlighted(), 1);

        actions().Next->trigger();
        QCOMPARE(shown(), folder + QStringLiteral("c.jpg"));
        QCOMPARE(highlighted(), 2);
        actions().Next->trigger();
        QCOMPARE(m_form->document().DocumentName, folder + QStringLiteral("d.exe"));
        QCOMPARE(m_shell.launches.size(), 1);
        QCOMPARE(m_shell.launches.first().file, folder + QStringLiteral("d.exe"));
        QCOMPARE(highlighted(), 3);
        actions().Next->trigger();
        QCOMPARE(shown(), folder + QStringLiteral("a.jpg"));
        QCOMPARE(highlighted(), 0);
        actions().Last->trigger();
        QCOMPARE(m_form->document().DocumentName, folder + QStringLiteral("d.exe"));
        QCOMPARE(m_shell.launches.size(), 2);
        actions().Last->trigger();
        QCOMPARE(shown(), folder + QStringLiteral("c.jpg"));
        QCOMPARE(highlighted(), 2);
    }

    void fileListOpensWhatIsChosen() {
        const QString folder = pictures();
        open();
        m_form->fileCommands().OpenFile(folder + QStringLiteral("b.jpg"));
        m_form->ListBoxF().setCurrentRow(2);
        emit m_form->ListBoxF().fileDoubleClicked();
        QCOMPARE(shown(), folder + QStringLiteral("c.jpg"));
        QCOMPARE(highlighted(), 2);
        actions().Next->trigger(); // d.exe is started
        actions().Next->trigger();
        QCOMPARE(shown(), folder + QStringLiteral("a.jpg"));
        QCOMPARE(highlighted(), 0);

        m_form->ListBoxF().setCurrentRow(1);
        m_form->ListBoxF().setFocus();
        QTest::keyClick(&m_form->ListBoxF(), Qt::Key_Return);
        QCOMPARE(shown(), folder + QStringLiteral("b.jpg"));
    }

    // Started with a picture on the command line, the file list shows the start folder and later
    // opens leave its highlight alone.
    void startedWithAFileTheHighlightStays() {
        const QString folder = pictures();
        open(folder + QStringLiteral("b.jpg"));
        QCOMPARE(shown(), folder + QStringLiteral("b.jpg"));
        QCOMPARE(m_form->ListBoxF().folder(), m_form->StartFolder);
        m_form->fileCommands().OpenFile(folder + QStringLiteral("c.jpg"));
        QCOMPARE(m_form->ListBoxF().folder(), folder);
        QCOMPARE(highlighted(), -1);
        m_form->ListBoxF().setCurrentRow(0);
        m_form->fileCommands().OpenFile(folder + QStringLiteral("b.jpg"));
        QCOMPARE(highlighted(), 0);
    }

    void clearedFileListStopsBrowsing() {
        const QString folder = pictures();
        open();
        m_form->fileCommands().OpenFile(folder + QStringLiteral("b.jpg"));
        actions().ClearFileListBox1->trigger();
        QCOMPARE(m_form->ListBoxF().count(), 0);
        actions().Next->trigger();
        actions().Last->trigger();
        QCOMPARE(shown(), folder + QStringLiteral("b.jpg"));
        QCOMPARE(m_form->document().DocumentName, folder + QStringLiteral("b.jpg"));
        QVERIFY(m_prompts->records().isEmpty());

        // Enter on the empty list: the loader cannot load an empty name and says so.
        m_prompts->answerButton(QMessageBox::Ok);
        m_form->ListBoxF().setFocus();
        QTest::keyClick(&m_form->ListBoxF(), Qt::Key_Enter);
        QCOMPARE(m_prompts->records().size(), 1);
        QCOMPARE(m_prompts->records().first().text,
                 QStringLiteral("I cant load ! \n\rPlease check file name and location and try "
                                "again !"));
    }

    // Stepping on from an edited document asks first; Cancel keeps it.
    void browsingAsksBeforeEditsAreLost() {
        const QString folder = pictures();
        QFile text(folder + QStringLiteral("e.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("notes\n");
        text.close();
        open();
        m_form->fileCommands().OpenFile(folder + QStringLiteral("e.txt"));
        m_form->Memo().SelectRange(0, 0);
        m_form->Memo().SetSelText(QStringLiteral("typed "));
        QVERIFY(m_form->Memo().Modified());
        m_prompts->answerButton(QMessageBox::Cancel);
        actions().Next->trigger();
        QCOMPARE(m_form->document().DocumentName, folder + QStringLiteral("e.txt"));
        QVERIFY(m_form->Memo().toPlainText().startsWith(QStringLiteral("typed notes")));
        QCOMPARE(m_prompts->records().size(), 1);
        QCOMPARE(m_prompts->records().first().text,
                 QStringLiteral("Save Changes to %1 ?").arg(folder + QStringLiteral("e.txt")));
    }

    void linksInPagesGoThroughTheLoader() {
        const QString folder = pictures();
        QFile page(folder + QStringLiteral("index.htm"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<a href=\"b.jpg\">b</a> <a href=\"https://example.org/\">web</a>");
        page.close();
        open();
        m_form->fileCommands().OpenFile(folder + QStringLiteral("index.htm"));
        m_form->htmlLite1().followLink(QUrl(QStringLiteral("https://example.org/")));
        QCOMPARE(m_shell.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))});
        m_form->htmlLite1().followLink(QUrl(QStringLiteral("b.jpg")));
        QCOMPARE(m_form->document().DocumentName, folder + QStringLiteral("b.jpg"));
        QCOMPARE(shown(), folder + QStringLiteral("b.jpg"));
    }

    // The window goes while the term list has the focus: the terms are saved once, and the
    // list's last focus change reaches nothing that is already gone.
    void closingWithTheTermListFocused() {
        open();
        actions().ListBoxMenu->trigger();
        m_form->ListBoxT().setTerms({"kept"});
        m_form->ListBoxT().setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(m_form->ListBoxT().hasFocus());
        close();
        QCOMPARE(TermFile::load(termFile()), QStringList{"kept"});
    }

    // The term file cannot be replaced (a folder stands in its place): closing says so.
    void unwritableTermFileIsReportedAtClose() {
        QVERIFY(QDir().mkpath(termFile()));
        open();
        m_prompts->answerButton(QMessageBox::Ok);
        close();
        QCOMPARE(m_prompts->records().size(), 1);
        QVERIFY(m_prompts->records().first().text.startsWith(
            QStringLiteral("Cannot create file \"%1\".").arg(termFile())));
    }
};

QUILLET_TEST_MAIN(tst_SidePanelWindow)
#include "tst_sidepanelwindow.moc"
