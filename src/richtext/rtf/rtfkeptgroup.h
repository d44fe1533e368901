#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// RTF the reader kept as it came (groups it does not show, page and section words) and the
// writer puts back. Such bytes name fonts and colours by the numbers of the file they came
// from; the writer numbers its own tables, so it renumbers them on the way out.
namespace RtfKeptGroup {

// The kept bytes with the parameter of every font word (\f, \af, ...) and colour word (\cf,
// \cb, \highlight, ...) replaced by what `font` and `color` answer for it. Everything else,
// binary data included, stays byte for byte.
QByteArray renumbered(QByteArrayView bytes, const std::function<int(int)> &font,
                      const std::function<int(int)> &color);

// The text of a footnote, endnote or comment kept in these bytes, as plain text (paragraphs
// separated by line breaks); empty when they hold none.
QString noteText(QByteArrayView bytes);

} // namespace RtfKeptGroup
