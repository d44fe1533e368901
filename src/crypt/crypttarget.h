#pragma once

#include <QString>

// The editing area as the scrambling commands see it; the editor window implements it over its
// rich text control.
class CryptTarget {
public:
    virtual ~CryptTarget() = default;

    // The whole text exactly as stored: paragraphs joined by CR LF (no break after the last one),
    // every other character unchanged (a no-break space stays one).
    virtual QString plainText() const = 0;

    // Replaces the whole document by this text in the default character format, every CR LF
    // becoming a paragraph break; all formatting, objects and pictures go.
    virtual void setPlainText(const QString &text) = 0;

    virtual void setModified(bool modified) = 0;
};
