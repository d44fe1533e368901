#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

// An installed spelling dictionary: the affix and word files of one language.
struct SpellDictionary {
    QString name;    // the files' base name, such as "en_US"
    QString affPath; // NAME.aff
    QString dicPath; // NAME.dic

    // The name with its language spelled out, for the dialog's list.
    QString displayName() const;
};

// Where dictionaries are looked for: the folders of $DICPATH (colon-separated) when set, then the
// system's Hunspell and MySpell folders.
QStringList DefaultDictionaryFolders();

// Every dictionary in the folders (a NAME.aff with NAME.dic beside it), each name once, the first
// folder winning, sorted by name.
QList<SpellDictionary> FindSpellDictionaries(const QStringList &folders);

// The dictionary to start with: the one named `preferred` when present, else the one for the
// system's locale, else American English, else the first. -1 when there is none.
int ChooseSpellDictionary(const QList<SpellDictionary> &dictionaries, const QString &preferred);

// Checks and corrects single words against one loaded dictionary, remembering answers, since a
// document repeats its words.
class SpellChecker {
public:
    explicit SpellChecker(const SpellDictionary &dictionary);
    ~SpellChecker();
    SpellChecker(const SpellChecker &) = delete;
    SpellChecker &operator=(const SpellChecker &) = delete;

    // False when the dictionary's files could not be read.
    bool isValid() const { return m_hunspell != nullptr; }
    const SpellDictionary &dictionary() const { return m_dictionary; }

    bool isCorrect(const QString &word);
    QStringList suggestions(const QString &word);
    // Accepts the word from now on (for this checker's life).
    void addWord(const QString &word);

private:
    std::string encode(const QString &word) const;
    QString decode(const std::string &bytes) const;

    SpellDictionary m_dictionary;
    std::unique_ptr<Hunspell> m_hunspell;
    QString m_encoding; // the dictionary's character set ("UTF-8", "ISO8859-1", ...)
    bool m_utf8 = true;
    QHash<QString, bool> m_known;
};
