#include "editor/ruler/richprintermargins.h"

#include "print/richprinter.h"

#include <cmath>

double RichPrinterMargins::millimetres(double length) const {
    // Margins kept in inches would otherwise show a 25th of their width on the ruler. To the
    // micrometre, so that 15 mm kept as inches does not come back as 14.999... and truncate.
    if (m_printer.MeasureUnit() != muInches)
        return length;
    return std::round(length * 25.4 * 1000) / 1000;
}

double RichPrinterMargins::MarginLeft() const {
    return millimetres(m_printer.MarginLeft());
}

double RichPrinterMargins::MarginRight() const {
    return millimetres(m_printer.MarginRight());
}

double RichPrinterMargins::PrintableWidth() const {
    return millimetres(m_printer.PrintableWidth());
}
