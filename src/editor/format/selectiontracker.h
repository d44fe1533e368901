#pragma once

#include <QObject>

class QComboBox;
class QSpinBox;
class TEditorActions;
class TIndentRuler;
class TRxRichEdit;
class TStatusPanels;
struct TFormatState;
struct TModeFlags;

// What the selection tracker writes to. Nothing is owned.
struct SelectionTrackerContext {
    TRxRichEdit &Memo;
    TEditorActions &actions;
    QComboBox &FontCombo;
    QSpinBox &FontSizeBox;
    TStatusPanels &status;
    TFormatState &state;
    const TModeFlags &mode;
    // The ruler whose indent markers follow the paragraph; none until a ruler is placed.
    TIndentRuler *ruler = nullptr;
};

// Keeps the format check marks, the font and size boxes, the "Pos" panel and the enabled state of
// the clipboard and undo commands in step with the editing area's selection. It runs after every
// change of the text, its format or the selection, and after mouse presses and releases. In HTML
// and picture mode the editing area is hidden and its commands stay off as the mode left them.
class TSelectionTracker : public QObject {
    Q_OBJECT

public:
    explicit TSelectionTracker(SelectionTrackerContext context, QObject *parent = nullptr);

    void MemoSelectionChange();
    // The "Pos" panel: the caret's line and column.
    void UpdateLine();

    // "L:%3d C:%3d" for zero-based line and column, each number right-aligned in three places.
    static QString PositionText(int line, int column);

    void setRuler(TIndentRuler *ruler) { m_context.ruler = ruler; }

private:
    void track();
    void moveRulerMarkers();

    SelectionTrackerContext m_context;
};
