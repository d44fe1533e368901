#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Plain text written as RTF without a document in between, piece by piece, so that a text of
// millions of lines becomes RTF in one pass and little memory: the same bytes the RTF writer
// makes of a plain-text document (one font, every paragraph in the default format).
class PlainTextRtf {
public:
    // The text's font: its family and size in points.
    PlainTextRtf(const QString &family, double pointSize);

    // The header, before the first paragraph.
    QByteArray header() const;
    // One paragraph (a line without its break) appended to `out`.
    void appendParagraph(QByteArray &out, QStringView line) const;
    // The end of the file.
    static QByteArray footer() { return QByteArrayLiteral("}\n"); }

    // The whole RTF of a text whose lines end with '\n'; every line is a paragraph, an empty
    // one after a last break too (as a document holds it).
    QByteArray rtf(QStringView text) const;

private:
    QString m_family;
    QByteArray m_run; // "\f0\fsN"
};
