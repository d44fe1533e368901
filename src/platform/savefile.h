#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Writes the whole new content of a file through a temporary file beside it that is renamed over
// it at the end, so a failure or a crash midway leaves the old file whole. The new file keeps the
// permissions of the one it replaces; a symbolic link is followed and its target replaced.
// Answers the system's reason when the file could not be written, nullopt when it was.
std::optional<QString> saveFileAtomically(const QString &path, const QByteArray &bytes);

// The same, for content made piece by piece: `next` answers the following piece, an empty one at
// the end, so that a large file never needs to be held whole.
std::optional<QString> saveFileAtomically(const QString &path,
                                          const std::function<QByteArray()> &next);
