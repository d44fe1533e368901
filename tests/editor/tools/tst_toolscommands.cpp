#include "editor/document/documentstate.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/toolbars.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/tools/toolscommands.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "platform/settingskey.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "tools/aboutbox.h"
#include "tools/moviescroll.h"
#include "tools/run_app_location.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

// The window's external tools: run locations from the tool bar and the Run menu, Send Mail, the
// about box and the help page.
class tst_ToolsCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    QByteArray m_path;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    QString makeFile(const QString &name, const QByteArray &bytes, bool executable = false) {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return file.fileName();
    }

    // An application entry whose icon is a picture of one colour.
    QString makeEntry(const QString &name, const QColor &colour) {
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(colour);
        const QString png = path(name + QStringLiteral(".png"));
        picture.save(png);
        return makeFile(name + QStringLiteral(".desktop"),
                        "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                            "\nExec=true\nIcon=" + png.toUtf8() + "\n");
    }

    void store(const QString &name, const QString &value) {
        m_services->settings.openKey(QuilletSettingsKey, true)->writeString(name, value);
    }

    void open() {
        m_form.reset();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
    }

    static QColor iconColour(const QAction *action) {
        return action->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    }

    TEditorActions &actions() const { return m_form->actions(); }

    // A fake xdg-email on PATH that records its arguments, one a line, and succeeds.
    QString installFakeMailer() {
        const QString bin = path(QStringLiteral("bin"));
        QDir().mkpath(bin);
        const QString log = path(QStringLiteral("mail.log"));
        QFile script(bin + QStringLiteral("/xdg-email"));
        if (!script.open(QIODevice::WriteOnly))
            return {};
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(log) + "'\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
        return log;
    }

    static QString readAll(const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private slots:
    void initTestCase() { m_path = qgetenv("PATH"); }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile::remove(SettingsStore::userStorePath());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
    }

    void cleanup() {
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
        m_form.reset();
        m_services.reset();
        qputenv("PATH", m_path);
    }

    void creationLoadsTheLocationsWithTheirIconsAndTheStartFolder() {
        const QString editor = makeEntry(QStringLiteral("editor"), QColor(200, 0, 0));
        const QString five = makeEntry(QStringLiteral("five"), QColor(0, 200, 0));
        const QString six = makeEntry(QStringLiteral("six"), QColor(0, 0, 200));
        store(QStringLiteral("RunAppLoc1"), editor);
        store(QStringLiteral("RunAppLoc5"), five);
        store(QStringLiteral("RunAppLoc6"), six);
        store(QStringLiteral("Initial Dir"), m_dir->path());
        open();

        QCOMPARE(m_form->StartFolder, m_dir->path() + QLatin1Char('/'));
        QCOMPARE(m_form->ListBoxF().folder(), m_form->StartFolder);
        QCOMPARE(m_form->document().OpenDialog.InitialDir, m_form->StartFolder);
        QCOMPARE(iconColour(actions().OpencurrentfilewithEditor11), QColor(200, 0, 0));

        // The last two buttons are crossed: "Run Program 6" starts location 5 with its icon.
        QToolButton *paint = m_form->toolBars().PaintBut;
        QToolButton *charMap = m_form->toolBars().CharMapButton;
        QCOMPARE(paint->toolTip(), QStringLiteral("Run Program 6"));
        QCOMPARE(charMap->toolTip(), QStringLiteral("Run Program 5"));
        QCOMPARE(paint->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 200, 0));
        QCOMPARE(charMap->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 0, 200));
        paint->click();
        charMap->click();
        QCOMPARE(m_services->shell.launches.size(), 2);
        QCOMPARE(m_services->shell.launches[0].file, five);
        QCOMPARE(m_services->shell.launches[1].file, six);
        QVERIFY(m_prompts->records().isEmpty());
    }

    void dialogChangesAreUsedAtOnceAndIconsAtTheNextStart() {
        open();
        const QIcon before = actions().PaintAction->icon();
        const QString five = makeEntry(QStringLiteral("five"), QColor(0, 200, 0));
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            auto &form = static_cast<TRun_App_Location &>(dialog);
            QCOMPARE(form.windowTitle(), QStringLiteral("Run_App_Location"));
            form.Edit5->setText(five);
            form.Edit7->setText(m_dir->path());
            form.reject();
        });
        actions().RunLocations1->trigger();
        QCOMPARE(m_form->toolsCommands().runLocations().Location(5), five);
        QCOMPARE(m_form->StartFolder, m_dir->path() + QLatin1Char('/'));
        QCOMPARE(actions().PaintAction->icon().cacheKey(), before.cacheKey());
        actions().PaintAction->trigger();
        QCOMPARE(m_services->shell.launches.size(), 1);
        QCOMPARE(m_services->shell.launches[0].file, five);

        open();
        QCOMPARE(iconColour(actions().PaintAction), QColor(0, 200, 0));
    }

    void editorsOpenTheStoredDocument() {
        const QString editor = makeFile(QStringLiteral("ed"), "#!/bin/sh\n", true);
        store(QStringLiteral("RunAppLoc2"), editor);
        open();
        // A new document: nothing happens.
        actions().OpencurrentfilewithEditor1->trigger();
        QVERIFY(m_services->shell.launches.isEmpty());

        const QString document = makeFile(QStringLiteral("a b.txt"), "text");
        m_form->fileCommands().OpenFile(document);
        actions().OpencurrentfilewithEditor1->trigger();
        QCOMPARE(m_services->shell.launches.size(), 1);
        QCOMPARE(m_services->shell.launches[0].file, editor);
        QCOMPARE(m_services->shell.launches[0].parameters, document);

        // Location 1 is not set.
        m_prompts->answerButton(QMessageBox::Ok);
        actions().OpencurrentfilewithEditor11->trigger();
        QCOMPARE(m_prompts->texts(),
                 QStringList{QStringLiteral("Cannot start  ") + document + QStringLiteral(" !")});
    }

    void sendMailChoosesTheWay_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("mixed");
        QTest::addColumn<bool>("attachment");
        QTest::addRow(".RTF uniform: mailto") << QStringLiteral("note.RTF") << false << false;
        QTest::addRow(".rtf: attachment") << QStringLiteral("note.rtf") << false << true;
        QTest::addRow(".txt mixed formatting: attachment")
            << QStringLiteral("note.txt") << true << true;
    }

    void sendMailChoosesTheWay() {
        QFETCH(QString, name);
        QFETCH(bool, mixed);
        QFETCH(bool, attachment);
        const QString log = installFakeMailer();
        open();
        const QString document =
            makeFile(name, name.endsWith(QLatin1String(".txt")) ? "plain" : "{\\rtf1 plain}");
        // Named, not opened: the window stays in RTF mode, where formatting can be mixed.
        m_form->document().SetDocumentName(document);
        m_form->Memo().SetText(QStringLiteral("Tom & Jerry\nline 2"));
        if (mixed) {
            m_form->Memo().SelectRange(0, 3);
            m_form->Memo().SelAttributes().SetStyle(TRxTextAttributes::fsBold);
        }
        m_form->Memo().SetModified(false);
        if (attachment)
            m_prompts->answerButton(QMessageBox::Ok);
        actions().Send1->trigger();
        if (attachment) {
            QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("Done! ")});
            QCOMPARE(readAll(log), QStringLiteral("--utf8\n--subject\nSend mail with Quillet\n"
                                                  "--body\nI like this program!!\n--attach\n") +
                                       document + QStringLiteral("\nsomeone@example.org\n"));
            QVERIFY(m_services->shell.urls.isEmpty());
        } else {
            QCOMPARE(m_services->shell.urls.size(), 1);
            QCOMPARE(
                m_services->shell.urls[0].toEncoded(),
                QByteArrayLiteral(
                    "mailto:someone@example.org?subject=&body=Tom%20%26%20Jerry%0D%0Aline%202"));
            QVERIFY(!QFile::exists(log));
        }
    }

    void unsavedChangesAreAskedForBeforeAttaching() {
        const QString log = installFakeMailer();
        open();
        const QString document = makeFile(QStringLiteral("letter.rtf"), "{\\rtf1 stored}");
        m_form->fileCommands().OpenFile(document);
        m_form->Memo().SetText(QStringLiteral("changed"));
        m_form->Memo().SetModified(true);

        m_prompts->answerButton(QMessageBox::Cancel);
        actions().Send1->trigger();
        QVERIFY(!QFile::exists(log));
        QCOMPARE(m_prompts->records()[0].buttons,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        m_prompts->answerButton(QMessageBox::Yes);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().Send1->trigger();
        QVERIFY(!m_form->Memo().Modified());
        QVERIFY(readAll(document).contains(QLatin1String("changed")));
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("Done! "));
    }

    void newDocumentWithFormattingHasNoFileToAttach() {
        installFakeMailer();
        open();
        m_form->Memo().SetText(QStringLiteral("abc def"));
        m_form->Memo().SelectRange(0, 3);
        m_form->Memo().SelAttributes().SetStyle(TRxTextAttributes::fsItalic);
        m_form->Memo().SetModified(false);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().Send1->trigger();
        QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("Attachment not found! ")});
    }

    void longTextGoesAsAnAttachedTextFile() {
        const QString log = installFakeMailer();
        open();
        const QString text = QString(9000, QLatin1Char('a'));
        m_form->Memo().SetText(text);
        m_form->Memo().SetModified(false);
        m_prompts->answerButton(QMessageBox::Ok);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().Send1->trigger();
        QCOMPARE(m_prompts->texts().size(), 2);
        QVERIFY(m_prompts->texts()[0].startsWith(
            QLatin1String("The text is too long for the body of a mail.")));
        QCOMPARE(m_prompts->texts()[1], QStringLiteral("Done! "));
        QVERIFY(m_services->shell.urls.isEmpty());
        const QStringList arguments = readAll(log).split(QLatin1Char('\n'));
        const QString attached = arguments.value(arguments.indexOf(QStringLiteral("--attach")) + 1);
        QVERIFY(attached.endsWith(QLatin1String("/Untitled.txt")));
        QCOMPARE(readAll(attached), text);
    }

    void failedMailtoSaysSo() {
        open();
        m_form->Memo().SetText(QStringLiteral("short"));
        m_services->shell.openUrlResult = false;
        m_prompts->answerButton(QMessageBox::Ok);
        actions().Send1->trigger();
        QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("An Error occurred with Mail!")});
        QCOMPARE(m_prompts->records()[0].icon, QMessageBox::Critical);
    }

    void helpOpensThePage() {
        open();
        const QString page = makeFile(QStringLiteral("Quillet.html"), "<html></html>");
        m_services->help.setHelpFile(page);
        actions().HelpMenu->trigger();
        QCOMPARE(m_services->shell.urls, QList<QUrl>{QUrl::fromLocalFile(page)});

        m_services->help.setHelpFile(path(QStringLiteral("gone.html")));
        m_prompts->answerButton(QMessageBox::Ok);
        actions().HelpMenu->trigger();
        QCOMPARE(m_prompts->texts(),
                 QStringList{QStringLiteral("The help page ") + path(QStringLiteral("gone.html")) +
                             QStringLiteral(" could not be opened.")});
    }

    void aboutShowsTheBoxWithTheCredits() {
        open();
        m_prompts->answerDialog(true, [](QDialog &dialog) {
            auto &form = static_cast<TAboutBox &>(dialog);
            QVERIFY(form.windowTitle().startsWith(QLatin1String("About ")));
            QCOMPARE(form.ProductName->text(), QStringLiteral("Quillet"));
            QCOMPARE(form.Copyright->text(), QStringLiteral("2026 Fernlake"));
            QVERIFY(form.MovieScroll);
            const QStringList credits = form.MovieScroll->ScrollText();
            QCOMPARE(credits.size(), 16);
            QCOMPARE(credits.last(), QStringLiteral("Thanks"));
            QVERIFY(credits.first().contains(QLatin1String("Quillet")));
            QCOMPARE(form.MovieScroll->BackColor(), QColor(0, 0, 128));
            QCOMPARE(form.MovieScroll->TimerInterval(), 40);
            QVERIFY(form.MovieScroll->Shadow());
            QVERIFY(form.MovieScroll->Loop());
        });
        actions().HelpAbout->trigger();
    }
};

QUILLET_TEST_MAIN(tst_ToolsCommands)
#include "tst_toolscommands.moc"
