#include "editor/texttools/texttoolsconcern.h"

#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "platform/errorreport.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QSpinBox>

TTextToolsConcern::TTextToolsConcern(TextToolsConcernContext context, QObject *parent)
    : QObject(parent)
    , m(context)
    , m_target(context.Memo)
    , m_commands(m_target, context.prompts, &context.window)
    , m_spell(m_target, context.prompts, &context.window)
    , m_crypt(m_target, context.prompts, &context.window) {
    TRxRichEdit *memo = &m.Memo;
    m_commands.focusMemo = [memo] {
        // Errors swallowed: the area simply keeps or lacks the focus.
        if (memo->isVisible() && memo->isEnabled())
            memo->setFocus();
    };

    TEditorActions &a = m.actions;
    a.route(a.LowerAction, this, &TTextToolsConcern::Lowercase1Click);
    a.route(a.UpperAction, this, &TTextToolsConcern::Uppercase1Click);
    a.route(a.MenuLetterStyle, this, &TTextToolsConcern::MenuLetterStyleClick);
    a.route(a.WordCount1, this, &TTextToolsConcern::WordCount1Click);
    a.route(a.FindAction, this, &TTextToolsConcern::FindActionExecute);
    a.route(a.ReplaceAction, this, &TTextToolsConcern::ReplaceActionExecute);
    a.route(a.FindNextAction, this, &TTextToolsConcern::FindNextActionExecute);
    a.route(a.SpellAction, this, &TTextToolsConcern::SpellActionExecute);
    a.route(a.Encrypt1, this, &TTextToolsConcern::Encrypt1Click);
    a.route(a.Decrypt1, this, &TTextToolsConcern::Decrypt1Click);

    connect(memo, &TRxRichEdit::OnKeyPress, this, [this](QChar &key) {
        ErrorReport::run(m.prompts, &m.window, [this, key] {
            m_commands.MemoKeyPress(key, m.actions.MenuLetterStyle->isChecked());
        });
    });
    connect(memo, &TRxRichEdit::OnTextNotFound, this, [this](const QString &findText) {
        ErrorReport::run(m.prompts, &m.window,
                         [this, findText] { m_commands.MemoTextNotFound(findText); });
    });
}

void TTextToolsConcern::Lowercase1Click() {
    m_commands.Lowercase1Click();
}

void TTextToolsConcern::Uppercase1Click() {
    m_commands.Uppercase1Click();
}

void TTextToolsConcern::MenuLetterStyleClick() {
    QAction *item = m.actions.MenuLetterStyle;
    item->setChecked(!item->isChecked());
    try {
        m_commands.LetterStyle(item->isChecked(), m.FontSizeBox.text());
    } catch (...) {
        // The pass did not run: a mark left flipped would make the next pass shrink capitals
        // that were never enlarged.
        item->setChecked(!item->isChecked());
        throw;
    }
}

void TTextToolsConcern::WordCount1Click() {
    m.status.setTextSized(TStatusPanels::Comments, m_commands.WordCount1Click());
}

void TTextToolsConcern::FindActionExecute() {
    m_commands.FindActionExecute();
}

void TTextToolsConcern::ReplaceActionExecute() {
    m_commands.ReplaceActionExecute();
}

void TTextToolsConcern::FindNextActionExecute() {
    m_commands.FindNextActionExecute();
}

void TTextToolsConcern::SpellActionExecute() {
    m_spell.SpellActionExecute();
}

void TTextToolsConcern::Encrypt1Click() {
    m_crypt.Encrypt1Click();
}

void TTextToolsConcern::Decrypt1Click() {
    m_crypt.Decrypt1Click();
}
