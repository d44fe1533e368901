#include "ruler/tanlruler.h"

#include "ruler/ruleraccessible.h"
#include "ruler/rulerguidelines.h"
#include "ruler/rulermarker.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace {
constexpr QSize StartSize(300, 25);
constexpr int MarkerHeight = 8;
constexpr int BlockHeight = 7;
// A press or the pointer this close to a margin line grabs the margin.
constexpr int MarginGrip = 3;

// Snaps to the step, truncating toward zero as integer division does.
int snap(int x, int step) {
    return step * (x / step);
}
} // namespace

TanlRuler::TanlRuler(QWidget *parent)
    : QWidget(parent) {
    RulerAccessible::install();
    resize(StartSize);
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSize(7);
    setFont(font);
    setMouseTracking(true);
    // It paints every pixel in its own colours, never the parent's.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_firstMarker = new RulerMarker(*this, RulerMarker::FirstLine, MarkerHeight);
    m_firstMarker->setObjectName(QStringLiteral("FirstIndentMarker"));
    m_firstMarker->setAccessibleName(QStringLiteral("First Line Indent"));
    m_leftMarker = new RulerMarker(*this, RulerMarker::Indent, MarkerHeight);
    m_leftMarker->setObjectName(QStringLiteral("LeftIndentMarker"));
    m_leftMarker->setAccessibleName(QStringLiteral("Left Indent"));
    m_rightMarker = new RulerMarker(*this, RulerMarker::Indent, MarkerHeight);
    m_rightMarker->setObjectName(QStringLiteral("RightIndentMarker"));
    m_rightMarker->setAccessibleName(QStringLiteral("Right Indent"));
    m_block = new RulerMarker(*this, RulerMarker::Block, BlockHeight);
    m_block->setObjectName(QStringLiteral("IndentBlock"));
    m_block->setAccessibleName(QStringLiteral("Indent Block"));
    m_firstMarker->move(45, 0);
    m_leftMarker->move(45, 0);
    m_block->move(45, 0);
    m_rightMarker->move(250, 0);
    placeMarkers();
}

TanlRuler::~TanlRuler() {
    delete m_guideLines;
}

void TanlRuler::SetRichedit(QWidget *control) {
    if (control == m_richedit)
        return;
    const int line = m_guideX;
    removeGuideLine();
    delete m_guideLines;
    m_richedit = control;
    if (control)
        m_guideLines = new RulerGuideLines(*control);
    // A drag under way keeps its line, now on the new control.
    if (line >= 0 && m_dragMarker)
        moveGuideLine(m_dragMarker->x() + 4);
    else if (line >= 0 && m_dragMargin >= 0)
        moveGuideLine(m_dragMargin == LeftMargin ? leftMarginLine() : rightMarginLine());
}

void TanlRuler::SetRulerTab(int pixels) {
    if (pixels >= 1 && pixels <= 255)
        m_rulerTab = pixels;
}

void TanlRuler::SetTabDist(int pixels) {
    if (pixels < 1 || pixels > 30000 || pixels == m_tabDist)
        return;
    m_tabDist = pixels;
    update();
}

void TanlRuler::SetFactor(int factor) {
    if (factor < 1 || factor > 30000 || factor == m_factor)
        return;
    m_factor = factor;
    update();
}

void TanlRuler::SetMarginLeft(int pixels) {
    if (pixels == m_marginLeft || pixels < 0 ||
        pixels > width() - m_marginRight - m_borderLeft - m_borderRight)
        return;
    const int shift = pixels - m_marginLeft;
    SetIndentFirst(IndentFirst() + shift);
    SetIndentLeft(IndentLeft() + shift);
    m_marginLeft = pixels;
    update();
    valueChanged(LeftMarginValue);
    if (m_dragMargin == LeftMargin)
        emit OnMarginDrag(LeftMargin);
}

void TanlRuler::SetMarginRight(int pixels) {
    if (pixels == m_marginRight || pixels < 0 ||
        pixels > width() - m_marginLeft - m_borderLeft - m_borderRight)
        return;
    SetIndentRight(IndentRight() + m_marginRight - pixels);
    m_marginRight = pixels;
    update();
    valueChanged(RightMarginValue);
    if (m_dragMargin == RightMargin)
        emit OnMarginDrag(RightMargin);
}

