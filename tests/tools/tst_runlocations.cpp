#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "tools/browseforfolders.h"
#include "tools/fileicon.h"
#include "tools/programfiledialog.h"
#include "tools/programfilefilter.h"
#include "tools/run_app_location.h"
#include "tools/runlocations.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString makeFile(const QString &path, const QByteArray &bytes = "x", bool executable = false) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// The six run locations: reading them, starting them, their messages, and the dialog that edits
// them with its folder browser.
class tst_RunLocations : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_store;
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;
    QWidget m_window;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    void store(const QString &name, const QString &value) {
        m_store->openKey(QuilletSettingsKey, true)->writeString(name, value);
    }
    QString stored(const QString &name) const {
        return m_store->readString(QuilletSettingsKey, name);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile::remove(SettingsStore::userStorePath());
        m_store = std::make_unique<SettingsStore>(SettingsStore::userStorePath(),
                                                  SettingsStore::Access::ReadWrite);
        m_prompts.clear();
        m_shell.launches.clear();
    }

    void cleanup() { QCOMPARE(m_prompts.unexpectedCount(), 0); }

    void loadsTheLocationsAndTheStartFolder() {
        const QString editor = makeFile(path(QStringLiteral("editor")), "x", true);
        store(QStringLiteral("RunAppLoc1"), editor);
        store(QStringLiteral("RunAppLoc2"), path(QStringLiteral("missing editor")));
        store(QStringLiteral("RunAppLoc5"), QStringLiteral("/no/such/paint"));
        store(QStringLiteral("Initial Dir"), m_dir->path());
        TRunLocations locations(m_shell, m_prompts, m_window);
        locations.Load(*m_store);
        QCOMPARE(locations.Location(1), editor);
        // Locations 2 to 6 are taken as they read, existing or not.
        QCOMPARE(locations.Location(2), path(QStringLiteral("missing editor")));
        QCOMPARE(locations.Location(3), QString());
        QCOMPARE(locations.Location(5), QStringLiteral("/no/such/paint"));
        QCOMPARE(locations.StartFolder, m_dir->path() + QLatin1Char('/'));

        // A location 1 that is gone keeps the value it had.
        store(QStringLiteral("RunAppLoc1"), path(QStringLiteral("gone")));
        locations.Load(*m_store);
        QCOMPARE(locations.Location(1), editor);
    }

    void missingValuesAndValuesOfAnotherTypeReadEmpty() {
        m_store->openKey(QuilletSettingsKey, true)->writeInteger(QStringLiteral("RunAppLoc3"), 7);
        TRunLocations locations(m_shell, m_prompts, m_window);
        locations.Load(*m_store);
        QCOMPARE(locations.Location(3), QString());
        QCOMPARE(locations.StartFolder, QStringLiteral("/"));
        QVERIFY(m_store->keyExists(QuilletSettingsKey));
    }

    // A stored location 1 that no longer exists leaves it empty: the message then holds
    // nothing between "Cannot start " and the blank before the document name.
    void editorThatIsNoFileSaysSo() {
        store(QStringLiteral("RunAppLoc1"), path(QStringLiteral("gone")));
        TRunLocations locations(m_shell, m_prompts, m_window);
        locations.Load(*m_store);
        m_prompts.answerButton(QMessageBox::Ok);
        locations.StartEditor(1, QStringLiteral("/tmp/a.rtf"), false);
        QCOMPARE(m_prompts.texts(), QStringList{QStringLiteral("Cannot start  /tmp/a.rtf !")});
        QVERIFY(m_shell.launches.isEmpty());

        store(QStringLiteral("RunAppLoc2"), path(QStringLiteral("gone2")));
        locations.Load(*m_store);
        m_prompts.answerButton(QMessageBox::Ok);
        locations.StartEditor(2, QStringLiteral("Untitled"), true);
        QCOMPARE(m_prompts.texts().last(), QStringLiteral("Cannot start ") +
                                               path(QStringLiteral("gone2")) +
                                               QStringLiteral(" Untitled !"));
    }

    void editorStartsWithTheDocument_data() {
        QTest::addColumn<QString>("editorName");
        QTest::addColumn<QString>("document"); // "" : new document; "gone": deleted meanwhile
        QTest::addColumn<bool>("launched");
        QTest::addColumn<bool>("withDocument");
        QTest::addRow("stored document")
            << QStringLiteral("ed") << QStringLiteral("doc.rtf") << true << true;
        QTest::addRow("new document: nothing")
            << QStringLiteral("ed") << QString() << false << false;
        QTest::addRow("document deleted: no parameters")
            << QStringLiteral("ed") << QStringLiteral("gone") << true << false;
        QTest::addRow("blanks and shell characters stay one path and one argument")
            << QStringLiteral("my editor; rm -rf $HOME & `x`")
            << QStringLiteral("a \"b\" & c; d.rtf") << true << true;
        QTest::addRow("long path")
            << QString(90, QLatin1Char('e')) << QStringLiteral("doc.rtf") << true << true;
    }

    void editorStartsWithTheDocument() {
        QFETCH(QString, editorName);
        QFETCH(QString, document);
        QFETCH(bool, launched);
        QFETCH(bool, withDocument);
        const QString editor = makeFile(path(editorName), "x", true);
        QVERIFY(!editor.isEmpty());
        QString documentPath;
        if (document == QLatin1String("gone"))
            documentPath = path(QStringLiteral("gone.rtf"));
        else if (!document.isEmpty())
            documentPath = makeFile(path(document));
        store(QStringLiteral("RunAppLoc2"), editor);
        TRunLocations locations(m_shell, m_prompts, m_window);
        locations.Load(*m_store);
        locations.StartEditor(2, document.isEmpty() ? QStringLiteral("Untitled") : documentPath,
                              document.isEmpty());
        QCOMPARE(m_shell.launches.size(), launched ? 1 : 0);
        if (!launched)
            return;
        QCOMPARE(m_shell.launches[0].file, editor);
        QCOMPARE(m_shell.launches[0].parameters, withDocument ? documentPath : QString());
        QCOMPARE(m_shell.launches[0].folder, QString());
        QVERIFY(m_shell.launches[0].show == Shell::ShowState::Normal);
    }

    void programsStartWithoutArguments() {
        const QString paint = makeFile(path(QStringLiteral("paint")), "x", true);
        store(QStringLiteral("RunAppLoc3"), path(QStringLiteral("nothing here")));
        store(QStringLiteral("RunAppLoc5"), paint);
        store(QStringLiteral("RunAppLoc6"), path(QStringLiteral("charmap")));
        TRunLocations locations(m_shell, m_prompts, m_window);
        locations.Load(*m_store);

        // 3 and 4 start without any test and say nothing.
        locations.StartProgram(3);
        locations.StartProgram(4);
        QCOMPARE(m_shell.launches.size(), 2);
        QCOMPARE(m_shell.launches[0].file, path(QStringLiteral("nothing here")));
        QCOMPARE(m_shell.launches[1].file, QString());
        QVERIFY(m_prompts.records().isEmpty());

        locations.StartProgram(5);
        QCOMPARE(m_shell.launches.size(), 3);
        QCOMPARE(m_shell.launches[2].file, paint);
        QCOMPARE(m_shell.launches[2].parameters, QString());

        m_prompts.answerButton(QMessageBox::Ok);
        locations.StartProgram(6);
        QCOMPARE(m_shell.launches.size(), 3);
        QCOMPARE(m_prompts.texts(),
                 QStringList{QStringLiteral("Couldn't' find ") + path(QStringLiteral("charmap"))});
        QCOMPARE(m_prompts.records()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void dialogShowsTheStoredValuesAndWritesThemOnEveryClose_data() {
        QTest::addColumn<bool>("accept");
        QTest::addRow("closed with Close") << true;
        QTest::addRow("closed with Escape or the window's close") << false;
    }

    void dialogShowsTheStoredValuesAndWritesThemOnEveryClose() {
        QFETCH(bool, accept);
        store(QStringLiteral("RunAppLoc4"), QStringLiteral("/usr/bin/four"));
        store(QStringLiteral("Initial Dir"), QStringLiteral("/srv"));
        TRun_App_Location dialog(*m_store, m_prompts);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Run_App_Location"));
        QCOMPARE(dialog.size(), QSize(550, 420));
        QCOMPARE(dialog.Edit1->text(), QString());
        QCOMPARE(dialog.Edit1->placeholderText(),
                 QStringLiteral("Enter location of an Executable"));
        QCOMPARE(dialog.Edit4->text(), QStringLiteral("/usr/bin/four"));
        QCOMPARE(dialog.Edit7->text(), QStringLiteral("/srv"));
        QCOMPARE(dialog.SpeedButton1->text(), QStringLiteral("5"));
        QCOMPARE(dialog.SpeedButton3->text(), QStringLiteral("Browse"));

        // Written as they stand, without any test.
        dialog.Edit1->setText(QStringLiteral("not a program"));
        dialog.Edit4->clear();
        dialog.Edit6->setText(QStringLiteral("/x y/z"));
        if (accept)
            dialog.accept();
        else
            dialog.reject();
        QCOMPARE(stored(QStringLiteral("RunAppLoc1")), QStringLiteral("not a program"));
        QCOMPARE(stored(QStringLiteral("RunAppLoc4")), QString());
        QVERIFY(m_store->valueExists(QuilletSettingsKey, QStringLiteral("RunAppLoc5")));
        QCOMPARE(stored(QStringLiteral("RunAppLoc6")), QStringLiteral("/x y/z"));
        QCOMPARE(stored(QStringLiteral("Initial Dir")), QStringLiteral("/srv"));
    }

    void cancelledFolderBrowserStoresNothingSelected() {
        TRun_App_Location dialog(*m_store, m_prompts);
        m_prompts.answerFolder(QString());
        dialog.SpeedButton3Click();
        QCOMPARE(m_prompts.records().last().kind, ScriptedPrompts::Kind::Folder);
        QCOMPARE(m_prompts.records().last().caption, QStringLiteral("Choose a Directory"));
        QCOMPARE(dialog.Edit7->text(), QStringLiteral("Nothing selected"));
        dialog.reject();
        QCOMPARE(stored(QStringLiteral("Initial Dir")), QStringLiteral("Nothing selected"));

        m_prompts.answerFolder(m_dir->path());
        QCOMPARE(TBrowseForFolders(m_prompts, nullptr).Execute(), m_dir->path());
    }

    void programButtonFillsItsRowAndPicture() {
        const QString program = makeFile(path(QStringLiteral("my tool")), "#!/bin/sh\n", true);
        TRun_App_Location dialog(*m_store, m_prompts);
        dialog.Edit5->setText(QStringLiteral("kept"));
        dialog.FormActivate();
        const QImage before = dialog.Image5->pixmap().toImage();

        // Cancelled: field and picture stay.
        m_prompts.answerDialog(false);
        dialog.SpeedButton1Click();
        QCOMPARE(dialog.Edit5->text(), QStringLiteral("kept"));
        QCOMPARE(dialog.Image5->pixmap().toImage(), before);

        m_prompts.answerDialog(true, [&](QDialog &d) {
            auto &files = static_cast<ProgramFileDialog &>(d);
            files.setDirectory(m_dir->path());
            // The dialog's file model reads the folder in the background.
            QTRY_VERIFY_WITH_TIMEOUT(
                (files.selectFile(program), files.selectedFiles().value(0) == program), 5000);
        });
        dialog.SpeedButton1Click();
        QCOMPARE(dialog.Edit5->text(), program);
        QVERIFY(!dialog.Image5->pixmap().isNull());
        QCOMPARE(dialog.OD->nameFilters(), QStringList{QStringLiteral("Programs (*)")});
        dialog.reject();
        QCOMPARE(stored(QStringLiteral("RunAppLoc5")), program);
    }

    void programFilterOffersProgramsOnly() {
        QVERIFY(ProgramFileFilter::isProgram(
            QFileInfo(makeFile(path(QStringLiteral("run")), "x", true))));
        QVERIFY(ProgramFileFilter::isProgram(
            QFileInfo(makeFile(path(QStringLiteral("gimp.desktop"))))));
        QVERIFY(
            !ProgramFileFilter::isProgram(QFileInfo(makeFile(path(QStringLiteral("notes.txt"))))));
        QVERIFY(!ProgramFileFilter::isProgram(QFileInfo(m_dir->path())));
    }

    void iconOfAnEntryIsItsIcon() {
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(QColor(10, 200, 30));
        const QString png = path(QStringLiteral("tool.png"));
        QVERIFY(picture.save(png));
        const QString entry = makeFile(
            path(QStringLiteral("tool.desktop")),
            "[Desktop Entry]\nType=Application\nName=Tool\nExec=tool %f\nIcon=" + png.toUtf8() +
                "\n");
        const QImage shown = FileIcon::forFile(entry).pixmap(16, 16).toImage();
        QCOMPARE(shown.pixelColor(8, 8), QColor(10, 200, 30));
        // Anything else gets an icon too, even a file that does not exist.
        QVERIFY(!FileIcon::forFile(path(QStringLiteral("missing.txt"))).isNull());
        QVERIFY(!FileIcon::forFile(makeFile(path(QStringLiteral("prog")), "x", true)).isNull());
    }
};

QUILLET_TEST_MAIN(tst_RunLocations)
#include "tst_runlocations.moc"
