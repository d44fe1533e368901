#include "richtext/richtextdocument.h"

#include "richtext/rtf/richtextformat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <vector>

namespace RichTextDocument {

// HTML has no words-only underline, and Qt's own line is off under such text: other programs
// get a full underline rather than none.
void underlineWordsOnlyRunsFully(QTextDocument &document) {
    std::vector<std::pair<int, int>> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (RichTextFormat::underlineType(fragment.charFormat()) == RichTextFormat::utWord)
                runs.emplace_back(fragment.position(), fragment.position() + fragment.length());
        }
    }
    QTextCharFormat solid;
    solid.setFontUnderline(true);
    QTextCursor cursor(&document);
    for (const auto &[start, end] : runs) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(solid);
    }
}

void copyPictures(const QTextDocument &from, QTextDocument &to) {
    for (QTextBlock block = to.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            if (to.resource(QTextDocument::ImageResource, name).isValid())
                continue;
            const QVariant picture = from.resource(QTextDocument::ImageResource, name);
            if (picture.isValid())
                to.addResource(QTextDocument::ImageResource, name, picture);
        }
    }
}

QString withCrLf(const QString &text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (const QChar c : text) {
        if (isLineBreakMark(c.unicode()) || c == u'\n')
            out += QLatin1String("\r\n");
        else
            out += c;
    }
    return out;
}

QString withNewlines(const QString &text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString plainTextOfSelection(QString selected) {
    for (QChar &c : selected) {
        if (isLineBreakMark(c.unicode()))
            c = QLatin1Char('\n');
        else if (c == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    return selected;
}

bool hasRightToLeft(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        // Nothing below the Hebrew block is written from right to left.
        if (c < 0x0590)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const QChar::Direction direction = QChar::direction(c);
        if (direction == QChar::DirR || direction == QChar::DirAL)
            return true;
    }
    return false;
}

bool dropFormats(QTextDocument &document, int carried) {
    if (carried & cfFrames)
        return false;
    QTextCursor cursor(&document);
    // Each step rewrites the whole document; a kind of format nothing carries is left be.
    if (carried & cfCharacters) {
        // Pictures and other objects have no place in plain text; they go, from the end so that
        // the positions still to visit stay put. Objects carry a format of their own, so a
        // document without character formats has none.
        const QString raw = document.toRawText();
        for (qsizetype i = raw.size() - 1; i >= 0; --i) {
            if (raw.at(i) != QChar::ObjectReplacementCharacter)
                continue;
            cursor.setPosition(int(i));
            cursor.setPosition(int(i) + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        cursor.select(QTextCursor::Document);
        cursor.setCharFormat(QTextCharFormat());
    }
    cursor.select(QTextCursor::Document);
    if (carried & cfParagraphs)
        cursor.setBlockFormat(QTextBlockFormat());
    if (carried & cfParagraphMarks)
        cursor.setBlockCharFormat(QTextCharFormat());
    return true;
}

int carriedFormats(const QTextDocument &document) {
    if (!document.rootFrame()->childFrames().isEmpty())
        return cfFrames;
    // The document's formats, by the index its parts refer to them with; a kind of format of
    // which the document holds none that says anything needs no search for it.
    const QList<QTextFormat> formats = document.allFormats();
    std::vector<bool> says(size_t(formats.size()), false);
    int possible = 0;
    for (qsizetype i = 0; i < formats.size(); ++i) {
        if (formats.at(i).properties().isEmpty())
            continue;
        says[size_t(i)] = true;
        if (formats.at(i).isBlockFormat())
            possible |= cfParagraphs;
        else if (formats.at(i).isCharFormat())
            possible |= cfParagraphMarks | cfCharacters;
    }
    const auto saysSomething = [&says](int index) {
        return index >= 0 && size_t(index) < says.size() && says[size_t(index)];
    };
    int carried = 0;
    for (QTextBlock block = document.begin(); block.isValid() && carried != possible;
         block = block.next()) {
        if ((possible & cfParagraphs) && saysSomething(block.blockFormatIndex()))
            carried |= cfParagraphs;
        if ((possible & cfParagraphMarks) && saysSomething(block.charFormatIndex()))
            carried |= cfParagraphMarks;
        if ((carried & cfCharacters) || !(possible & cfCharacters))
            continue;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (saysSomething(it.fragment().charFormatIndex())) {
                carried |= cfCharacters;
                break;
            }
        }
    }
    return carried;
}

} // namespace RichTextDocument
