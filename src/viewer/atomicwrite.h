#pragma once

#include "platform/textfile.h"

#include <QByteArray>
#include <optional>

// Writes the bytes as the whole new content of the file through a temporary file renamed over
// it, so a failure leaves the old file whole. Answers the error, if any.
std::optional<TextFileError> writeFileAtomically(const QString &path, const QByteArray &bytes);

// The whole content of a regular file; nullopt with the error when it cannot be read.
std::optional<QByteArray> readWholeFile(const QString &path, TextFileError *error);
