#pragma once

#include "editor/ruler/pagemargins.h"

class TRichPrinter;

// The page as the print component keeps it, in millimetres whatever unit it measures in.
class RichPrinterMargins : public PageMargins {
public:
    explicit RichPrinterMargins(const TRichPrinter &printer)
        : m_printer(printer) {}

    double MarginLeft() const override;
    double MarginRight() const override;
    double PrintableWidth() const override;

private:
    double millimetres(double length) const;

    const TRichPrinter &m_printer;
};
