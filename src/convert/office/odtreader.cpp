#include "convert/office/odtreader.h"

#include "convert/office/documentbuilder.h"
#include "convert/office/zippackage.h"
#include "richtext/rtf/richtextformat.h"

#include <QColor>
#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace {

const QString Office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString Style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString Text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString Table = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString Fo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString Svg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString XLink = QStringLiteral("http://www.w3.org/1999/xlink");

// "1.5cm", "12pt", "0.25in", "10mm", "96px" in document units; 0 when unreadable.
double length(const QString &value) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*(-?[0-9.]+)\\s*([a-z]*)\\s*$"));
    const QRegularExpressionMatch m = pattern.match(value);
    if (!m.hasMatch())
        return 0;
    const double number = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == QLatin1String("cm"))
        return number * 96 / 2.54;
    if (unit == QLatin1String("mm"))
        return number * 96 / 25.4;
    if (unit == QLatin1String("in"))
        return number * 96;
    if (unit == QLatin1String("pt"))
        return number * 96 / 72;
    if (unit == QLatin1String("pc"))
        return number * 96 / 6;
    return number;
}

// One named style: what it sets of the character and paragraph formats, and its parent.
struct OdfStyle {
    QString parent;
    QTextCharFormat character;
    QTextBlockFormat paragraph;
    bool hasIndents = false;
    RichTextFormat::ParagraphIndents indents;
    QString listStyle;
    QTextCharFormat cell; // a table cell's background
};

struct OdfListLevel {
    QTextListFormat::Style style = QTextListFormat::ListDisc;
};

class Reader {
public:
    Reader(const ZipPackage &package, QTextDocument &document)
        : m_package(package)
        , m_builder(document) {}

    std::optional<QString> run() {
        {
            QXmlStreamReader styles(m_package.entry(QStringLiteral("styles.xml")));
            readStylesPart(styles);
        }
        QXmlStreamReader xml(m_package.entry(QStringLiteral("content.xml")));
        if (!xml.readNextStartElement() || xml.name() != QLatin1String("document-content"))
            return QStringLiteral("no content part");
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("automatic-styles"))
                readStyles(xml);
            else if (xml.name() == QLatin1String("body"))
                readBody(xml);
            else
                xml.skipCurrentElement();
        }
        if (xml.hasError())
            return QStringLiteral("damaged content part: ") + xml.errorString();
        return std::nullopt;
    }

