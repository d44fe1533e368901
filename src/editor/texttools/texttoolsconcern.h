#pragma once

#include "crypt/cryptcommands.h"
#include "editor/texttools/spellcommand.h"
#include "editor/texttools/texttoolscommands.h"
#include "editor/texttools/texttoolsrichedit.h"

#include <QObject>

class Prompts;
class QSpinBox;
class QWidget;
class TEditorActions;
class TRxRichEdit;
class TStatusPanels;

// What the text tools reach in the window. Nothing is owned.
struct TextToolsConcernContext {
    QWidget &window;
    TEditorActions &actions;
    TRxRichEdit &Memo;
    TStatusPanels &status;
    QSpinBox &FontSizeBox;
    Prompts &prompts;
};

// The window's text tools, spell check and scrambling: routes their commands and the editing
// area's key-press and not-found notifications to the command classes.
class TTextToolsConcern : public QObject {
    Q_OBJECT

public:
    explicit TTextToolsConcern(TextToolsConcernContext context, QObject *parent = nullptr);

    void MenuLetterStyleClick();
    void WordCount1Click();

    TextToolsCommands &commands() { return m_commands; }
    TCryptCommands &crypt() { return m_crypt; }

private:
    TextToolsConcernContext m_context;
    TextToolsRichEdit m_target;
    TextToolsCommands m_commands;
    SpellCommand m_spell;
    TCryptCommands m_crypt;
};
