#pragma once

#include "editor/texttools/texttools.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

class SpellChecker;
class SpellPersonalWords;
class TextToolsTarget;

// The next word to check in a text whose paragraph breaks are single characters, from a
// position on: a run of letters (with marks and digits), joined by an apostrophe or hyphen
// between letters. Runs holding a digit, and parts of web or mail addresses, are skipped.
std::optional<TextRange> NextSpellWord(const QString &text, int from);

// The paragraph around a range, cut to at most `reach` characters on either side, and the
// range's offset inside it.
struct SpellContext {
    QString text;
    int offset = 0;
};
SpellContext SpellWordContext(const QString &text, const TextRange &word, int reach = 80);

// Where the caret goes after a spell check: the length of the whole text with a CR LF after every
// line, measured before the check.
int SpellCaretPosition(const QString &wholeText);

// One pass of the spell check over the editing area: finds the unknown words in order, selects
// each, and carries out what the user decides, replacing words through the area's selection.
class SpellSession {
public:
    SpellSession(TextToolsTarget &memo, SpellChecker &checker, SpellPersonalWords &personal);

    // Moves to the next unknown word, changing on the way the words the user chose to change
    // every time, and selects it. False when the end of the text is reached.
    bool findNext();

    const QString &word() const { return m_word; }
    TextRange wordRange() const { return m_current; }
    SpellContext context() const;
    QStringList suggestions();
    const SpellChecker &checker() const { return *m_checker; }

    // What the user decided for the current word; findNext moves on afterwards.
    void ignoreAll();
    void change(const QString &replacement);
    void changeAll(const QString &replacement);
    // Answers an error text when the personal word list could not be saved.
    QString add();

    // A different dictionary: the current word is checked again with it.
    void setChecker(SpellChecker &checker);

    int changes() const { return m_changes; }

private:
    void replace(const TextRange &range, const QString &replacement);

    TextToolsTarget &m_memo;
    SpellChecker *m_checker;
    SpellPersonalWords &m_personal;
    QString m_text; // the area's text, kept in step with the replacements made
    int m_pos = 0;
    TextRange m_current;
    QString m_word;
    QSet<QString> m_ignoreAll;
    QHash<QString, QString> m_changeAll;
    int m_changes = 0;
};
