#pragma once

#include "ruler/rulerscale.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class RulerGuideLines;
class RulerMarker;

// A horizontal ruler: a scale counted from the left margin line, the shaded left and right page
// margins and three paragraph indent markers (first line, left, right) plus the block under the
// left marker that moves the first two together. The user drags markers and margins; the ruler
// snaps them to RulerTab, keeps the right marker MinIndentDist away from the other two and reports
// every change by an identifier. It knows nothing of paragraphs or printers: every position is in
// ruler pixels. While a drag runs it draws a dotted guide line across the attached editing area.
// Owns its markers and the guide-line overlay it puts on the attached control.
class TanlRuler : public QWidget {
    Q_OBJECT

public:
    // IndentID of the events.
    enum IndentId { FirstIndent = 0, LeftIndent = 1, RightIndent = 2, BlockIndent = 3 };
    // MarginID of the events.
    enum MarginId { LeftMargin = 0, RightMargin = 1 };

    explicit TanlRuler(QWidget *parent = nullptr);
    ~TanlRuler() override;

    // The control across which guide lines are drawn; none draws none. Any widget will do: the
    // lines go on an overlay over its client area, which leaves its content untouched.
    QWidget *Richedit() const { return m_richedit; }
    void SetRichedit(QWidget *control);

    // Snapping step of every drag and of IncIndent/DecIndent, 1 to 255; other values are refused.
    int RulerTab() const { return m_rulerTab; }
    void SetRulerTab(int pixels);
    // Least distance between the right marker and the other two.
    int MinIndentDist() const { return m_minIndentDist; }
    void SetMinIndentDist(int pixels) { m_minIndentDist = pixels; }
    // Scale unit, 1 to 30000: a number every 4 units, a large tick at 2, small ticks at 1 and 3.
    int TabDist() const { return m_tabDist; }
    void SetTabDist(int pixels);
    // Multiplier of the scale numbers, 1 to 30000.
    int Factor() const { return m_factor; }
    void SetFactor(int factor);

    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int pixels);
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int pixels);

    int BorderLeft() const { return m_borderLeft; }
    void SetBorderLeft(int pixels);
    int BorderUp() const { return m_borderUp; }
    void SetBorderUp(int pixels);
    int BorderDown() const { return m_borderDown; }
    void SetBorderDown(int pixels);
    int BorderRight() const { return m_borderRight; }
    void SetBorderRight(int pixels);

    // x of the markers in ruler pixels. The setters refuse (silently) what would put a marker
    // off the ruler or closer than MinIndentDist to the right one.
    int IndentFirst() const;
    void SetIndentFirst(int x);
    int IndentLeft() const;
    void SetIndentLeft(int x);
    int IndentRight() const;
    void SetIndentRight(int x);

    bool ShowSmallLines() const { return m_showSmallLines; }
    void SetShowSmallLines(bool on);
    bool ShowLargeLines() const { return m_showLargeLines; }
    void SetShowLargeLines(bool on);
    // Also shows or hides the markers.
    bool ShowIndents() const { return m_showIndents; }
    void SetShowIndents(bool on);
    bool ShowNumbers() const { return m_showNumbers; }
    void SetShowNumbers(bool on);
    // Also allows dragging the margins.
    bool ShowMarginHandlers() const { return m_showMarginHandlers; }
    void SetShowMarginHandlers(bool on);

    // Face between the margins; the window colour until set.
    QColor Color() const;
    void SetColor(const QColor &color);

    // Moves the left marker (from the block's x) and then the first-line marker one RulerTab to
    // the right resp. left through their setters, then reports OnIndentChange(BlockIndent).
    void IncIndent();
    void DecIndent();

    // The scale as it is painted now: every number and tick with its x.
    QList<RulerScaleMark> ScaleMarks() const;

    // The marker areas, for the accessibility layer and tests.
    RulerMarker *FirstIndentMarker() const { return m_firstMarker; }
    RulerMarker *LeftIndentMarker() const { return m_leftMarker; }
    RulerMarker *RightIndentMarker() const { return m_rightMarker; }
    RulerMarker *IndentBlock() const { return m_block; }

    // The indents and margins as a list of values, in this order, for the accessibility layer.
    enum ValueItem {
        FirstIndentValue,
        LeftIndentValue,
        RightIndentValue,
        LeftMarginValue,
        RightMarginValue,
        ValueCount
    };
    int Value(int item) const;
    // Sets an indent or margin as if a drag had ended there: through its setter, then reported
    // by OnIndentChange or OnMarginChange. False when the setter refused it.
    bool ApplyValue(int item, int value);

    // Whether a marker or a margin is being dragged.
    bool IsDragging() const { return m_dragMarker || m_dragMargin >= 0; }

signals:
    void OnIndentChange(int indentId);
    void OnIndentDrag(int indentId);
    void OnIndentClick(int indentId);
    void OnIndentDblClick(int indentId);
    void OnMarginChange(int marginId);
    void OnMarginDrag(int marginId);
    void OnMarginClick(int marginId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    friend class RulerMarker;

    // Mouse events of the markers, with x in the marker's own pixels.
    void markerPressed(RulerMarker *marker, int x);
    void markerMoved(RulerMarker *marker, int x);
    void markerReleased(RulerMarker *marker);
    void markerDoubleClicked(RulerMarker *marker);

    int idOf(const RulerMarker *marker) const;
    void placeMarkers();
    void moveMarker(RulerMarker *marker, int x);
    // Whether a left-hand marker may stand at x (on the ruler, MinIndentDist left of the right
    // marker).
    bool leftHandFits(int x) const;
    void indentChanged(int indentId);
    // The one guide line of a drag, drawn at ruler x; removed at the spot it was drawn, so a
    // line never stays behind.
    void moveGuideLine(int x);
    void removeGuideLine();
    int leftMarginLine() const;
    int rightMarginLine() const;
    // The margin whose line is less than 3 pixels from x, or -1.
    int marginNear(int x) const;
    void paintDragOutline(QPainter &painter) const;
    // Tells assistive technology that a value changed.
    void valueChanged(int item);

    QPointer<QWidget> m_richedit;
    QPointer<RulerGuideLines> m_guideLines;

    int m_rulerTab = 10;
    int m_minIndentDist = 50;
    int m_tabDist = 10;
    int m_factor = 1;
    int m_marginLeft = 30;
    int m_marginRight = 20;
    int m_borderLeft = 5;
    int m_borderUp = 5;
    int m_borderDown = 5;
    int m_borderRight = 5;
    bool m_showSmallLines = true;
    bool m_showLargeLines = true;
    bool m_showIndents = true;
    bool m_showNumbers = true;
    bool m_showMarginHandlers = true;
    QColor m_color;

    RulerMarker *m_firstMarker = nullptr;
    RulerMarker *m_leftMarker = nullptr;
    RulerMarker *m_rightMarker = nullptr;
    RulerMarker *m_block = nullptr;

    // Drag state: the marker or margin being dragged (at most one), the press x inside the
    // marker and where the markers stood when the drag began.
    RulerMarker *m_dragMarker = nullptr;
    int m_dragMargin = -1;
    int m_grabOffset = 0;
    int m_startFirst = 0;
    int m_startRight = 0;
    int m_startBlock = 0;
    // Where the guide line stands on the attached control, -1 when none is drawn.
    int m_guideX = -1;
};
