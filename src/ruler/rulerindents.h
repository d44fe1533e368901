#pragma once

// Where the ruler's three indent markers stand, in ruler pixels.
struct RulerIndentMarkers {
    int first = 0;
    int left = 0;
    int right = 0;

    bool operator==(const RulerIndentMarkers &) const = default;
};

// The marker positions for a paragraph's indents in points: first-line indent, left indent of
// the following lines (relative to the first) and right indent. Points become pixels at 4/3,
// truncated toward zero; the left page margin shifts the left markers, the right margin and the
// ruler's width place the right one.
RulerIndentMarkers RulerMarkersForIndents(int firstPt, int leftPt, int rightPt, int marginLeftPx,
                                          int marginRightPx, int rulerClientWidth);

// A paragraph's indents in whole points, as the ruler's markers give them: the first-line indent,
// the indent of the following lines measured from the left edge (not from the first line) and the
// right indent.
struct RulerParagraphIndents {
    int first = 0;
    int leftFromEdge = 0;
    int right = 0;

    bool operator==(const RulerParagraphIndents &) const = default;
};

// The reverse of RulerMarkersForIndents: the indents whose markers stand where these do, so that
// markers placed for a paragraph give back that paragraph's indents unchanged. A pixel no whole
// point maps to gives the points it holds, truncated toward zero.
RulerParagraphIndents RulerIndentsForMarkers(const RulerIndentMarkers &markers, int marginLeftPx,
                                             int marginRightPx, int rulerClientWidth);

// The ruler as the selection tracker sees it: the page margins it shows and its indent markers,
// which it moves through its own setters (they refuse positions outside the ruler).
class TIndentRuler {
public:
    virtual ~TIndentRuler() = default;

    virtual int ClientWidth() const = 0;
    virtual int MarginLeftPx() const = 0;
    virtual int MarginRightPx() const = 0;
    virtual void SetIndentMarkers(const RulerIndentMarkers &markers) = 0;
};
