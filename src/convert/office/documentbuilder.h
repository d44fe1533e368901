#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>

class QTextDocument;
class QTextTable;

// Builds a QTextDocument paragraph by paragraph for the office readers: paragraphs and runs, list
// membership, tables (grown row by row and cell by cell, nested too) and pictures. Each container
// (the document, a cell) starts in the block it already has.
class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument &document);

    // A new paragraph in the current container.
    void startParagraph(const QTextBlockFormat &format);
    // Puts the paragraph into a list; the same key continues the same list.
    void setList(const QString &key, const QTextListFormat &format);
    void addText(const QString &text, const QTextCharFormat &format);
    // A picture of the given size in document units (0: its own size).
    void addPicture(const QByteArray &bytes, const QString &name, double width, double height,
                    const QTextCharFormat &format);
    // The next paragraph starts on a new page.
    void breakPage() { m_pageBreak = true; }

    void startTable();
    void startRow();
    void startCell(const QTextCharFormat &background = {});
    void endTable();

private:
    struct TableState {
        QTextTable *table = nullptr;
        int row = -1;
        int column = -1;
        QTextCursor after; // where the container goes on after the table
    };

    QTextDocument &m_document;
    QTextCursor m_cursor;
    bool m_fresh = true; // the container's first block is still unused
    bool m_pageBreak = false;
    QList<TableState> m_tables;
    QHash<QString, QTextList *> m_lists;
};