private:
    void readStylesPart(QXmlStreamReader &xml) {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && (xml.name() == QLatin1String("styles") ||
                                         xml.name() == QLatin1String("automatic-styles")))
                readStyles(xml);
        }
    }

    void readStyles(QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("style")) {
                readStyle(xml);
            } else if (xml.name() == QLatin1String("list-style")) {
                readListStyle(xml);
            } else if (xml.name() == QLatin1String("default-style") &&
                       xml.attributes().value(Style, QLatin1String("family")) ==
                           QLatin1String("paragraph")) {
                readStyleProperties(xml, m_default);
            } else {
                xml.skipCurrentElement();
            }
        }
    }

    void readStyle(QXmlStreamReader &xml) {
        const QString name = xml.attributes().value(Style, QLatin1String("name")).toString();
        OdfStyle style;
        style.parent = xml.attributes().value(Style, QLatin1String("parent-style-name")).toString();
        style.listStyle =
            xml.attributes().value(Style, QLatin1String("list-style-name")).toString();
        readStyleProperties(xml, style);
        m_styles.insert(name, style);
    }

    void readStyleProperties(QXmlStreamReader &xml, OdfStyle &style) {
        while (xml.readNextStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("text-properties")) {
                QTextCharFormat &f = style.character;
                if (a.hasAttribute(Fo, QLatin1String("font-weight")))
                    f.setFontWeight(a.value(Fo, QLatin1String("font-weight")) ==
                                            QLatin1String("normal")
                                        ? QFont::Normal
                                        : QFont::Bold);
                if (a.hasAttribute(Fo, QLatin1String("font-style")))
                    f.setFontItalic(a.value(Fo, QLatin1String("font-style")) !=
                                    QLatin1String("normal"));
                if (a.hasAttribute(Style, QLatin1String("text-underline-style"))) {
                    const auto u = a.value(Style, QLatin1String("text-underline-style"));
                    int kind = RichTextFormat::utSolid;
                    if (u == QLatin1String("none"))
                        kind = RichTextFormat::utNone;
                    else if (u == QLatin1String("wave"))
                        kind = RichTextFormat::utWave;
                    else if (u.startsWith(QLatin1String("dot")) ||
                             u.startsWith(QLatin1String("dash")))
                        kind = RichTextFormat::utDotted;
                    else if (a.value(Style, QLatin1String("text-underline-type")) ==
                             QLatin1String("double"))
                        kind = RichTextFormat::utDouble;
                    else if (a.value(Style, QLatin1String("text-underline-mode")) ==
                             QLatin1String("skip-white-space"))
                        kind = RichTextFormat::utWord;
                    RichTextFormat::setUnderlineType(f, kind);
                }
                for (const char *through : {"text-line-through-style", "text-line-through-type"})
                    if (a.hasAttribute(Style, QLatin1String(through)))
                        f.setFontStrikeOut(a.value(Style, QLatin1String(through)) !=
                                           QLatin1String("none"));
                if (a.hasAttribute(Style, QLatin1String("text-position"))) {
                    const QString p = a.value(Style, QLatin1String("text-position")).toString();
                    f.setVerticalAlignment(
                        p.startsWith(QLatin1String("super")) ? QTextCharFormat::AlignSuperScript
                        : p.startsWith(QLatin1String("sub")) || p.startsWith(QLatin1Char('-'))
                            ? QTextCharFormat::AlignSubScript
                        : p.startsWith(QLatin1String("0")) ? QTextCharFormat::AlignNormal
                                                           : QTextCharFormat::AlignSuperScript);
                }
                QString family = a.value(Fo, QLatin1String("font-family")).toString();
                if (family.isEmpty())
                    family = a.value(Style, QLatin1String("font-name")).toString();
                family.remove(QLatin1Char('\''));
                if (!family.isEmpty())
                    f.setFontFamilies({family});
                const QString size = a.value(Fo, QLatin1String("font-size")).toString();
                if (size.endsWith(QLatin1String("pt")))
                    f.setFontPointSize(size.chopped(2).toDouble());
                const QColor color(a.value(Fo, QLatin1String("color")).toString());
                if (color.isValid())
                    f.setForeground(color);
                const QColor background(a.value(Fo, QLatin1String("background-color")).toString());
                if (background.isValid())
                    f.setBackground(background);
            } else if (xml.name() == QLatin1String("paragraph-properties")) {
                QTextBlockFormat &b = style.paragraph;
                const auto align = a.value(Fo, QLatin1String("text-align"));
                if (align == QLatin1String("center"))
                    b.setAlignment(Qt::AlignHCenter);
                else if (align == QLatin1String("end") || align == QLatin1String("right"))
                    b.setAlignment(Qt::AlignRight);
                else if (align == QLatin1String("justify"))
                    b.setAlignment(Qt::AlignJustify);
                else if (!align.isEmpty())
                    b.setAlignment(Qt::AlignLeft);
                if (a.hasAttribute(Fo, QLatin1String("margin-left")) ||
                    a.hasAttribute(Fo, QLatin1String("text-indent")) ||
                    a.hasAttribute(Fo, QLatin1String("margin-right"))) {
                    style.hasIndents = true;
                    const double left =
                        length(a.value(Fo, QLatin1String("margin-left")).toString());
                    const double first =
                        length(a.value(Fo, QLatin1String("text-indent")).toString());
                    style.indents = {left + first, -first,
                                     length(a.value(Fo, QLatin1String("margin-right")).toString())};
                }
                if (a.hasAttribute(Fo, QLatin1String("margin-top")))
                    b.setTopMargin(length(a.value(Fo, QLatin1String("margin-top")).toString()));
                if (a.hasAttribute(Fo, QLatin1String("margin-bottom")))
                    b.setBottomMargin(
                        length(a.value(Fo, QLatin1String("margin-bottom")).toString()));
                if (a.value(Fo, QLatin1String("break-before")) == QLatin1String("page"))
                    b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            } else if (xml.name() == QLatin1String("table-cell-properties")) {
                const QColor background(a.value(Fo, QLatin1String("background-color")).toString());
                if (background.isValid())
                    style.cell.setBackground(background);
            }
            xml.skipCurrentElement();
        }
    }

    void readListStyle(QXmlStreamReader &xml) {
        const QString name = xml.attributes().value(Style, QLatin1String("name")).toString();
        QHash<int, OdfListLevel> levels;
        while (xml.readNextStartElement()) {
            const int level = xml.attributes().value(Text, QLatin1String("level")).toInt();
            OdfListLevel l;
            if (xml.name() == QLatin1String("list-level-style-number")) {
                const auto format = xml.attributes().value(Style, QLatin1String("num-format"));
                l.style = format == QLatin1String("a")   ? QTextListFormat::ListLowerAlpha
                          : format == QLatin1String("A") ? QTextListFormat::ListUpperAlpha
                          : format == QLatin1String("i") ? QTextListFormat::ListLowerRoman
                          : format == QLatin1String("I") ? QTextListFormat::ListUpperRoman
                                                         : QTextListFormat::ListDecimal;
            } else {
                const QString bullet =
                    xml.attributes().value(Text, QLatin1String("bullet-char")).toString();
                l.style = bullet == QStringLiteral("◦") || bullet == QStringLiteral("o")
                              ? QTextListFormat::ListCircle
                          : bullet == QStringLiteral("▪") || bullet == QStringLiteral("■")
                              ? QTextListFormat::ListSquare
                              : QTextListFormat::ListDisc;
            }
            levels.insert(level, l);
            xml.skipCurrentElement();
        }
        m_lists.insert(name, levels);
    }

    // The style with its parents applied under it.
    OdfStyle resolved(const QString &name, int depth = 0) const {
        const auto it = m_styles.constFind(name);
        if (it == m_styles.cend() || depth > 20)
            return depth == 0 ? m_default : OdfStyle();
        OdfStyle base = it->parent.isEmpty() ? m_default : resolved(it->parent, depth + 1);
        base.character.merge(it->character);
        base.paragraph.merge(it->paragraph);
        base.cell.merge(it->cell);
        if (it->hasIndents) {
            base.hasIndents = true;
            base.indents = it->indents;
        }
        if (!it->listStyle.isEmpty())
            base.listStyle = it->listStyle;
        return base;
    }

    void readBody(QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("text"))
                readContainer(xml, {});
            else
                xml.skipCurrentElement();
        }
    }

    struct ListContext {
        QString style;
        QString key;
        int level = 0; // 0: not in a list
    };

    void readContainer(QXmlStreamReader &xml, const ListContext &list) {
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("p") || name == QLatin1String("h")) {
                readParagraph(xml, list);
            } else if (name == QLatin1String("list")) {
                ListContext inner = list;
                const QString style =
                    xml.attributes().value(Text, QLatin1String("style-name")).toString();
                if (!style.isEmpty())
                    inner.style = style;
                if (inner.level == 0)
                    inner.key = QString::number(++m_listCount);
                ++inner.level;
                readContainer(xml, inner);
            } else if (name == QLatin1String("list-item") || name == QLatin1String("list-header") ||
                       name == QLatin1String("section") || name == QLatin1String("index-body") ||
                       name == QLatin1String("table-of-content")) {
                readContainer(xml, list);
            } else if (name == QLatin1String("table")) {
                readTable(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
    }

    void readTable(QXmlStreamReader &xml) {
        m_builder.startTable();
        readRows(xml);
        m_builder.endTable();
    }

    void readRows(QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("table-row")) {
                m_builder.startRow();
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("table-cell")) {
                        const QString style =
                            xml.attributes().value(Table, QLatin1String("style-name")).toString();
                        m_builder.startCell(resolved(style).cell);
                        readContainer(xml, {});
                    } else {
                        xml.skipCurrentElement();
                    }
                }
            } else if (name == QLatin1String("table-header-rows") ||
                       name == QLatin1String("table-rows") ||
                       name == QLatin1String("table-row-group")) {
                readRows(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
    }

    void readParagraph(QXmlStreamReader &xml, const ListContext &list) {
        const OdfStyle style =
            resolved(xml.attributes().value(Text, QLatin1String("style-name")).toString());
        QTextBlockFormat block = style.paragraph;
        if (style.hasIndents)
            RichTextFormat::setParagraphIndents(block, style.indents, false);
        m_builder.startParagraph(block);
        m_afterBlank = true;
        if (list.level > 0) {
            QTextListFormat format;
            const int level = qBound(1, list.level, 9);
            format.setStyle(m_lists.value(list.style).value(level).style);
            format.setIndent(level);
            m_builder.setList(list.key + QLatin1Char('/') + QString::number(level), format);
        }
        readSpans(xml, style.character);
    }

    void readSpans(QXmlStreamReader &xml, const QTextCharFormat &format) {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement())
                return;
            if (xml.isCharacters()) {
                // Blanks and line breaks of the source collapse to one blank, and none starts a
                // paragraph; <text:s/> stands for the blanks that count.
                QString text;
                for (const QChar c : xml.text()) {
                    const bool blank = c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
                                       c == QLatin1Char('\r') || c == QLatin1Char('\n');
                    if (blank && m_afterBlank)
                        continue;
                    text += blank ? QLatin1Char(' ') : c;
                    m_afterBlank = blank;
                }
                if (!text.isEmpty())
                    m_builder.addText(text, format);
                continue;
            }
            if (!xml.isStartElement())
                continue;
            const auto name = xml.name();
            if (name == QLatin1String("span")) {
                QTextCharFormat inner = format;
                inner.merge(
                    resolved(xml.attributes().value(Text, QLatin1String("style-name")).toString())
                        .character);
                readSpans(xml, inner);
            } else if (name == QLatin1String("a")) {
                QTextCharFormat inner = format;
                inner.setAnchor(true);
                inner.setAnchorHref(
                    xml.attributes().value(XLink, QLatin1String("href")).toString());
                readSpans(xml, inner);
            } else if (name == QLatin1String("s")) {
                const int count =
                    qBound(1, xml.attributes().value(Text, QLatin1String("c")).toInt(), 1000);
                m_builder.addText(QString(count, QLatin1Char(' ')), format);
                m_afterBlank = false;
                xml.skipCurrentElement();
            } else if (name == QLatin1String("tab")) {
                m_builder.addText(QStringLiteral("\t"), format);
                m_afterBlank = false;
                xml.skipCurrentElement();
            } else if (name == QLatin1String("line-break")) {
                m_builder.addText(QString(QChar::LineSeparator), format);
                m_afterBlank = false;
                xml.skipCurrentElement();
            } else if (name == QLatin1String("frame")) {
                readFrame(xml, format);
                m_afterBlank = false;
            } else if (name == QLatin1String("note") || name == QLatin1String("annotation") ||
                       name == QLatin1String("bookmark") ||
                       name == QLatin1String("soft-page-break")) {
                xml.skipCurrentElement();
            } else {
                // Fields and other inline elements: their text stays.
                readSpans(xml, format);
            }
        }
    }

    void readFrame(QXmlStreamReader &xml, const QTextCharFormat &format) {
        const double width = length(xml.attributes().value(Svg, QLatin1String("width")).toString());
        const double height =
            length(xml.attributes().value(Svg, QLatin1String("height")).toString());
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("image")) {
                const QString href =
                    xml.attributes().value(XLink, QLatin1String("href")).toString();
                if (m_package.contains(href))
                    m_builder.addPicture(m_package.entry(href), href, width, height, format);
            }
            xml.skipCurrentElement();
        }
    }

    const ZipPackage &m_package;
    DocumentBuilder m_builder;
    QHash<QString, OdfStyle> m_styles;
    OdfStyle m_default;
    QHash<QString, QHash<int, OdfListLevel>> m_lists;
    int m_listCount = 0;
    bool m_afterBlank = false; // the text so far ends in a collapsible blank
};

} // namespace

namespace OdtReader {

bool recognises(const ZipPackage &package) {
    return package.contains(QStringLiteral("content.xml")) &&
           (package.entry(QStringLiteral("mimetype"))
                .startsWith("application/vnd.oasis.opendocument.text") ||
            !package.contains(QStringLiteral("mimetype")));
}

std::optional<QString> read(const ZipPackage &package, QTextDocument &document) {
    if (!recognises(package))
        return QStringLiteral("not a text document");
    Reader reader(package, document);
    return reader.run();
}

} // namespace OdtReader
