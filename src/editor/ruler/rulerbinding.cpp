#include "editor/ruler/rulerbinding.h"

#include "editor/document/editlayout.h"
#include "editor/frame/editoractions.h"
#include "editor/ruler/pagemargins.h"
#include "richtext/rxrichedit.h"
#include "ruler/tanlruler.h"

#include <QAction>
#include <QSignalBlocker>
#include <cmath>

namespace {
constexpr QSize Ruler1Size(665, 27);
constexpr double PixelsPerMillimetre = 3.2;
// The printable width is widened by this much on the ruler, as the editor has always shown it.
constexpr double RulerWidthFactor = 1.29;

int truncated(double value) {
    return int(std::trunc(value));
}
} // namespace

TRulerBinding::TRulerBinding(RulerBindingContext context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_page(&context.page) {
    TanlRuler &ruler = m_context.ruler1;
    connect(&ruler, &TanlRuler::OnIndentChange, this, &TRulerBinding::ruler1IndentChange);
    connect(&ruler, &TanlRuler::OnMarginChange, this, &TRulerBinding::ruler1MarginChange);
    TEditorActions &a = m_context.actions;
    a.route(a.IncIndentAction, this, &TRulerBinding::IncIndentActionExecute);
    a.route(a.DecIndentAction, this, &TRulerBinding::DecIndentActionExecute);
}

TRulerBinding::~TRulerBinding() = default;

TanlRuler *TRulerBinding::createRuler1(QWidget &RulerPanel) {
    auto *ruler = new TanlRuler(&RulerPanel);
    ruler->setObjectName(QStringLiteral("ruler1"));
    ruler->setGeometry(QRect(QPoint(0, 0), Ruler1Size));
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(9);
    ruler->setFont(font);
    ruler->setAccessibleName(QStringLiteral("Adjust Indent"));
    ruler->setToolTip(QStringLiteral("Adjust Indent"));
    ruler->setStatusTip(QStringLiteral("Adjust Indent and Margins"));
    ruler->SetMarginLeft(0);
    ruler->SetMarginRight(0);
    ruler->SetIndentFirst(0);
    ruler->SetIndentLeft(0);
    ruler->SetIndentRight(639);
    return ruler;
}

void TRulerBinding::SetupRuler() {
    TRxRichEdit &memo = m_context.Memo;
    // A document opened on the command line keeps the indents it was saved with.
    if (memo.TextLength() > 0)
        return;
    const bool modified = memo.Modified();
    {
        // The window's start values are no edit: the boxes and panels the selection tracker
        // fills keep their design values until the user moves.
        const QSignalBlocker quiet(&memo);
        memo.Paragraph().SetFirstIndent(m_context.ruler1.IndentFirst() + 2);
        memo.Paragraph().SetLeftIndent(m_context.ruler1.IndentLeft() + 2);
    }
    memo.SetModified(modified);
}

void TRulerBinding::SetMargin() {
    TEditLayout &layout = m_context.layout;
    layout.MarginRightPx = truncated(truncated(m_page->MarginRight()) * PixelsPerMillimetre);
    layout.MarginLeftPx = truncated(truncated(m_page->MarginLeft()) * PixelsPerMillimetre);
    layout.RulerWidthPx =
        truncated(truncated(m_page->PrintableWidth() * RulerWidthFactor) * PixelsPerMillimetre);
    TanlRuler &ruler = m_context.ruler1;
    // The margins are checked against the ruler's width before it changes.
    ruler.SetMarginLeft(layout.MarginLeftPx);
    ruler.SetMarginRight(layout.MarginRightPx);
    ruler.resize(layout.RulerWidthPx, ruler.height());
    // The right marker moved with the margin but not with the width: stood where the selection's
    // paragraph does not put it, its next change would rewrite that paragraph's right indent.
    const TRxParaAttributes paragraph = m_context.Memo.Paragraph();
    SetIndentMarkers(RulerMarkersForIndents(paragraph.FirstIndent(), paragraph.LeftIndent(),
                                            paragraph.RightIndent(), MarginLeftPx(),
                                            MarginRightPx(), ClientWidth()));
    // The text follows the new margins and width at once, not at the next resize.
    layOut();
}

void TRulerBinding::ruler1MarginChange(int) {
    m_context.layout.MarginLeftPx = m_context.ruler1.MarginLeft();
    m_context.layout.MarginRightPx = m_context.ruler1.MarginRight();
    layOut();
}

void TRulerBinding::ruler1IndentChange(int) {
    const TanlRuler &ruler = m_context.ruler1;
    const RulerParagraphIndents indents =
        RulerIndentsForMarkers({ruler.IndentFirst(), ruler.IndentLeft(), ruler.IndentRight()},
                               ruler.MarginLeft(), m_context.layout.MarginRightPx, ruler.width());
    TRxRichEdit &memo = m_context.Memo;
    // One undo step and one change notification for the three indents.
    memo.HoldNotifications();
    memo.BeginUndoGroup();
    try {
        memo.Paragraph().SetFirstIndent(indents.first);
        memo.Paragraph().SetLeftIndent(indents.leftFromEdge - memo.Paragraph().FirstIndent());
        memo.Paragraph().SetRightIndent(indents.right);
    } catch (...) {
        memo.EndUndoGroup();
        memo.ReleaseNotifications();
        throw;
    }
    memo.EndUndoGroup();
    memo.ReleaseNotifications();
    memo.viewport()->update();
}

void TRulerBinding::IncIndentActionExecute() {
    m_context.ruler1.IncIndent();
}

void TRulerBinding::DecIndentActionExecute() {
    m_context.ruler1.DecIndent();
}

int TRulerBinding::ClientWidth() const {
    return m_context.ruler1.width();
}

int TRulerBinding::MarginLeftPx() const {
    return m_context.layout.MarginLeftPx;
}

int TRulerBinding::MarginRightPx() const {
    return m_context.layout.MarginRightPx;
}

void TRulerBinding::SetIndentMarkers(const RulerIndentMarkers &markers) {
    TanlRuler &ruler = m_context.ruler1;
    // Each setter keeps the right marker clear of the others as they stand; moved in this order
    // no step is refused that the end position allows.
    if (markers.right > ruler.IndentRight())
        ruler.SetIndentRight(markers.right);
    ruler.SetIndentFirst(markers.first);
    ruler.SetIndentLeft(markers.left);
    ruler.SetIndentRight(markers.right);
}

void TRulerBinding::layOut() {
    const bool modified = m_context.Memo.Modified();
    m_context.layout.SetEditRect();
    m_context.Memo.SetModified(modified);
}
