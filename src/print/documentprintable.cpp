#include "print/documentprintable.h"

#include "richtext/rxpagerenderer.h"

#include <QTextDocument>

DocumentPrintable::DocumentPrintable(const QTextDocument &document)
    : m_document(document)
    , m_renderer(std::make_unique<TRxPageRenderer>(document)) {}

DocumentPrintable::~DocumentPrintable() = default;

int DocumentPrintable::TextLength() const {
    return m_document.characterCount() - 1;
}

int DocumentPrintable::FormatRange(const TFormatRange *range, bool render) {
    if (!range) {
        m_renderer->release();
        return 0;
    }
    return m_renderer->formatRange(*range, render);
}
