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
    m_done = std::move(done);
    m_timer.start();
}

void DocumentCopier::cancel() {
    m_timer.stop();
    m_copy.reset();
    m_done = {};
}

void DocumentCopier::documentChanged(int position, int, int) {
    if (!m_copy || !m_document)
        return;
    // Paragraphs before the one changed are as they were; that one and all after it are copied
    // (again) from here on.
    const QTextBlock block = m_document->findBlock(position);
    const int changed = block.isValid() ? block.blockNumber() : m_document->blockCount() - 1;
    if (changed < m_next) {
        m_next = qMax(0, changed);
        m_copy->paragraphs.resize(m_next);
    }
}

void DocumentCopier::step() {
    if (!m_copy || !m_document) {
        cancel();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const bool withFormats = m_copy->withFormats;
    QTextBlock block = m_document->findBlockByNumber(m_next);
    while (block.isValid()) {
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
        m_copy->paragraphs.append(std::move(paragraph));
        ++m_next;
        block = block.next();
        // Checking the clock every few paragraphs keeps its cost out of the copy.
        if ((m_next & 31) == 0 && clock.elapsed() >= SliceMilliseconds)
            return;
    }
    finish();
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
