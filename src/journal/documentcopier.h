#pragma once

#include "journal/documentcopy.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QTextBlock;
class QTextDocument;

// Copies a document on the user-interface thread in slices of about two milliseconds, so that a
// large document is copied without holding up typing. An edit meanwhile is followed: copied
// paragraphs it touched are copied again at once, the rest goes on. The finished copy is handed
// to `done`.
class DocumentCopier : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(std::shared_ptr<const DocumentCopy>)>;

    explicit DocumentCopier(QTextDocument &document, QObject *parent = nullptr);

    // Starts a copy (a running one starts over). Without formats only the text is copied.
    void start(bool withFormats, Done done);
    void cancel();
    bool busy() const { return m_copy != nullptr; }
    // The longest slice of the copies so far and their number, in milliseconds; for measuring.
    double longestSlice() const { return m_longestSlice; }
    int slices() const { return m_slices; }

    // How long one slice may run.
    static constexpr int SliceMilliseconds = 2;
    // A change to more copied paragraphs than this (a format over a long selection) sends the
    // copy back to its first paragraph instead of copying them again at once.
    static constexpr int MaxPatchedParagraphs = 64;

private:
    void step();
    void documentChanged(int position, int removed, int added);
    void finish();
    static DocumentCopy::Paragraph copyParagraph(const QTextBlock &block, bool withFormats);

    QPointer<QTextDocument> m_document;
    QTimer m_timer;
    std::shared_ptr<DocumentCopy> m_copy;
    int m_next = 0;       // the next paragraph to copy
    int m_blockCount = 0; // the document's paragraphs at the last change
    Done m_done;
    double m_longestSlice = 0;
    int m_slices = 0;
};
