#include "crypt/cryptcommands.h"
#include "crypt/cryptform.h"
#include "crypt/cryptpswdu.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/frame/toolbars.h"
#include "editor/texttools/texttoolsfinddialog.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/fernsbut.h"

#include <QAction>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <memory>

// The text tools, spell check and scrambling as the editor window offers them.
class tst_TextToolsConcern : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TEditorActions &actions() { return m_form->actions(); }

private slots:
    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
    }

    void cleanup() {
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
        m_form.reset();
        m_prompts.reset();
    }

    void commandsAreAvailable() {
        for (QAction *a : {actions().LowerAction, actions().UpperAction, actions().MenuLetterStyle,
                           actions().WordCount1, actions().FindAction, actions().ReplaceAction,
                           actions().FindNextAction, actions().SpellAction, actions().Encrypt1,
                           actions().Decrypt1})
            QVERIFY2(actions().isRouted(a), qPrintable(a->text()));
    }

    void wordCountGoesToTheCommentsPanel() {
        memo().SetText(QStringLiteral("word"));
        actions().WordCount1->trigger();
        QCOMPARE(m_form->status().text(TStatusPanels::Comments), QStringLiteral("1 words"));
        QCOMPARE(m_form->status().width(TStatusPanels::Comments), 7 * 7);
    }

    void letterStyleItemFlipsAndPasses() {
        memo().SetText(QStringLiteral("Ab"));
        memo().SelectAll();
        memo().SelAttributes().SetSize(10);
        m_form->toolBars().FontSizeBox->setValue(10);
        actions().MenuLetterStyle->trigger();
        QVERIFY(actions().MenuLetterStyle->isChecked());
        memo().SelectRange(0, 1, false);
        QCOMPARE(memo().SelAttributes().Size(), 13);
        QVERIFY(memo().Modified());

        // Typing while it is checked: the capital rises, the small letter falls back.
        memo().SelectRange(2, 2, false);
        QTest::keyClicks(&memo(), QStringLiteral("Cd"));
        memo().SelectRange(2, 3, false);
        QCOMPARE(memo().SelAttributes().Size(), 13);
        memo().SelectRange(3, 4, false);
        QCOMPARE(memo().SelAttributes().Size(), 10);

        actions().MenuLetterStyle->trigger();
        QVERIFY(!actions().MenuLetterStyle->isChecked());
        for (int i = 0; i < 4; ++i) {
            memo().SelectRange(i, i + 1, false);
            QCOMPARE(memo().SelAttributes().Size(), 10);
        }
    }

    void findNextNotFoundShowsTheBox() {
        memo().SetText(QStringLiteral("alpha"));
        actions().FindAction->trigger();
        m_form->findChild<TextToolsFindDialog *>()->setFindText(QStringLiteral("beta"));
        m_prompts->answerButton(QMessageBox::Ok);
        emit m_form->findChild<TextToolsFindDialog *>()->findRequested();
        QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("Text \"beta\" not found.")});
    }

    void encryptFromTheRunMenu() {
        memo().SetText(QStringLiteral("Plain words here"));
        m_prompts->answerDialog(
            true, [](QDialog &d) { static_cast<TCryptForm &>(d).CancelBut()->click(); });
        actions().Encrypt1->trigger();
        auto *form = m_form->findChild<TCryptForm *>();
        QVERIFY(form && form->isVisible());
        form->Edit1()->setText(QStringLiteral("pw"));
        form->CancelBut()->click();
        QCOMPARE(memo().Text(),
                 EncryptText(QStringLiteral("Plain words here"), QStringLiteral("pw")));
        QVERIFY(memo().Modified());
    }
};

QUILLET_TEST_MAIN(tst_TextToolsConcern)
#include "tst_texttoolsconcern.moc"