void TanlRuler::SetBorderLeft(int pixels) {
    if (pixels == m_borderLeft)
        return;
    m_borderLeft = pixels;
    update();
}

void TanlRuler::SetBorderUp(int pixels) {
    if (pixels == m_borderUp)
        return;
    m_borderUp = pixels;
    placeMarkers();
    update();
}

void TanlRuler::SetBorderDown(int pixels) {
    if (pixels == m_borderDown)
        return;
    m_borderDown = pixels;
    placeMarkers();
    update();
}

void TanlRuler::SetBorderRight(int pixels) {
    if (pixels == m_borderRight)
        return;
    m_borderRight = pixels;
    update();
}

int TanlRuler::IndentFirst() const {
    return m_firstMarker->x();
}

int TanlRuler::IndentLeft() const {
    return m_leftMarker->x();
}

int TanlRuler::IndentRight() const {
    return m_rightMarker->x();
}

bool TanlRuler::leftHandFits(int x) const {
    return x >= 0 && x < width() - 4 && IndentRight() - x > m_minIndentDist;
}

void TanlRuler::SetIndentFirst(int x) {
    if (x == IndentFirst() || !leftHandFits(x))
        return;
    moveMarker(m_firstMarker, x);
    indentChanged(FirstIndent);
}

void TanlRuler::SetIndentLeft(int x) {
    if (x == IndentLeft() || !leftHandFits(x))
        return;
    moveMarker(m_leftMarker, x);
    moveMarker(m_block, x);
    indentChanged(LeftIndent);
}

void TanlRuler::SetIndentRight(int x) {
    if (x == IndentRight() || x < 0 || x >= width() - 4 || x - IndentLeft() <= m_minIndentDist ||
        x - IndentFirst() <= m_minIndentDist)
        return;
    moveMarker(m_rightMarker, x);
    indentChanged(RightIndent);
}

void TanlRuler::moveMarker(RulerMarker *marker, int x) {
    marker->move(x, marker->y());
}

void TanlRuler::indentChanged(int indentId) {
    valueChanged(indentId);
    if (m_dragMarker)
        emit OnIndentDrag(indentId);
}

void TanlRuler::SetShowSmallLines(bool on) {
    if (on == m_showSmallLines)
        return;
    m_showSmallLines = on;
    update();
}

void TanlRuler::SetShowLargeLines(bool on) {
    if (on == m_showLargeLines)
        return;
    m_showLargeLines = on;
    update();
}

void TanlRuler::SetShowIndents(bool on) {
    if (on == m_showIndents)
        return;
    m_showIndents = on;
    for (RulerMarker *marker : {m_firstMarker, m_leftMarker, m_rightMarker, m_block})
        marker->setVisible(on);
    update();
}

void TanlRuler::SetShowNumbers(bool on) {
    if (on == m_showNumbers)
        return;
    m_showNumbers = on;
    update();
}

void TanlRuler::SetShowMarginHandlers(bool on) {
    if (on == m_showMarginHandlers)
        return;
    m_showMarginHandlers = on;
    if (!on)
        unsetCursor();
    update();
}

QColor TanlRuler::Color() const {
    return m_color.isValid() ? m_color : palette().color(QPalette::Base);
}

void TanlRuler::SetColor(const QColor &color) {
    m_color = color;
    update();
}

void TanlRuler::IncIndent() {
    SetIndentLeft(m_block->x() + m_rulerTab);
    SetIndentFirst(IndentFirst() + m_rulerTab);
    emit OnIndentChange(BlockIndent);
}

void TanlRuler::DecIndent() {
    SetIndentLeft(m_block->x() - m_rulerTab);
    SetIndentFirst(IndentFirst() - m_rulerTab);
    emit OnIndentChange(BlockIndent);
}

int TanlRuler::Value(int item) const {
    switch (item) {
    case FirstIndentValue:
        return IndentFirst();
    case LeftIndentValue:
        return IndentLeft();
    case RightIndentValue:
        return IndentRight();
    case LeftMarginValue:
        return m_marginLeft;
    case RightMarginValue:
        return m_marginRight;
    default:
        return 0;
    }
}

