#pragma once

#include <QString>
#include <vector>

class PlainTextBuffer;

// Undo and redo for a PlainTextBuffer: every edit is recorded as the text it removed and the text
// it put in at a position; a step is one or more edits undone together. Typing one character
// after another at the end of the last typed step's insertion joins that step, so Undo takes
// back a typed run (and the selection its first character replaced) at once.
class PlainTextHistory {
public:
    struct Edit {
        int position = 0;
        QString removed;
        QString inserted;
    };
    struct Step {
        std::vector<Edit> edits;
        // The selection before the step, to put back on undo.
        int anchorBefore = 0;
        int caretBefore = 0;
        bool typing = false;
    };

    // Replaces [start, end) of the buffer by text and records it; typing marks a typed character.
    void replace(PlainTextBuffer &buffer, int start, int end, const QString &text, int anchor,
                 int caret, bool typing = false);

    // Every edit between the two becomes one step; calls nest.
    void beginGroup();
    void endGroup();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Undoes the last step; answers the selection to show afterwards (anchor, caret).
    std::pair<int, int> undo(PlainTextBuffer &buffer);
    // Redoes the last undone step; the caret goes after its last insertion.
    std::pair<int, int> redo(PlainTextBuffer &buffer);
    void clear();

    // How many steps are kept; 0 keeps none.
    int limit() const { return m_limit; }
    void setLimit(int limit);

private:
    void trim();

    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    int m_groupDepth = 0;
    bool m_groupOpen = false;
    int m_limit = 100;
};
