#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextListFormat>
#include <array>
#include <functional>
#include <vector>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFrame;
class QTextList;
class QTextTable;

// Writes a QTextDocument as RTF that word processors read back: one font and colour table,
// ASCII text with \uN and a Windows-1252 fallback for the rest, character and paragraph formats,
// lists (with \listtable and \pntext fallbacks), tables, pictures, links, and what the reader
// kept of the file the document came from (its prologue, fields, notes and other groups).
class RtfWriter {
public:
    using Progress = std::function<void(qint64 done, qint64 total)>;

    explicit RtfWriter(const QTextDocument &document);

    QByteArray write(const Progress &progress = {});

private:
    // Table indexes, assigned on first use.
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    int listIndex(QTextList *list);
    QString familyOf(const QTextCharFormat &format) const;
    double pointSizeOf(const QTextCharFormat &format) const;

    void writeHeader();
    void writeListTable();
    // One list of the list table: the formats of its levels (indent 1-9), as the document's
    // lists that belong to it have them.
    struct ListDefinition {
        std::array<QTextListFormat, 9> levels;
        std::array<bool, 9> used{};
    };
    void writeListDefinition(const ListDefinition &list, int id);
    void writeListLevel(const QTextListFormat &format, int level);
    QString itemLabel(const QTextBlock &block, QTextList *list) const;
    void writeFrame(QTextFrame *frame, int depth);
    void writeTable(QTextTable *table, int depth);
    void writeRowDefinition(QTextTable *table, int row);
    void writeBlock(const QTextBlock &block, int depth, bool lastInCell);
    void writeNumberFallback(const QTextBlock &block, QTextList *list);
    void writeCharFormat(const QTextCharFormat &format);
    const QByteArray &runFormat(int formatIndex, const QTextCharFormat &format);
    void writeText(QStringView text);
    // Kept RTF with the file's font and colour numbers turned into this writer's.
    QByteArray renumbered(QByteArrayView kept);
    bool continuesOpenField(const QTextBlock &block) const;
    void closeField();
    void writePicture(const QTextCharFormat &format);
    void reportProgress(int position);

    void word(const char *name);
    void word(const char *name, long long value);

    const QTextDocument &m_document;
    QByteArray m_out;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QColor> m_colors;
    QHash<QRgb, int> m_colorIndex;
    std::vector<ListDefinition> m_lists;
    QHash<QTextList *, int> m_listIndex; // the \ls of each list of the document
    QHash<int, int> m_groupIndex;        // the \ls of each list the file had
    int m_previousList = 0;              // the \ls of the paragraph before, 0: none
    QHash<int, QByteArray> m_runFormats; // by the document's format index
    QString m_openLink;
    int m_openField = 0; // the serial of the kept field being written, 0: none
    int m_lastKept = 0;  // the serial of the last kept marker written
    QHash<int, QString>
        m_keptFonts; // the font and colour numbers of the file the document came from
    QList<QColor> m_keptColors;
    Progress m_progress;
    qint64 m_nextProgress = 0;
};
