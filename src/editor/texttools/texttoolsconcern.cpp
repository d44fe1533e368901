#include "editor/texttools/texttoolsconcern.h"

#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "platform/errorreport.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QSpinBox>

TTextToolsConcern::TTextToolsConcern(TextToolsConcernContext context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_target(context.Memo)
    , m_commands(m_target, context.prompts, &context.window)
    , m_spell(m_target, context.prompts, &context.window)
    , m_crypt(m_target, context.prompts, &context.window) {
    TRxRichEdit *memo = &m_context.Memo;
    m_commands.focusMemo = [memo] {
        // Errors swallowed: the area simply keeps or lacks the focus.
        if (memo->isVisible() && memo->isEnabled())
            memo->setFocus();
    };

    TEditorActions &a = m_context.actions;
    // The commands that need nothing of the window go straight to their classes.
    a.route(a.LowerAction, &m_commands, &TextToolsCommands::Lowercase1Click);
    a.route(a.UpperAction, &m_commands, &TextToolsCommands::Uppercase1Click);
    a.route(a.FindAction, &m_commands, &TextToolsCommands::FindActionExecute);
    a.route(a.ReplaceAction, &m_commands, &TextToolsCommands::ReplaceActionExecute);
    a.route(a.FindNextAction, &m_commands, &TextToolsCommands::FindNextActionExecute);
    a.route(a.SpellAction, &m_spell, &SpellCommand::SpellActionExecute);
    a.route(a.Encrypt1, &m_crypt, &TCryptCommands::Encrypt1Click);
    a.route(a.Decrypt1, &m_crypt, &TCryptCommands::Decrypt1Click);
    // These two read or write the window's own controls.
    a.route(a.MenuLetterStyle, this, &TTextToolsConcern::MenuLetterStyleClick);
    a.route(a.WordCount1, this, &TTextToolsConcern::WordCount1Click);

    connect(memo, &TRxRichEdit::OnKeyPress, this, [this](QChar &key) {
        ErrorReport::run(m_context.prompts, &m_context.window, [this, key] {
            m_commands.MemoKeyPress(key, m_context.actions.MenuLetterStyle->isChecked());
        });
    });
    connect(memo, &TRxRichEdit::OnTextNotFound, this, [this](const QString &findText) {
        ErrorReport::run(m_context.prompts, &m_context.window,
                         [this, findText] { m_commands.MemoTextNotFound(findText); });
    });
}

void TTextToolsConcern::MenuLetterStyleClick() {
    QAction *item = m_context.actions.MenuLetterStyle;
    item->setChecked(!item->isChecked());
    try {
        m_commands.LetterStyle(item->isChecked(), m_context.FontSizeBox.text());
    } catch (...) {
        // The pass did not run: a mark left flipped would make the next pass shrink capitals
        // that were never enlarged.
        item->setChecked(!item->isChecked());
        throw;
    }
}

void TTextToolsConcern::WordCount1Click() {
    m_context.status.setTextSized(TStatusPanels::Comments, m_commands.WordCount1Click());
}
