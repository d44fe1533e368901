#pragma once

#include <QByteArray>
#include <QString>

// What the Send Mail command decides and builds before anything reaches the mail program.
namespace MailRequest {

// The recipient filled in for the user to replace: an example address that belongs to nobody.
inline const QString PlaceholderAddress = QStringLiteral("someone@example.org");
inline const QString Subject = QStringLiteral("Send mail with Quillet");
inline const QString NoteText = QStringLiteral("I like this program!!");

// Mail programs take a few kilobytes in an address; a longer body goes as an attached file.
constexpr qsizetype MaximumBody = 8 * 1024;

// A document named ".rtf" (exactly so, lower case), or whose text is not uniformly formatted,
// travels as an attachment; any other as the body of a "mailto:" request.
bool SendsAsAttachment(const QString &documentName, bool formatted);

// The body as it stands in the request: percent-encoded, so that "&", "#", "%" and line breaks
// ("%0D%0A") reach the mail program as text.
QByteArray EncodedBody(const QString &text);

// "mailto:" + placeholder + "?subject=&body=" + the encoded body.
QByteArray Mailto(const QString &text);

} // namespace MailRequest
