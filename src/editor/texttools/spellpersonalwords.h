#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The user's own accepted words, one a line in a UTF-8 file that every dictionary shares.
class SpellPersonalWords {
public:
    // $XDG_DATA_HOME/quillet/personal-words.txt
    static QString defaultPath();

    explicit SpellPersonalWords(QString path = defaultPath());

    // Reads the file; a missing file is an empty list.
    void load();
    const QStringList &words() const { return m_words; }
    bool contains(const QString &word) const { return m_set.contains(word); }

    // Adds the word and writes the whole list atomically. Answers an error text when the file
    // could not be written (the word stays added for this run), empty on success.
    QString add(const QString &word);

private:
    QString m_path;
    QStringList m_words;
    QSet<QString> m_set;
};