bool TanlRuler::ApplyValue(int item, int value) {
    switch (item) {
    case FirstIndentValue:
        SetIndentFirst(value);
        break;
    case LeftIndentValue:
        SetIndentLeft(value);
        break;
    case RightIndentValue:
        SetIndentRight(value);
        break;
    case LeftMarginValue:
        SetMarginLeft(value);
        break;
    case RightMarginValue:
        SetMarginRight(value);
        break;
    default:
        return false;
    }
    if (Value(item) != value)
        return false;
    if (item <= RightIndentValue)
        emit OnIndentChange(item);
    else
        emit OnMarginChange(item - LeftMarginValue);
    return true;
}

void TanlRuler::valueChanged(int item) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *ruler = QAccessible::queryAccessibleInterface(this);
    if (!ruler || item >= ruler->childCount())
        return;
    QAccessibleValueChangeEvent event(ruler->child(item), Value(item));
    QAccessible::updateAccessibility(&event);
}

QList<RulerScaleMark> TanlRuler::ScaleMarks() const {
    RulerScaleLayout layout;
    layout.from = m_borderLeft;
    layout.to = width() - m_borderRight - 1;
    layout.zero = leftMarginLine();
    layout.tabDist = m_tabDist;
    layout.factor = m_factor;
    layout.numbers = m_showNumbers;
    layout.largeLines = m_showLargeLines;
    layout.smallLines = m_showSmallLines;
    return RulerScaleMarks(layout);
}

int TanlRuler::leftMarginLine() const {
    return m_borderLeft + m_marginLeft;
}

int TanlRuler::rightMarginLine() const {
    return width() - m_borderRight - m_marginRight;
}

int TanlRuler::marginNear(int x) const {
    if (std::abs(x - leftMarginLine()) < MarginGrip)
        return LeftMargin;
    if (std::abs(x - rightMarginLine()) < MarginGrip)
        return RightMargin;
    return -1;
}

void TanlRuler::placeMarkers() {
    const int h = height();
    const int firstTop = qBound(0, m_borderUp - 3, h - MarkerHeight);
    const int indentTop = qBound(0, h - m_borderDown - MarkerHeight, h - 13);
    m_firstMarker->move(m_firstMarker->x(), firstTop);
    m_leftMarker->move(m_leftMarker->x(), indentTop);
    m_rightMarker->move(m_rightMarker->x(), indentTop);
    m_block->move(m_block->x(), indentTop + MarkerHeight);
}

void TanlRuler::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    placeMarkers();
}

void TanlRuler::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);

    // The border bands, and whatever the bands below leave uncovered on a ruler too narrow
    // for its margins.
    painter.fillRect(rect(), face);

    const int top = m_borderUp;
    const int bottom = h - m_borderDown;
    const auto band = [&](int left, int right, const QColor &color) {
        if (right > left && bottom > top)
            painter.fillRect(QRect(left, top, right - left, bottom - top), color);
    };
    const int leftLine = leftMarginLine();
    const int rightLine = rightMarginLine();
    band(m_borderLeft, leftLine, shadow);
    band(rightLine, w - m_borderRight, shadow);
    band(leftLine, rightLine, Color());

    if (m_showMarginHandlers) {
        // A margin of 0 has its handle in the shadow colour, so it does not vanish in the border.
        band(leftLine - 1, leftLine + 1, m_marginLeft != 0 ? face : shadow);
        band(rightLine - 1, rightLine + 1, m_marginRight != 0 ? face : shadow);
    }

    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics = painter.fontMetrics();
    for (const RulerScaleMark &mark : ScaleMarks()) {
        switch (mark.kind) {
        case RulerScaleMark::Number:
            painter.drawText(mark.x - metrics.horizontalAdvance(mark.text) / 2,
                             (h - metrics.height()) / 2 + metrics.ascent(), mark.text);
            break;
        case RulerScaleMark::LargeTick:
            painter.drawLine(mark.x, (h - 5) / 2, mark.x, (h - 5) / 2 + 4);
            break;
        case RulerScaleMark::SmallTick:
            painter.drawLine(mark.x, (h - 2) / 2, mark.x, (h - 2) / 2 + 1);
            break;
        }
    }

    if (m_dragMarker)
        paintDragOutline(painter);
}

