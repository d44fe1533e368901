#include "journal/documentcopier.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

DocumentCopier::DocumentCopier(QTextDocument &document, QObject *parent)
    : QObject(parent)
    , m_document(&document) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &DocumentCopier::step);
    // A document tells where it changed only once it has a layout; an editor's always has one.
    document.documentLayout();
    connect(&document, &QTextDocument::contentsChange, this, &DocumentCopier::documentChanged);
}

void DocumentCopier::start(bool withFormats, Done done) {
    m_copy = std::make_shared<DocumentCopy>();
    m_copy->withFormats = withFormats;
    m_next = 0;
    m_blockCount = m_document ? m_document->blockCount() : 0;
    // At once, so that no slice pays for growing a list of many paragraphs.
    m_copy->paragraphs.reserve(m_blockCount + m_blockCount / 8);
    m_done = std::move(done);
    m_timer.start();
}

void DocumentCopier::cancel() {
    m_timer.stop();
    m_copy.reset();
    m_done = {};
}

void DocumentCopier::documentChanged(int position, int, int added) {
    if (!m_copy || !m_document)
        return;
    const int blocks = m_document->blockCount();
    const int gained = blocks - m_blockCount;
    m_blockCount = blocks;
    // Paragraphs before the one changed are as they were. A change that lies wholly after the
    // copied part costs nothing; one inside it is copied again at once, so that typing in the
    // middle of a long document never sends the copy back to the start.
    const auto numberAt = [this, blocks](int at) {
        const QTextBlock block = m_document->findBlock(at);
        return block.isValid() ? block.blockNumber() : blocks - 1;
    };
    const int first = numberAt(position);
    if (first >= m_next)
        return;
    const int lastNew = numberAt(position + added);
    const int lastOld = lastNew - gained;
    if (lastOld >= m_next || lastNew - first >= MaxPatchedParagraphs || lastOld < first) {
        m_next = qMax(0, first);
        m_copy->paragraphs.resize(m_next);
        return;
    }
    // The paragraphs after the change only move when their number changed (a line break typed
    // or removed); a keystroke inside a paragraph replaces just that one.
    QList<DocumentCopy::Paragraph> &copied = m_copy->paragraphs;
    if (gained > 0)
        copied.insert(lastOld + 1, gained, DocumentCopy::Paragraph());
    else if (gained < 0)
        copied.remove(lastNew + 1, -gained);
    int index = first;
    for (QTextBlock block = m_document->findBlockByNumber(first);
         block.isValid() && index <= lastNew; block = block.next())
        copied[index++] = copyParagraph(block, m_copy->withFormats);
    m_next += gained;
}

DocumentCopy::Paragraph DocumentCopier::copyParagraph(const QTextBlock &block, bool withFormats) {
    DocumentCopy::Paragraph paragraph;
    paragraph.text = block.text();
    if (withFormats) {
        paragraph.blockFormat = block.blockFormatIndex();
        paragraph.charFormat = block.charFormatIndex();
        if (QTextList *list = block.textList()) {
            paragraph.list = list->objectIndex();
            paragraph.listFormat = list->formatIndex();
        }
        const int start = block.position();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            paragraph.fragments.append(
                {fragment.position() - start, fragment.length(), fragment.charFormatIndex()});
        }
    }
    return paragraph;
}

void DocumentCopier::step() {
    if (!m_copy || !m_document) {
        cancel();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const auto measured = [this, &clock] {
        ++m_slices;
        m_longestSlice = qMax(m_longestSlice, clock.nsecsElapsed() / 1e6);
    };
    const bool withFormats = m_copy->withFormats;
    QTextBlock block = m_document->findBlockByNumber(m_next);
    while (block.isValid()) {
        m_copy->paragraphs.append(copyParagraph(block, withFormats));
        ++m_next;
        block = block.next();
        // Checking the clock every few paragraphs keeps its cost out of the copy.
        if ((m_next & 31) == 0 && clock.elapsed() >= SliceMilliseconds) {
            measured();
            return;
        }
    }
    finish();
    measured();
}

void DocumentCopier::finish() {
    m_timer.stop();
    std::shared_ptr<DocumentCopy> copy = std::move(m_copy);
    m_copy.reset();
    copy->defaultFont = m_document->defaultFont();
    if (copy->withFormats) {
        // Property by property, so that nothing of the copy is shared with the original's
        // formats, whose lazily filled caches the user-interface thread goes on writing.
        const QList<QTextFormat> formats = m_document->allFormats();
        copy->formats.reserve(formats.size());
        for (const QTextFormat &format : formats) {
            QTextFormat own(format.type());
            const QMap<int, QVariant> properties = format.properties();
            for (auto it = properties.cbegin(); it != properties.cend(); ++it)
                own.setProperty(it.key(), it.value());
            copy->formats.append(own);
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                const QVariant image =
                    m_document->resource(QTextDocument::ImageResource, QUrl(name));
                if (image.isValid())
                    copy->images.insert(name, image);
            }
        }
    }
    Done done = std::move(m_done);
    m_done = {};
    if (done)
        done(std::move(copy));
}
