#include "editor/texttools/spellpersonalwords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString SpellPersonalWords::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/quillet/personal-words.txt");
}

SpellPersonalWords::SpellPersonalWords(QString path)
    : m_path(std::move(path)) {}

void SpellPersonalWords::load() {
    m_words.clear();
    m_set.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (!line.isEmpty() && !m_set.contains(line)) {
            m_words << line;
            m_set.insert(line);
        }
    }
}

QString SpellPersonalWords::add(const QString &word) {
    if (word.isEmpty() || m_set.contains(word))
        return {};
    m_words << word;
    m_set.insert(word);

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: %2").arg(m_path, file.errorString());
    file.write(m_words.join(u'\n').toUtf8());
    file.write("\n");
    if (!file.commit())
        return QStringLiteral("%1: %2").arg(m_path, file.errorString());
    return {};
}
