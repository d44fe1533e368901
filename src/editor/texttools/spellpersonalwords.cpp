#include "editor/texttools/spellpersonalwords.h"

#include "platform/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    if (const std::optional<QString> reason =
            saveFileAtomically(m_path, m_words.join(u'\n').toUtf8() + '\n'))
        return QStringLiteral("%1: %2").arg(m_path, *reason);
    return {};
}
