#pragma once

#include "editor/ruler/pagemargins.h"

// The page as the print engine reports it when no printer is installed: A4 paper (210 mm wide)
// with 6 mm unprintable at either side, and the editor's margins of 15 mm.
class NoPrinterMargins : public PageMargins {
public:
    double MarginLeft() const override { return 15; }
    double MarginRight() const override { return 15; }
    double PrintableWidth() const override { return 210 - 2 * 6; }
};
