#include "editor/edit/editcommands.h"
#include "editor/frame/editoractions.h"
#include "editor/insert/objectpropertiesdlg.h"
#include "editor/insert/pastespecialdlg.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "recordingshell.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The Edit menu's clipboard and undo commands and the embedded-object commands, through the
// editor window.
class tst_EditCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    RecordingShell m_shell;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    QTemporaryDir m_dir;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TEditorActions &actions() { return m_form->actions(); }

    int pictures() {
        return int(memo().document()->toRawText().count(QChar::ObjectReplacementCharacter));
    }

    QString writePicture(const QString &name, const QSize &size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = m_dir.filePath(name);
        return image.save(path, "PNG") ? path : QString();
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QApplication::clipboard()->clear();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(MainFormContext{.prompts = *m_prompts,
                                                             .shell = m_shell,
                                                             .settings = m_services->settings,
                                                             .help = m_services->help,
                                                             .claimMutex = NamedMutex::claim,
                                                             .wait = [](int) {}});
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        m_prompts.reset();
    }

    void pasteFollowsTheClipboard() {
        QVERIFY(!actions().PasteAction->isEnabled());
        QVERIFY(!actions().PasteSpecial->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("words"));
        QVERIFY(actions().PasteAction->isEnabled());
        QVERIFY(actions().PoPPaste->isEnabled());
        QVERIFY(actions().PasteSpecial->isEnabled());
        memo().SetText(QString());
        actions().PasteAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("words"));
    }

    void cutCopyNeedASelection() {
        memo().SetText(QStringLiteral("cut me"));
        memo().SelectRange(0, 4, true);
        QVERIFY(actions().CutAction->isEnabled());
        actions().CutAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("me"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("cut "));
        QVERIFY(!actions().CutAction->isEnabled());
        QVERIFY(!actions().CopyAction->isEnabled());
        QVERIFY(!actions().PoPCopy->isEnabled());
    }

    void htmlModeKeepsTheEditingCommandsOff() {
        QApplication::clipboard()->setText(QStringLiteral("words"));
        memo().SetText(QStringLiteral("text"));
        actions().HTMLPictureMode1->trigger();
        // Changes of the hidden editing area do not bring its commands back.
        memo().SelectRange(0, 4, false);
        memo().SelAttributes().SetStyle(TRxTextAttributes::fsBold);
        QApplication::clipboard()->setText(QStringLiteral("more"));
        for (QAction *action : {actions().CutAction, actions().PasteAction, actions().UndoAction,
                                actions().PasteSpecial, actions().PoPPaste})
            QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    }

    void pasteSpecialOffersTheClipboardsFormats() {
        auto *data = new QMimeData;
        data->setText(QStringLiteral("plain"));
        data->setHtml(QStringLiteral("<i>slanted</i>"));
        QApplication::clipboard()->setMimeData(data);
        memo().SetText(QString());
        QStringList offered;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            auto &form = static_cast<TPasteSpecialDlg &>(dialog);
            for (int i = 0; i < form.FormatList->count(); ++i)
                offered.append(form.FormatList->item(i)->text());
            form.FormatList->setCurrentRow(
                int(form.offered().indexOf(QStringLiteral("text/html"))));
        });
        actions().PasteSpecial->trigger();
        QVERIFY(offered.contains(QStringLiteral("Unformatted Text")));
        QVERIFY(offered.contains(QStringLiteral("HTML Format")));
        QCOMPARE(memo().Text(), QStringLiteral("slanted"));
        memo().SelectRange(0, 1, false);
        QVERIFY(memo().SelAttributes().Style().testFlag(TRxTextAttributes::fsItalic));
        QCOMPARE(m_prompts->records().last().caption, QStringLiteral("Paste Special"));

        // Cancel pastes nothing.
        m_prompts->answerDialog(false);
        actions().PasteSpecial->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("slanted"));
    }

    void insertObjectAndItsProperties() {
        const QString path = writePicture(QStringLiteral("object.png"), QSize(40, 20));
        memo().SetText(QStringLiteral("ab"));
        memo().SelectRange(1, 1, false);
        m_prompts->answerOpen({path});
        actions().Object1->trigger();
        QCOMPARE(pictures(), 1);

        memo().SelectRange(1, 2, false);
        QSize shown;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            auto &form = static_cast<TObjectPropertiesDlg &>(dialog);
            shown = form.chosenSize();
            // Proportions kept: the height follows the width.
            form.PictureWidth->setValue(80);
            QCOMPARE(form.PictureHeight->value(), 40);
        });
        actions().ObjectProperties1->trigger();
        QCOMPARE(shown, QSize(40, 20));
        memo().SelectRange(1, 2, false);
        QCOMPARE(memo().SelectedPictureSize(), QSize(80, 40));

        // Nothing but text selected: said so, nothing changes.
        memo().SelectRange(0, 1, false);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().ObjectProperties1->trigger();
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("No object is selected."));
    }

    void linksOpenWithTheLeftButtonOnly() {
        m_shell.launches.clear();
        emit memo().OnURLClick(QStringLiteral("https://example.org/"), Qt::RightButton);
        QVERIFY(m_shell.launches.isEmpty());
        emit memo().OnURLClick(QStringLiteral("https://example.org/"), Qt::LeftButton);
        QCOMPARE(m_shell.launches.size(), 1);
        QCOMPARE(m_shell.launches.first().file, QStringLiteral("https://example.org/"));
    }
};

QUILLET_TEST_MAIN(tst_EditCommands)
#include "tst_editcommands.moc"
