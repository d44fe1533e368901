#pragma once

#include "print/printabletext.h"

#include <memory>

class QTextDocument;
class TRxPageRenderer;

// A document without a control (the headless converter's) as printable text; refers to the
// document, which must outlive it.
class DocumentPrintable : public PrintableText {
public:
    explicit DocumentPrintable(const QTextDocument &document);
    ~DocumentPrintable() override;

    int TextLength() const override;
    int FormatRange(const TFormatRange *range, bool render) override;

private:
    const QTextDocument &m_document;
    std::unique_ptr<TRxPageRenderer> m_renderer;
};
