#pragma once

#include "editor/texttools/spellchecker.h"

#include <QString>
#include <QStringList>
#include <memory>

class Prompts;
class QWidget;
class TextToolsTarget;

// The Run menu's "Spell Check": checks the whole text in the spell dialog and returns when the
// user is done, then puts the caret where the check began to count from. The loaded dictionary
// is kept for the next check.
class SpellCommand {
public:
    SpellCommand(TextToolsTarget &memo, Prompts &prompts, QWidget *window,
                 QStringList dictionaryFolders = DefaultDictionaryFolders(),
                 QString personalWordsPath = QString());
    ~SpellCommand();
    SpellCommand(const SpellCommand &) = delete;
    SpellCommand &operator=(const SpellCommand &) = delete;

    void SpellActionExecute();

    // The dictionary last used (empty before the first check).
    QString dictionaryName() const;

private:
    // Loads the dictionary unless it is the one loaded; reports a failure.
    bool load(const SpellDictionary &dictionary);

    TextToolsTarget &m_memo;
    Prompts &m_prompts;
    QWidget *m_window;
    QStringList m_folders;
    QString m_personalPath;
    std::unique_ptr<SpellChecker> m_checker;
};
