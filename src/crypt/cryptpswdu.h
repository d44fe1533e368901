#pragma once

#include <QString>
#include <optional>

// The password scrambling of the whole document text.
//
// Text and password are read one byte per character in the Windows-1252 code page (the five
// bytes that code page leaves undefined stand for the C1 characters of the same code), and each
// text byte is shifted by the password byte in turn, modulo 256. Files scrambled by earlier
// versions of the program depend on exactly these bytes, so whenever the shifted bytes can stand
// in the document unchanged, that is the result.
//
// Everything else (characters outside the code page, a NUL, a lone CR or LF, a shifted byte that
// would come out as a control character or a space) gets the extended form instead: a first line
// "!QVS1!" and then the shifted UTF-8 bytes of the text with a check value, written with 32
// punctuation characters in lines of 64. It holds any text, survives line-break and encoding
// changes when saved as plain text, and still looks scrambled to the plausibility test.
//
// DecryptText(EncryptText(x, p), p) == x for every text x and non-empty password p.

// The text with line breaks as CR LF, scrambled with the password; an empty password changes
// nothing.
QString EncryptText(const QString &text, const QString &password);

// The text unscrambled with the password; an empty password changes nothing. nullopt when the
// text cannot be unscrambled with this password without losing characters: an extended form
// whose check value does not match, characters outside the code page, or bytes that would come
// out as a NUL or a lone CR or LF.
std::optional<QString> DecryptText(const QString &text, const QString &password);

// The plausibility ratio: the length of the text divided, remainder dropped, by one more than the
// number of its digits and letters A to Z (small letters a to z counted as capitals). Prose gives
// 1 or less; scrambled text 2 or more.
int CryptRatio(const QString &text);

// A command has passed its plausibility check and waits for the password dialog's "OK" button.
// Shared by every password dialog of a window, so that a request left pending by one dialog is
// carried out by the next.
struct CryptRequests {
    bool EncryptRequested = false;
    bool DecryptRequested = false;
};
