#include "convert/office/docxreader.h"

#include "convert/office/documentbuilder.h"
#include "convert/office/zippackage.h"
#include "richtext/rtf/richtextformat.h"

#include <QColor>
#include <QHash>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString R =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString A = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString WP =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
constexpr double EmuPerUnit = 9525.0; // 914400 per inch, 96 units per inch

QString wAttr(const QXmlStreamReader &xml, const char *name) {
    return xml.attributes().value(W, QLatin1String(name)).toString();
}

// An on/off property: present without a value, or with anything but "0", "false", "off".
bool onOff(const QXmlStreamReader &xml) {
    const QString v = wAttr(xml, "val");
    return v.isEmpty() || !(v == QLatin1String("0") || v == QLatin1String("false") ||
                            v == QLatin1String("off") || v == QLatin1String("none"));
}

QColor hexColor(const QString &value) {
    if (value.size() != 6 || value == QLatin1String("auto"))
        return QColor();
    return QColor(QLatin1Char('#') + value);
}

QColor highlightColor(const QString &name) {
    static const QHash<QString, QColor> colors{
        {QStringLiteral("yellow"), QColor(255, 255, 0)},
        {QStringLiteral("green"), QColor(0, 255, 0)},
        {QStringLiteral("cyan"), QColor(0, 255, 255)},
        {QStringLiteral("magenta"), QColor(255, 0, 255)},
        {QStringLiteral("blue"), QColor(0, 0, 255)},
        {QStringLiteral("red"), QColor(255, 0, 0)},
        {QStringLiteral("darkBlue"), QColor(0, 0, 128)},
        {QStringLiteral("darkCyan"), QColor(0, 128, 128)},
        {QStringLiteral("darkGreen"), QColor(0, 128, 0)},
        {QStringLiteral("darkMagenta"), QColor(128, 0, 128)},
        {QStringLiteral("darkRed"), QColor(128, 0, 0)},
        {QStringLiteral("darkYellow"), QColor(128, 128, 0)},
        {QStringLiteral("darkGray"), QColor(128, 128, 128)},
        {QStringLiteral("lightGray"), QColor(192, 192, 192)},
        {QStringLiteral("black"), QColor(0, 0, 0)},
        {QStringLiteral("white"), QColor(255, 255, 255)},
    };
    return colors.value(name);
}

int underlineKind(const QString &value) {
    if (value == QLatin1String("none"))
        return RichTextFormat::utNone;
    if (value == QLatin1String("words"))
        return RichTextFormat::utWord;
    if (value == QLatin1String("double"))
        return RichTextFormat::utDouble;
    if (value.startsWith(QLatin1String("dot")) || value.startsWith(QLatin1String("dash")))
        return RichTextFormat::utDotted;
    if (value.startsWith(QLatin1String("wav")))
        return RichTextFormat::utWave;
    return RichTextFormat::utSolid;
}

QTextListFormat::Style listStyle(const QString &numFmt, const QString &text, int level) {
    if (numFmt == QLatin1String("decimal") || numFmt == QLatin1String("decimalZero"))
        return QTextListFormat::ListDecimal;
    if (numFmt == QLatin1String("lowerLetter"))
        return QTextListFormat::ListLowerAlpha;
    if (numFmt == QLatin1String("upperLetter"))
        return QTextListFormat::ListUpperAlpha;
    if (numFmt == QLatin1String("lowerRoman"))
        return QTextListFormat::ListLowerRoman;
    if (numFmt == QLatin1String("upperRoman"))
        return QTextListFormat::ListUpperRoman;
    if (text == QStringLiteral("o"))
        return QTextListFormat::ListCircle;
    if (text == QString(QChar(0xF0A7)) || text == QString(QChar(0x25AA)))
        return QTextListFormat::ListSquare;
    static const QTextListFormat::Style bullets[] = {
        QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare};
    return bullets[level % 3];
}

// Relationship id to target, from a part's relationships.
QHash<QString, QString> relationships(const QByteArray &bytes) {
    QHash<QString, QString> result;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship"))
            result.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                          xml.attributes().value(QLatin1String("Target")).toString());
    }
    return result;
}

class Reader {
public:
    Reader(const ZipPackage &package, QTextDocument &document)
        : m_package(package)
        , m_builder(document) {}

