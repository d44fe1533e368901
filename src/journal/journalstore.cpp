#include "journal/journalstore.h"

#include "journal/journalfile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>

namespace {

constexpr char Suffix[] = ".journal";

QString dataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("quillet"));
}

bool validOwnerId(const QString &id) {
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

} // namespace

namespace JournalStore {

QString folder() {
    return QDir(dataFolder()).filePath(QStringLiteral("journal"));
}

QString damagedFolder() {
    return QDir(dataFolder()).filePath(QStringLiteral("journal-damaged"));
}

QString newOwnerId() {
    QRandomGenerator *random = QRandomGenerator::system();
    return QString::number(random->generate64(), 16).rightJustified(16, QLatin1Char('0'));
}

QString ownerName(const QString &ownerId) {
    return QStringLiteral("Quillet_Journal_") + ownerId;
}

QString pathFor(const QString &folder, const QString &ownerId) {
    return QDir(folder).filePath(ownerId + QLatin1String(Suffix));
}

Orphans collectOrphans(const ClaimFunction &claim, const QString &folder, const QString &damaged) {
    Orphans orphans;
    const QDir dir(folder);
    // "<owner>.journal" and the temporary "<owner>.journal.XXXXXX" of an interrupted write.
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.journal"), QStringLiteral("*.journal.*")},
                          QDir::Files | QDir::Hidden, QDir::Name);
    QHash<QString, bool> ended;
    for (const QFileInfo &file : files) {
        const QString name = file.fileName();
        const QString owner = name.left(name.indexOf(QLatin1Char('.')));
        if (!validOwnerId(owner))
            continue;
        if (!ended.contains(owner))
            ended.insert(owner, claim && claim(ownerName(owner)) == NamedMutex::Claim::Created);
        if (!ended.value(owner))
            continue;
        if (!name.endsWith(QLatin1String(Suffix))) {
            QFile::remove(file.filePath());
            continue;
        }
        QString reason;
        std::optional<QByteArray> bytes = readWholeFile(file.filePath(), &reason);
        std::optional<JournalEntry> entry;
        if (bytes)
            entry = JournalFile::decode(*bytes, &reason);
        if (entry) {
            orphans.journals.append(Found{file.filePath(), *entry});
            continue;
        }
        Damaged report{file.filePath(), reason, QString()};
        if (QDir().mkpath(damaged)) {
            const QString target = QDir(damaged).filePath(name);
            QFile::remove(target);
            if (QFile::rename(file.filePath(), target))
                report.movedTo = target;
        }
        orphans.damaged.append(report);
    }
    std::stable_sort(orphans.journals.begin(), orphans.journals.end(),
                     [](const Found &a, const Found &b) { return a.entry.time < b.entry.time; });
    return orphans;
}

QString adopt(const QString &path, const QString &ownerId) {
    const QString target = pathFor(QFileInfo(path).absolutePath(), ownerId);
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(target).absoluteFilePath())
        return target;
    QFile::remove(target);
    return QFile::rename(path, target) ? target : QString();
}

} // namespace JournalStore
