#pragma once

#include "journal/journalentry.h"
#include "platform/namedmutex.h"

#include <QList>
#include <QString>
#include <functional>

// The journal folder and who owns what in it. Every journal belongs to one writer (an editor
// window or a text viewer) known by an owner id; the writer holds the system-wide name
// ownerName(id) for its whole life, so a journal whose name nobody holds was left behind by a
// process that has ended. Only ended owners' journals are ever read, offered or removed here.
namespace JournalStore {

using ClaimFunction = std::function<NamedMutex::Claim(const QString &)>;

// $XDG_DATA_HOME/quillet/journal
QString folder();
// Where journals that cannot be read are moved, so that they are reported once and kept.
QString damagedFolder();

QString newOwnerId();
QString ownerName(const QString &ownerId);
QString pathFor(const QString &folder, const QString &ownerId);

struct Found {
    QString path;
    JournalEntry entry;
};
struct Damaged {
    QString path;
    QString reason;
    QString movedTo; // empty when it could not be moved
};
struct Orphans {
    QList<Found> journals; // oldest first
    QList<Damaged> damaged;
};

// The journals in `folder` whose owner has ended. Each such owner's name is claimed through
// `claim` and stays held by this process, so no other process offers the same journals meanwhile.
// Damaged journals are moved to `damaged` and listed; temporary files an ended owner left while
// writing are removed.
Orphans collectOrphans(const ClaimFunction &claim, const QString &folder = JournalStore::folder(),
                       const QString &damaged = JournalStore::damagedFolder());

// Makes the journal at `path` the one of `ownerId` (a rename inside the folder, so it is never
// missing meanwhile); answers the new path, empty on failure.
QString adopt(const QString &path, const QString &ownerId);

} // namespace JournalStore