    std::optional<QString> run() {
        m_rels = relationships(m_package.entry(QStringLiteral("word/_rels/document.xml.rels")));
        readNumbering();
        readStyles();
        QXmlStreamReader xml(m_package.entry(QStringLiteral("word/document.xml")));
        if (!xml.readNextStartElement() || xml.name() != QLatin1String("document"))
            return QStringLiteral("no document part");
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("body"))
                readContainer(xml);
            else
                xml.skipCurrentElement();
        }
        if (xml.hasError())
            return QStringLiteral("damaged document part: ") + xml.errorString();
        return std::nullopt;
    }

private:
    struct Level {
        QString numFmt;
        QString text;
        double indent = 0; // units
    };

    void readNumbering() {
        QXmlStreamReader xml(m_package.entry(QStringLiteral("word/numbering.xml")));
        QHash<QString, QHash<int, Level>> abstracts;
        QString abstractId;
        int level = -1;
        QString num;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            const auto name = xml.name();
            if (name == QLatin1String("abstractNum")) {
                abstractId = wAttr(xml, "abstractNumId");
                num.clear();
            } else if (name == QLatin1String("lvl")) {
                level = wAttr(xml, "ilvl").toInt();
            } else if (name == QLatin1String("numFmt") && level >= 0) {
                abstracts[abstractId][level].numFmt = wAttr(xml, "val");
            } else if (name == QLatin1String("lvlText") && level >= 0) {
                abstracts[abstractId][level].text = wAttr(xml, "val");
            } else if (name == QLatin1String("ind") && level >= 0 && num.isEmpty()) {
                abstracts[abstractId][level].indent =
                    RichTextFormat::twipsToUnits(wAttr(xml, "left").toDouble());
            } else if (name == QLatin1String("num")) {
                num = wAttr(xml, "numId");
                level = -1;
            } else if (name == QLatin1String("abstractNumId") && !num.isEmpty()) {
                m_numbering.insert(num, abstracts.value(wAttr(xml, "val")));
            }
        }
    }

    // The default run format of the document, from the styles part.
    void readStyles() {
        QXmlStreamReader xml(m_package.entry(QStringLiteral("word/styles.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("rPrDefault")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("rPr"))
                        readRunProperties(xml, m_defaultRun);
                    else
                        xml.skipCurrentElement();
                }
                return;
            }
        }
    }

    // The body or a cell: paragraphs and tables.
    void readContainer(QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("p"))
                readParagraph(xml);
            else if (name == QLatin1String("tbl"))
                readTable(xml);
            else if (name == QLatin1String("sdt") || name == QLatin1String("sdtContent") ||
                     name == QLatin1String("customXml") || name == QLatin1String("ins") ||
                     name == QLatin1String("smartTag"))
                readContainer(xml);
            else
                xml.skipCurrentElement();
        }
    }

    void readTable(QXmlStreamReader &xml) {
        m_builder.startTable();
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("tr")) {
                xml.skipCurrentElement();
                continue;
            }
            m_builder.startRow();
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("tc")) {
                    xml.skipCurrentElement();
                    continue;
                }
                bool started = false;
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("tcPr")) {
                        QTextCharFormat shade;
                        while (xml.readNextStartElement()) {
                            if (xml.name() == QLatin1String("shd")) {
                                const QColor fill = hexColor(wAttr(xml, "fill"));
                                if (fill.isValid())
                                    shade.setBackground(fill);
                            }
                            xml.skipCurrentElement();
                        }
                        m_builder.startCell(shade);
                        started = true;
                        continue;
                    }
                    if (!started) {
                        m_builder.startCell();
                        started = true;
                    }
                    if (xml.name() == QLatin1String("p"))
                        readParagraph(xml);
                    else if (xml.name() == QLatin1String("tbl"))
                        readTable(xml);
                    else
                        xml.skipCurrentElement();
                }
                if (!started)
                    m_builder.startCell();
            }
        }
        m_builder.endTable();
    }

    void readParagraph(QXmlStreamReader &xml) {
        QTextBlockFormat block;
        QString numId;
        int level = 0;
        bool started = false;
        auto start = [&] {
            if (started)
                return;
            started = true;
            m_builder.startParagraph(block);
            const auto levels = m_numbering.constFind(numId);
            if (!numId.isEmpty() && numId != QLatin1String("0") && levels != m_numbering.cend()) {
                const Level lvl = levels->value(level);
                QTextListFormat list;
                list.setStyle(listStyle(lvl.numFmt, lvl.text, level));
                list.setIndent(level + 1);
                m_builder.setList(numId + QLatin1Char('/') + QString::number(level), list);
            }
        };
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("pPr")) {
                readParagraphProperties(xml, block, numId, level);
            } else if (name == QLatin1String("r")) {
                start();
                readRun(xml, QString());
            } else if (name == QLatin1String("hyperlink")) {
                start();
                QString href =
                    m_rels.value(xml.attributes().value(R, QLatin1String("id")).toString());
                const QString anchor = wAttr(xml, "anchor");
                if (href.isEmpty() && !anchor.isEmpty())
                    href = QLatin1Char('#') + anchor;
                readRuns(xml, href);
            } else if (name == QLatin1String("ins") || name == QLatin1String("smartTag") ||
                       name == QLatin1String("sdt") || name == QLatin1String("sdtContent") ||
                       name == QLatin1String("fldSimple")) {
                start();
                readRuns(xml, QString());
            } else {
                xml.skipCurrentElement();
            }
        }
        start();
    }

    // Runs inside a hyperlink or another wrapper.
    void readRuns(QXmlStreamReader &xml, const QString &href) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("r"))
                readRun(xml, href);
            else if (xml.name() == QLatin1String("sdtContent") ||
                     xml.name() == QLatin1String("ins") || xml.name() == QLatin1String("smartTag"))
                readRuns(xml, href);
            else
                xml.skipCurrentElement();
        }
    }

    void readParagraphProperties(QXmlStreamReader &xml, QTextBlockFormat &block, QString &numId,
                                 int &level) {
        RichTextFormat::ParagraphIndents indents;
        bool hasIndents = false;
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("jc")) {
                const QString v = wAttr(xml, "val");
                if (v == QLatin1String("center"))
                    block.setAlignment(Qt::AlignHCenter);
                else if (v == QLatin1String("right") || v == QLatin1String("end"))
                    block.setAlignment(Qt::AlignRight);
                else if (v == QLatin1String("both") || v == QLatin1String("distribute"))
                    block.setAlignment(Qt::AlignJustify);
                else
                    block.setAlignment(Qt::AlignLeft);
            } else if (name == QLatin1String("ind")) {
                hasIndents = true;
                const double left = RichTextFormat::twipsToUnits(
                    (wAttr(xml, "left").isEmpty() ? wAttr(xml, "start") : wAttr(xml, "left"))
                        .toDouble());
                const double right = RichTextFormat::twipsToUnits(
                    (wAttr(xml, "right").isEmpty() ? wAttr(xml, "end") : wAttr(xml, "right"))
                        .toDouble());
                double first = RichTextFormat::twipsToUnits(wAttr(xml, "firstLine").toDouble());
                if (!wAttr(xml, "hanging").isEmpty())
                    first = -RichTextFormat::twipsToUnits(wAttr(xml, "hanging").toDouble());
                indents.first = left + first;
                indents.left = -first;
                indents.right = right;
            } else if (name == QLatin1String("spacing")) {
                if (!wAttr(xml, "before").isEmpty())
                    block.setTopMargin(
                        RichTextFormat::twipsToUnits(wAttr(xml, "before").toDouble()));
                if (!wAttr(xml, "after").isEmpty())
                    block.setBottomMargin(
                        RichTextFormat::twipsToUnits(wAttr(xml, "after").toDouble()));
            } else if (name == QLatin1String("numPr")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("numId"))
                        numId = wAttr(xml, "val");
                    else if (xml.name() == QLatin1String("ilvl"))
                        level = qBound(0, wAttr(xml, "val").toInt(), 8);
                    xml.skipCurrentElement();
                }
                continue;
            } else if (name == QLatin1String("pageBreakBefore")) {
                if (onOff(xml))
                    block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            }
            xml.skipCurrentElement();
        }
        if (hasIndents)
            RichTextFormat::setParagraphIndents(block, indents, false);
    }

    void readRunProperties(QXmlStreamReader &xml, QTextCharFormat &format) {
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("b")) {
                format.setFontWeight(onOff(xml) ? QFont::Bold : QFont::Normal);
            } else if (name == QLatin1String("i")) {
                format.setFontItalic(onOff(xml));
            } else if (name == QLatin1String("u")) {
                RichTextFormat::setUnderlineType(format, underlineKind(wAttr(xml, "val")));
            } else if (name == QLatin1String("strike") || name == QLatin1String("dstrike")) {
                format.setFontStrikeOut(onOff(xml));
            } else if (name == QLatin1String("vertAlign")) {
                const QString v = wAttr(xml, "val");
                format.setVerticalAlignment(
                    v == QLatin1String("superscript") ? QTextCharFormat::AlignSuperScript
                    : v == QLatin1String("subscript") ? QTextCharFormat::AlignSubScript
                                                      : QTextCharFormat::AlignNormal);
            } else if (name == QLatin1String("rFonts")) {
                QString family = wAttr(xml, "ascii");
                if (family.isEmpty())
                    family = wAttr(xml, "hAnsi");
                if (!family.isEmpty())
                    format.setFontFamilies({family});
            } else if (name == QLatin1String("sz")) {
                const double halfPoints = wAttr(xml, "val").toDouble();
                if (halfPoints > 0)
                    format.setFontPointSize(halfPoints / 2);
            } else if (name == QLatin1String("color")) {
                const QColor color = hexColor(wAttr(xml, "val"));
                if (color.isValid())
                    format.setForeground(color);
            } else if (name == QLatin1String("highlight")) {
                const QColor color = highlightColor(wAttr(xml, "val"));
                if (color.isValid())
                    format.setBackground(color);
            } else if (name == QLatin1String("shd")) {
                const QColor color = hexColor(wAttr(xml, "fill"));
                if (color.isValid() && !format.hasProperty(QTextFormat::BackgroundBrush))
                    format.setBackground(color);
            }
            xml.skipCurrentElement();
        }
    }

    void readRun(QXmlStreamReader &xml, const QString &href) {
        QTextCharFormat format = m_defaultRun;
        if (!href.isEmpty()) {
            format.setAnchor(true);
            format.setAnchorHref(href);
        }
        while (xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("rPr")) {
                readRunProperties(xml, format);
                continue;
            }
            if (name == QLatin1String("t")) {
                m_builder.addText(xml.readElementText(QXmlStreamReader::IncludeChildElements),
                                  format);
                continue;
            }
            if (name == QLatin1String("tab")) {
                m_builder.addText(QStringLiteral("\t"), format);
            } else if (name == QLatin1String("br")) {
                if (wAttr(xml, "type") == QLatin1String("page")) {
                    m_builder.breakPage();
                    m_builder.startParagraph(QTextBlockFormat());
                } else {
                    m_builder.addText(QString(QChar::LineSeparator), format);
                }
            } else if (name == QLatin1String("drawing")) {
                readDrawing(xml, format);
                continue;
            } else if (name == QLatin1String("noBreakHyphen")) {
                m_builder.addText(QString(QChar(0x2011)), format);
            }
            xml.skipCurrentElement();
        }
    }

    void readDrawing(QXmlStreamReader &xml, const QTextCharFormat &format) {
        double width = 0;
        double height = 0;
        QString embed;
        int depth = 1;
        while (depth > 0 && !xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement()) {
                --depth;
                continue;
            }
            if (!xml.isStartElement())
                continue;
            ++depth;
            if (xml.name() == QLatin1String("extent") && xml.namespaceUri() == WP) {
                width = xml.attributes().value(QLatin1String("cx")).toDouble() / EmuPerUnit;
                height = xml.attributes().value(QLatin1String("cy")).toDouble() / EmuPerUnit;
            } else if (xml.name() == QLatin1String("blip") && xml.namespaceUri() == A) {
                embed = xml.attributes().value(R, QLatin1String("embed")).toString();
            }
        }
        const QString target = m_rels.value(embed);
        if (target.isEmpty())
            return;
        const QString part =
            target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("word/") + target;
        m_builder.addPicture(m_package.entry(part), part, width, height, format);
    }

    const ZipPackage &m_package;
    DocumentBuilder m_builder;
    QHash<QString, QString> m_rels;
    QHash<QString, QHash<int, Level>> m_numbering;
    QTextCharFormat m_defaultRun;
};

} // namespace

namespace DocxReader {

bool recognises(const ZipPackage &package) {
    return package.contains(QStringLiteral("word/document.xml"));
}

std::optional<QString> read(const ZipPackage &package, QTextDocument &document) {
    if (!recognises(package))
        return QStringLiteral("not a text document");
    Reader reader(package, document);
    return reader.run();
}

} // namespace DocxReader
