#pragma once

#include "journal/journalentry.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The bytes of a journal file: a short header of "key: value" lines (the document name
// percent-encoded, so any file name fits on one line), an empty line, then the content, whose
// length and SHA-1 the header carries so that a damaged file is told from a good one.
namespace JournalFile {

QByteArray encode(const JournalEntry &entry);
// nullopt with the reason when the bytes are not a whole, undamaged journal.
std::optional<JournalEntry> decode(const QByteArray &bytes, QString *reason);

} // namespace JournalFile