void TanlRuler::paintDragOutline(QPainter &painter) const {
    int start = m_startBlock;
    if (m_dragMarker == m_firstMarker)
        start = m_startFirst;
    else if (m_dragMarker == m_rightMarker)
        start = m_startRight;
    if (m_dragMarker->x() == start)
        return;
    painter.save();
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(palette().color(QPalette::Button));
    painter.drawPolygon(
        RulerMarker::outline(m_dragMarker->shape()).translated(start, m_dragMarker->y()));
    painter.restore();
}

int TanlRuler::idOf(const RulerMarker *marker) const {
    if (marker == m_firstMarker)
        return FirstIndent;
    if (marker == m_leftMarker)
        return LeftIndent;
    if (marker == m_rightMarker)
        return RightIndent;
    return BlockIndent;
}

void TanlRuler::moveGuideLine(int x) {
    if (!m_richedit || !m_guideLines) {
        m_guideX = -1;
        return;
    }
    // Both positions as each control's own parent reports them.
    const int at = x + this->x() - m_richedit->x();
    if (at == m_guideX)
        return;
    // The new line first: the layer stays up between the two, and only the two strips are
    // painted again.
    m_guideLines->toggle(at);
    removeGuideLine();
    m_guideX = at;
}

void TanlRuler::removeGuideLine() {
    if (m_guideX >= 0 && m_guideLines)
        m_guideLines->toggle(m_guideX);
    m_guideX = -1;
}

void TanlRuler::markerPressed(RulerMarker *marker, int x) {
    if (IsDragging())
        return;
    m_dragMarker = marker;
    m_grabOffset = x;
    m_startFirst = IndentFirst();
    m_startRight = IndentRight();
    m_startBlock = m_block->x();
    moveGuideLine(marker->x() + 4);
    emit OnIndentClick(idOf(marker));
}

void TanlRuler::markerMoved(RulerMarker *marker, int x) {
    if (marker != m_dragMarker)
        return;
    const int old = marker->x();
    const int pointer = x + old - m_grabOffset;
    const int wanted = snap(pointer, m_rulerTab);
    if (marker == m_firstMarker) {
        SetIndentFirst(wanted);
    } else if (marker == m_leftMarker) {
        SetIndentLeft(wanted);
    } else if (marker == m_rightMarker) {
        SetIndentRight(wanted);
    } else {
        SetIndentLeft(wanted);
        // The first-line marker keeps the distance it had at the start of the drag; measured
        // from where the block now stands it would run away while the block's guard holds it.
        SetIndentFirst(snap(pointer + m_startFirst - m_startBlock, m_rulerTab));
    }
    if (marker->x() != old) {
        moveGuideLine(marker->x() + 4);
        update();
    }
}

void TanlRuler::markerReleased(RulerMarker *marker) {
    if (marker != m_dragMarker)
        return;
    removeGuideLine();
    m_dragMarker = nullptr;
    update();
    emit OnIndentChange(idOf(marker));
}

void TanlRuler::markerDoubleClicked(RulerMarker *marker) {
    emit OnIndentDblClick(idOf(marker));
}

void TanlRuler::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !m_showMarginHandlers || IsDragging())
        return;
    const int margin = marginNear(int(event->position().x()));
    if (margin < 0)
        return;
    m_dragMargin = margin;
    moveGuideLine(margin == LeftMargin ? leftMarginLine() : rightMarginLine());
    emit OnMarginClick(margin);
}

void TanlRuler::mouseMoveEvent(QMouseEvent *event) {
    if (!m_showMarginHandlers)
        return;
    const int x = int(event->position().x());
    if (m_dragMargin < 0) {
        if (marginNear(x) >= 0)
            setCursor(Qt::SizeHorCursor);
        else
            unsetCursor();
        return;
    }
    if (m_dragMargin == LeftMargin) {
        const int old = leftMarginLine();
        SetMarginLeft(snap(x - m_borderLeft, m_rulerTab));
        if (leftMarginLine() != old)
            moveGuideLine(leftMarginLine());
    } else {
        const int old = rightMarginLine();
        SetMarginRight(snap(width() - m_borderRight - x, m_rulerTab));
        if (rightMarginLine() != old)
            moveGuideLine(rightMarginLine());
    }
}

void TanlRuler::mouseReleaseEvent(QMouseEvent *) {
    if (m_dragMargin < 0)
        return;
    const int margin = m_dragMargin;
    removeGuideLine();
    m_dragMargin = -1;
    emit OnMarginChange(margin);
}
