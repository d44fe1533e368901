#pragma once

#include <QString>

// Recognises links typed into the text (web and mail addresses), as the control underlines and
// reports them on a click.
namespace RichTextLinks {

// The link that covers `offset` in `text` (one paragraph), or an empty string. A link is a run
// without blanks that starts with a known scheme ("http://", "mailto:", ...) or with "www.";
// closing punctuation at its end does not belong to it.
QString urlAt(const QString &text, int offset);

} // namespace RichTextLinks
