#pragma once

// Where the ruler binding reads the page: the left and right margins and the printable width of
// the paper, all in millimetres.
class PageMargins {
public:
    virtual ~PageMargins() = default;

    virtual double MarginLeft() const = 0;
    virtual double MarginRight() const = 0;
    virtual double PrintableWidth() const = 0;
};
