#include "editor/format/selectiontracker.h"

#include "editor/document/modeflags.h"
#include "editor/format/formatstate.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "richtext/rxrichedit.h"
#include "ruler/rulerindents.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QFontInfo>
#include <QSpinBox>
#include <exception>

TSelectionTracker::TSelectionTracker(SelectionTrackerContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TRxRichEdit *memo = &m_context.Memo;
    connect(memo, &TRxRichEdit::OnChange, this, &TSelectionTracker::MemoSelectionChange);
    connect(memo, &TRxRichEdit::OnSelectionChange, this, &TSelectionTracker::MemoSelectionChange);
    connect(memo, &TRxRichEdit::OnMouseDown, this, [this] {
        UpdateLine();
        MemoSelectionChange();
    });
    connect(memo, &TRxRichEdit::OnMouseUp, this, &TSelectionTracker::MemoSelectionChange);
    connect(memo, &TRxRichEdit::OnKeyUp, this, &TSelectionTracker::UpdateLine);
}

QString TSelectionTracker::PositionText(int line, int column) {
    return QStringLiteral("L:%1 C:%2").arg(line + 1, 3).arg(column + 1, 3);
}

void TSelectionTracker::UpdateLine() {
    m_context.status.setTextSized(
        TStatusPanels::Pos, PositionText(m_context.Memo.CaretLine(), m_context.Memo.CaretColumn()));
}

void TSelectionTracker::moveRulerMarkers() {
    // The markers follow the paragraph only when the editing area lacks the focus (after a dialog
    // or a ruler drag, say); while the user types and moves the caret they stay where they are.
    if (!m_context.ruler || m_context.Memo.hasFocus())
        return;
    const TRxParaAttributes paragraph = m_context.Memo.Paragraph();
    m_context.ruler->SetIndentMarkers(
        RulerMarkersForIndents(paragraph.FirstIndent(), paragraph.LeftIndent(),
                               paragraph.RightIndent(), m_context.ruler->MarginLeftPx(),
                               m_context.ruler->MarginRightPx(), m_context.ruler->ClientWidth()));
}

void TSelectionTracker::track() {
    moveRulerMarkers();
    m_context.state.Updating = true;
    TEditorActions &a = m_context.actions;
    const TRxTextAttributes text = m_context.Memo.SelAttributes();
    const TRxTextAttributes::FontStyles style = text.Style();
    a.BoldAction->setChecked(style.testFlag(TRxTextAttributes::fsBold));
    a.ItalicAction->setChecked(style.testFlag(TRxTextAttributes::fsItalic));
    a.UnderscoreAction->setChecked(style.testFlag(TRxTextAttributes::fsUnderline));
    a.StrikeAction->setChecked(style.testFlag(TRxTextAttributes::fsStrikeOut));

    const TRxParaAttributes paragraph = m_context.Memo.Paragraph();
    a.BulletAction->setChecked(paragraph.Numbering() != TRxParaAttributes::nsNone);

    const int script = text.ScriptStyle();
    a.SuperscriptAction->setChecked(script == TRxTextAttributes::ssSuperscript);
    a.SubscriptAction->setChecked(script == TRxTextAttributes::ssSubscript);

    const QString face = text.Name();
    const int fontIndex = m_context.FontCombo.findText(face, Qt::MatchFixedString);
    m_context.FontCombo.setCurrentIndex(fontIndex);
    // A face the machine lacks selects no item; the box still shows the name the text asks
    // for, and its tool tip says which face draws it instead.
    QString drawnBy;
    if (fontIndex < 0) {
        m_context.FontCombo.setEditText(face);
        QFont font;
        font.setFamilies({face});
        const QString family = QFontInfo(font).family();
        if (family.compare(face, Qt::CaseInsensitive) != 0)
            drawnBy = family;
    }
    m_context.FontCombo.setToolTip(drawnBy.isEmpty()
                                       ? QStringLiteral("Font")
                                       : QStringLiteral("Font (drawn with %1)").arg(drawnBy));
    m_context.FontSizeBox.setValue(text.Size());

    const int alignment = paragraph.Alignment();
    a.LeftAction->setChecked(alignment == TRxParaAttributes::taLeftJustify);
    a.CenterAction->setChecked(alignment == TRxParaAttributes::taCenter);
    a.RightAction->setChecked(alignment == TRxParaAttributes::taRightJustify);

    UpdateLine();
}

void TSelectionTracker::MemoSelectionChange() {
    // The check marks and boxes are a view of the selection; whatever fails while writing them,
    // the commands below are still set and the guard always ends.
    try {
        track();
    } catch (const std::exception &) {
    }
    if (m_context.mode.HTMLMode) {
        m_context.state.Updating = false;
        return;
    }
    TEditorActions &a = m_context.actions;
    a.setAllowed(a.CopyAction, m_context.Memo.SelLength() > 0);
    a.setAllowed(a.CutAction, a.isAllowed(a.CopyAction));
    // The popup menu's items are the same commands.
    a.setAllowed(a.PoPCopy, a.isAllowed(a.CopyAction));
    a.setAllowed(a.PoPCut, a.isAllowed(a.CutAction));
    a.setAllowed(a.UndoAction, false);
    a.setAllowed(a.RedoAction, false);
    a.setAllowed(a.UndoAction, m_context.Memo.CanUndo());
    a.setAllowed(a.RedoAction, m_context.Memo.CanRedo());
    m_context.state.Updating = false;
}
