#include "convert/office/docxwriter.h"

#include "convert/office/zippackage.h"
#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfformatproperties.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QXmlStreamWriter>
#include <cmath>

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString R =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString WP =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString A = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString PIC = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString RelBase =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
constexpr double EmuPerUnit = 9525.0;

QString twips(double units) {
    return QString::number(RichTextFormat::unitsToTwips(units));
}

QString hex(const QColor &color) {
    return color.name().mid(1).toUpper();
}

struct Picture {
    QString part; // "media/image1.png"
    QByteArray bytes;
};

class Writer {
public:
    explicit Writer(const QTextDocument &document)
        : m_document(document) {}

    std::optional<QByteArray> run() {
        QByteArray body;
        {
            QXmlStreamWriter xml(&body);
            xml.setAutoFormatting(false);
            xml.writeStartDocument(QStringLiteral("1.0"), true);
            xml.writeNamespace(W, QStringLiteral("w"));
            xml.writeNamespace(R, QStringLiteral("r"));
            xml.writeNamespace(WP, QStringLiteral("wp"));
            xml.writeNamespace(A, QStringLiteral("a"));
            xml.writeNamespace(PIC, QStringLiteral("pic"));
            xml.writeStartElement(W, QStringLiteral("document"));
            xml.writeStartElement(W, QStringLiteral("body"));
            writeFrame(xml, m_document.rootFrame());
            xml.writeEndElement();
            xml.writeEndElement();
            xml.writeEndDocument();
        }
        ZipWriter zip;
        zip.add(QStringLiteral("[Content_Types].xml"), contentTypes());
        zip.add(QStringLiteral("_rels/.rels"), packageRels());
        zip.add(QStringLiteral("word/document.xml"), body);
        zip.add(QStringLiteral("word/styles.xml"), styles());
        zip.add(QStringLiteral("word/numbering.xml"), numbering());
        zip.add(QStringLiteral("word/_rels/document.xml.rels"), documentRels());
        for (const Picture &picture : std::as_const(m_pictures))
            zip.add(QStringLiteral("word/") + picture.part, picture.bytes, true);
        return zip.finish();
    }

private:
    void writeFrame(QXmlStreamWriter &xml, QTextFrame *frame) {
        bool wroteLast = false;
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(child))
                    writeTable(xml, table);
                wroteLast = false;
            } else {
                writeParagraph(xml, it.currentBlock());
                wroteLast = true;
            }
        }
        // A cell and the body end in a paragraph.
        if (!wroteLast) {
            xml.writeStartElement(W, QStringLiteral("p"));
            xml.writeEndElement();
        }
    }

    void writeTable(QXmlStreamWriter &xml, QTextTable *table) {
        xml.writeStartElement(W, QStringLiteral("tbl"));
        xml.writeStartElement(W, QStringLiteral("tblPr"));
        xml.writeStartElement(W, QStringLiteral("tblBorders"));
        for (const char *side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
            xml.writeEmptyElement(W, QLatin1String(side));
            xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("single"));
            xml.writeAttribute(W, QStringLiteral("sz"), QStringLiteral("4"));
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(W, QStringLiteral("tblGrid"));
        for (int c = 0; c < table->columns(); ++c)
            xml.writeEmptyElement(W, QStringLiteral("gridCol"));
        xml.writeEndElement();
        for (int r = 0; r < table->rows(); ++r) {
            xml.writeStartElement(W, QStringLiteral("tr"));
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue; // covered by a span
                xml.writeStartElement(W, QStringLiteral("tc"));
                xml.writeStartElement(W, QStringLiteral("tcPr"));
                if (cell.columnSpan() > 1) {
                    xml.writeEmptyElement(W, QStringLiteral("gridSpan"));
                    xml.writeAttribute(W, QStringLiteral("val"),
                                       QString::number(cell.columnSpan()));
                }
                const QTextCharFormat format = cell.format();
                if (format.hasProperty(QTextFormat::BackgroundBrush) &&
                    format.background().style() != Qt::NoBrush) {
                    xml.writeEmptyElement(W, QStringLiteral("shd"));
                    xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("clear"));
                    xml.writeAttribute(W, QStringLiteral("fill"), hex(format.background().color()));
                }
                xml.writeEndElement();
                bool wroteLast = false;
                for (auto it = cell.begin(); !it.atEnd(); ++it) {
                    if (QTextFrame *child = it.currentFrame()) {
                        if (auto *inner = qobject_cast<QTextTable *>(child))
                            writeTable(xml, inner);
                        wroteLast = false;
                    } else {
                        writeParagraph(xml, it.currentBlock());
                        wroteLast = true;
                    }
                }
                if (!wroteLast) {
                    xml.writeStartElement(W, QStringLiteral("p"));
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }

    void writeParagraph(QXmlStreamWriter &xml, const QTextBlock &block) {
        const QTextBlockFormat format = block.blockFormat();
        xml.writeStartElement(W, QStringLiteral("p"));
        xml.writeStartElement(W, QStringLiteral("pPr"));
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            xml.writeEmptyElement(W, QStringLiteral("pageBreakBefore"));
        if (QTextList *list = block.textList()) {
            xml.writeStartElement(W, QStringLiteral("numPr"));
            xml.writeEmptyElement(W, QStringLiteral("ilvl"));
            xml.writeAttribute(W, QStringLiteral("val"),
                               QString::number(qBound(0, list->format().indent() - 1, 8)));
            xml.writeEmptyElement(W, QStringLiteral("numId"));
            xml.writeAttribute(W, QStringLiteral("val"), QString::number(listId(list)));
            xml.writeEndElement();
        }
        if (format.topMargin() > 0 || format.bottomMargin() > 0) {
            xml.writeEmptyElement(W, QStringLiteral("spacing"));
            xml.writeAttribute(W, QStringLiteral("before"), twips(format.topMargin()));
            xml.writeAttribute(W, QStringLiteral("after"), twips(format.bottomMargin()));
        }
        const RichTextFormat::ParagraphIndents indents = RichTextFormat::paragraphIndents(format);
        if (!block.textList() && (indents.first != 0 || indents.left != 0 || indents.right != 0)) {
            xml.writeEmptyElement(W, QStringLiteral("ind"));
            xml.writeAttribute(W, QStringLiteral("left"), twips(indents.first + indents.left));
            xml.writeAttribute(W, QStringLiteral("right"), twips(indents.right));
            if (indents.left > 0)
                xml.writeAttribute(W, QStringLiteral("hanging"), twips(indents.left));
            else
                xml.writeAttribute(W, QStringLiteral("firstLine"), twips(-indents.left));
        }
        const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
        const char *jc = align & Qt::AlignHCenter   ? "center"
                         : align & Qt::AlignRight   ? "right"
                         : align & Qt::AlignJustify ? "both"
                                                    : nullptr;
        if (jc) {
            xml.writeEmptyElement(W, QStringLiteral("jc"));
            xml.writeAttribute(W, QStringLiteral("val"), QLatin1String(jc));
        }
        xml.writeEndElement();

        QString openLink;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat charFormat = fragment.charFormat();
            const QString href = charFormat.isAnchor() ? charFormat.anchorHref() : QString();
            if (href != openLink) {
                if (!openLink.isEmpty())
                    xml.writeEndElement();
                if (!href.isEmpty()) {
                    xml.writeStartElement(W, QStringLiteral("hyperlink"));
                    if (href.startsWith(QLatin1Char('#')))
                        xml.writeAttribute(W, QStringLiteral("anchor"), href.mid(1));
                    else
                        xml.writeAttribute(R, QStringLiteral("id"), linkId(href));
                }
                openLink = href;
            }
            if (charFormat.isImageFormat())
                writePicture(xml, charFormat.toImageFormat());
            else
                writeRun(xml, fragment.text(), charFormat);
        }
        if (!openLink.isEmpty())
            xml.writeEndElement();
        xml.writeEndElement();
    }

    void writeRunProperties(QXmlStreamWriter &xml, const QTextCharFormat &format) {
        xml.writeStartElement(W, QStringLiteral("rPr"));
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty()) {
            xml.writeEmptyElement(W, QStringLiteral("rFonts"));
            for (const char *slot : {"ascii", "hAnsi", "cs"})
                xml.writeAttribute(W, QLatin1String(slot), families.first());
        }
        if (format.fontWeight() >= QFont::DemiBold)
            xml.writeEmptyElement(W, QStringLiteral("b"));
        if (format.fontItalic())
            xml.writeEmptyElement(W, QStringLiteral("i"));
        if (format.fontStrikeOut())
            xml.writeEmptyElement(W, QStringLiteral("strike"));
        if (format.hasProperty(QTextFormat::ForegroundBrush) &&
            format.foreground().style() != Qt::NoBrush) {
            xml.writeEmptyElement(W, QStringLiteral("color"));
            xml.writeAttribute(W, QStringLiteral("val"), hex(format.foreground().color()));
        }
        if (format.fontPointSize() > 0) {
            xml.writeEmptyElement(W, QStringLiteral("sz"));
            xml.writeAttribute(W, QStringLiteral("val"),
                               QString::number(std::lround(format.fontPointSize() * 2)));
        }
        if (format.hasProperty(QTextFormat::BackgroundBrush) &&
            format.background().style() != Qt::NoBrush) {
            xml.writeEmptyElement(W, QStringLiteral("shd"));
            xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("clear"));
            xml.writeAttribute(W, QStringLiteral("fill"), hex(format.background().color()));
        }
        static const char *const underlines[] = {nullptr,  "single", "words",
                                                 "double", "dotted", "wave"};
        const int underline = RichTextFormat::underlineType(format);
        if (underline > 0 && underline <= 5) {
            xml.writeEmptyElement(W, QStringLiteral("u"));
            xml.writeAttribute(W, QStringLiteral("val"), QLatin1String(underlines[underline]));
        }
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript ||
            format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
            xml.writeEmptyElement(W, QStringLiteral("vertAlign"));
            xml.writeAttribute(W, QStringLiteral("val"),
                               format.verticalAlignment() == QTextCharFormat::AlignSuperScript
                                   ? QStringLiteral("superscript")
                                   : QStringLiteral("subscript"));
        }
        xml.writeEndElement();
    }

    void writeRun(QXmlStreamWriter &xml, const QString &text, const QTextCharFormat &format) {
        xml.writeStartElement(W, QStringLiteral("r"));
        writeRunProperties(xml, format);
        QString pending;
        auto flush = [&] {
            if (pending.isEmpty())
                return;
            xml.writeStartElement(W, QStringLiteral("t"));
            xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml.writeCharacters(pending);
            xml.writeEndElement();
            pending.clear();
        };
        for (const QChar c : text) {
            if (c == QLatin1Char('\t')) {
                flush();
                xml.writeEmptyElement(W, QStringLiteral("tab"));
            } else if (c == QChar::LineSeparator || c == QLatin1Char('\n')) {
                flush();
                xml.writeEmptyElement(W, QStringLiteral("br"));
            } else if (c.unicode() >= 0x20 || c == QLatin1Char('\r')) {
                if (c != QLatin1Char('\r') && c != QChar::ObjectReplacementCharacter &&
                    !(c.unicode() >= 0xFFFE))
                    pending += c;
            }
        }
        flush();
        xml.writeEndElement();
    }

    void writePicture(QXmlStreamWriter &xml, const QTextImageFormat &format) {
        QByteArray bytes = format.property(RtfFormatProperty::PictureData).toByteArray();
        const auto kind = PictureKind(format.intProperty(RtfFormatProperty::PictureKindProperty));
        QString extension =
            kind == PictureKind::Jpeg ? QStringLiteral("jpeg") : QStringLiteral("png");
        if (bytes.isEmpty() || (kind != PictureKind::Png && kind != PictureKind::Jpeg)) {
            const QVariant resource =
                m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
            const QImage image = resource.value<QImage>();
            if (image.isNull())
                return; // a picture that cannot be drawn is left out
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            extension = QStringLiteral("png");
        }
        const QString part =
            QStringLiteral("media/image%1.%2").arg(m_pictures.size() + 1).arg(extension);
        m_pictures.append({part, bytes});
        const QString id = relationship(RelBase + QStringLiteral("image"), part, false);
        const QString cx = QString::number(qint64(std::max(1.0, format.width()) * EmuPerUnit));
        const QString cy = QString::number(qint64(std::max(1.0, format.height()) * EmuPerUnit));
        const QString number = QString::number(m_pictures.size());

        xml.writeStartElement(W, QStringLiteral("r"));
        xml.writeStartElement(W, QStringLiteral("drawing"));
        xml.writeStartElement(WP, QStringLiteral("inline"));
        xml.writeEmptyElement(WP, QStringLiteral("extent"));
        xml.writeAttribute(QStringLiteral("cx"), cx);
        xml.writeAttribute(QStringLiteral("cy"), cy);
        xml.writeEmptyElement(WP, QStringLiteral("docPr"));
        xml.writeAttribute(QStringLiteral("id"), number);
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture ") + number);
        xml.writeStartElement(A, QStringLiteral("graphic"));
        xml.writeStartElement(A, QStringLiteral("graphicData"));
        xml.writeAttribute(QStringLiteral("uri"), PIC);
        xml.writeStartElement(PIC, QStringLiteral("pic"));
        xml.writeStartElement(PIC, QStringLiteral("nvPicPr"));
        xml.writeEmptyElement(PIC, QStringLiteral("cNvPr"));
        xml.writeAttribute(QStringLiteral("id"), number);
        xml.writeAttribute(QStringLiteral("name"), part);
        xml.writeEmptyElement(PIC, QStringLiteral("cNvPicPr"));
        xml.writeEndElement();
        xml.writeStartElement(PIC, QStringLiteral("blipFill"));
        xml.writeEmptyElement(A, QStringLiteral("blip"));
        xml.writeAttribute(R, QStringLiteral("embed"), id);
        xml.writeStartElement(A, QStringLiteral("stretch"));
        xml.writeEmptyElement(A, QStringLiteral("fillRect"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(PIC, QStringLiteral("spPr"));
        xml.writeStartElement(A, QStringLiteral("xfrm"));
        xml.writeEmptyElement(A, QStringLiteral("off"));
        xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        xml.writeEmptyElement(A, QStringLiteral("ext"));
        xml.writeAttribute(QStringLiteral("cx"), cx);
        xml.writeAttribute(QStringLiteral("cy"), cy);
        xml.writeEndElement();
        xml.writeStartElement(A, QStringLiteral("prstGeom"));
        xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement(); // pic
        xml.writeEndElement(); // graphicData
        xml.writeEndElement(); // graphic
        xml.writeEndElement(); // inline
        xml.writeEndElement(); // drawing
        xml.writeEndElement(); // r
    }

    int listId(QTextList *list) {
        const auto it = m_lists.constFind(list);
        if (it != m_lists.cend())
            return *it;
        const int id = int(m_listOrder.size()) + 1;
        m_lists.insert(list, id);
        m_listOrder.append({list->format().style(), qBound(0, list->format().indent() - 1, 8)});
        return id;
    }

    QString linkId(const QString &href) {
        return relationship(RelBase + QStringLiteral("hyperlink"), href, true);
    }

    QString relationship(const QString &type, const QString &target, bool external) {
        const QString id = QStringLiteral("rId%1").arg(m_relationships.size() + 10);
        m_relationships.append({id, type, target, external});
        return id;
    }

    QByteArray contentTypes() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" "
               "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
               "<Default Extension=\"png\" ContentType=\"image/png\"/>"
               "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
               "<Override PartName=\"/word/document.xml\" "
               "ContentType=\"application/"
               "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
               "<Override PartName=\"/word/styles.xml\" "
               "ContentType=\"application/"
               "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
               "<Override PartName=\"/word/numbering.xml\" "
               "ContentType=\"application/"
               "vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/>"
               "</Types>";
    }

    QByteArray packageRels() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<Relationships "
               "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"rId1\" "
               "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
               "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    }

    QByteArray documentRels() const {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        xml.writeDefaultNamespace(
            QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships"));
        xml.writeStartElement(QStringLiteral("Relationships"));
        auto rel = [&](const QString &id, const QString &type, const QString &target,
                       bool external) {
            xml.writeEmptyElement(QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), id);
            xml.writeAttribute(QStringLiteral("Type"), type);
            xml.writeAttribute(QStringLiteral("Target"), target);
            if (external)
                xml.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
        };
        rel(QStringLiteral("rId1"), RelBase + QStringLiteral("styles"),
            QStringLiteral("styles.xml"), false);
        rel(QStringLiteral("rId2"), RelBase + QStringLiteral("numbering"),
            QStringLiteral("numbering.xml"), false);
        for (const Relationship &r : m_relationships)
            rel(r.id, r.type, r.target, r.external);
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    QByteArray styles() const {
        const QFont font = m_document.defaultFont();
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        xml.writeNamespace(W, QStringLiteral("w"));
        xml.writeStartElement(W, QStringLiteral("styles"));
        xml.writeStartElement(W, QStringLiteral("docDefaults"));
        xml.writeStartElement(W, QStringLiteral("rPrDefault"));
        xml.writeStartElement(W, QStringLiteral("rPr"));
        xml.writeEmptyElement(W, QStringLiteral("rFonts"));
        for (const char *slot : {"ascii", "hAnsi", "cs"})
            xml.writeAttribute(W, QLatin1String(slot), font.family());
        if (font.pointSizeF() > 0) {
            xml.writeEmptyElement(W, QStringLiteral("sz"));
            xml.writeAttribute(W, QStringLiteral("val"),
                               QString::number(std::lround(font.pointSizeF() * 2)));
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    QByteArray numbering() const {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        xml.writeNamespace(W, QStringLiteral("w"));
        xml.writeStartElement(W, QStringLiteral("numbering"));
        for (qsizetype i = 0; i < m_listOrder.size(); ++i) {
            const ListEntry &entry = m_listOrder[i];
            xml.writeStartElement(W, QStringLiteral("abstractNum"));
            xml.writeAttribute(W, QStringLiteral("abstractNumId"), QString::number(i + 1));
            for (int level = 0; level < 9; ++level) {
                const QTextListFormat::Style style =
                    level == entry.level ? entry.style : QTextListFormat::ListDisc;
                QString numFmt = QStringLiteral("bullet");
                QString text;
                switch (style) {
                case QTextListFormat::ListDecimal:
                    numFmt = QStringLiteral("decimal");
                    break;
                case QTextListFormat::ListLowerAlpha:
                    numFmt = QStringLiteral("lowerLetter");
                    break;
                case QTextListFormat::ListUpperAlpha:
                    numFmt = QStringLiteral("upperLetter");
                    break;
                case QTextListFormat::ListLowerRoman:
                    numFmt = QStringLiteral("lowerRoman");
                    break;
                case QTextListFormat::ListUpperRoman:
                    numFmt = QStringLiteral("upperRoman");
                    break;
                case QTextListFormat::ListCircle:
                    text = QStringLiteral("o");
                    break;
                case QTextListFormat::ListSquare:
                    text = QString(QChar(0x25AA));
                    break;
                default:
                    text = QString(QChar(0x2022));
                    break;
                }
                if (numFmt != QLatin1String("bullet"))
                    text = QStringLiteral("%%1.").arg(level + 1);
                xml.writeStartElement(W, QStringLiteral("lvl"));
                xml.writeAttribute(W, QStringLiteral("ilvl"), QString::number(level));
                xml.writeEmptyElement(W, QStringLiteral("start"));
                xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("1"));
                xml.writeEmptyElement(W, QStringLiteral("numFmt"));
                xml.writeAttribute(W, QStringLiteral("val"), numFmt);
                xml.writeEmptyElement(W, QStringLiteral("lvlText"));
                xml.writeAttribute(W, QStringLiteral("val"), text);
                xml.writeStartElement(W, QStringLiteral("pPr"));
                xml.writeEmptyElement(W, QStringLiteral("ind"));
                xml.writeAttribute(W, QStringLiteral("left"), QString::number(720 * (level + 1)));
                xml.writeAttribute(W, QStringLiteral("hanging"), QStringLiteral("360"));
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        for (qsizetype i = 0; i < m_listOrder.size(); ++i) {
            xml.writeStartElement(W, QStringLiteral("num"));
            xml.writeAttribute(W, QStringLiteral("numId"), QString::number(i + 1));
            xml.writeEmptyElement(W, QStringLiteral("abstractNumId"));
            xml.writeAttribute(W, QStringLiteral("val"), QString::number(i + 1));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    struct Relationship {
        QString id, type, target;
        bool external = false;
    };
    struct ListEntry {
        QTextListFormat::Style style;
        int level;
    };

    const QTextDocument &m_document;
    QList<Picture> m_pictures;
    QList<Relationship> m_relationships;
    QHash<QTextList *, int> m_lists;
    QList<ListEntry> m_listOrder;
};

} // namespace

namespace DocxWriter {

std::optional<QByteArray> write(const QTextDocument &document) {
    Writer writer(document);
    return writer.run();
}

} // namespace DocxWriter
