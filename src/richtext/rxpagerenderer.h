#pragma once

#include "richtext/rxformatrange.h"

#include <QPointer>
#include <memory>

class QTextDocument;

// Lays a copy of a document out at a device's resolution and a page's width, and draws or
// measures it page by page for printing and the page preview. The laid-out copy is kept between
// calls while the document, device and width stay the same. Owned by the control it prints.
class TRxPageRenderer {
public:
    explicit TRxPageRenderer(const QTextDocument &document);
    ~TRxPageRenderer();

    // Draws (when render and the range has a painter) or measures the text from range.cpMin
    // into range.rc and answers the first position that did not fit, or the range's end when
    // everything did. At least one line goes on every page, so each call makes progress.
    int formatRange(const TFormatRange &range, bool render);
    // Drops the laid-out copy.
    void release();

private:
    QTextDocument *layoutFor(QPaintDevice *device, double width);

    const QTextDocument &m_document;
    std::unique_ptr<QTextDocument> m_copy;
    QPaintDevice *m_device = nullptr;
    double m_width = 0;
    int m_revision = -1;
};
