#include "plaintext/plaintexthistory.h"

#include "plaintext/plaintextbuffer.h"

#include <algorithm>

void PlainTextHistory::replace(PlainTextBuffer &buffer, int start, int end, const QString &text,
                               int anchor, int caret, bool typing) {
    start = std::clamp(start, 0, buffer.length());
    end = std::clamp(end, start, buffer.length());
    Edit edit{start, buffer.text(start, end), QString()};
    const int inserted = buffer.replace(start, end, text);
    edit.inserted = buffer.text(start, start + inserted);
    m_redo.clear();
    if (m_limit == 0)
        return;
    if (m_groupDepth > 0 && m_groupOpen) {
        m_undo.back().edits.push_back(std::move(edit));
        return;
    }
    if (m_groupDepth == 0 && typing && !m_undo.empty() && m_undo.back().typing &&
        edit.removed.isEmpty()) {
        Edit &last = m_undo.back().edits.back();
        if (last.position + last.inserted.size() == edit.position) {
            last.inserted += edit.inserted;
            return;
        }
    }
    Step step;
    step.anchorBefore = anchor;
    step.caretBefore = caret;
    step.typing = typing;
    step.edits.push_back(std::move(edit));
    m_undo.push_back(std::move(step));
    m_groupOpen = m_groupDepth > 0;
    trim();
}

void PlainTextHistory::beginGroup() {
    if (m_groupDepth++ == 0)
        m_groupOpen = false;
}

void PlainTextHistory::endGroup() {
    if (m_groupDepth > 0 && --m_groupDepth == 0)
        m_groupOpen = false;
}

std::pair<int, int> PlainTextHistory::undo(PlainTextBuffer &buffer) {
    if (m_undo.empty())
        return {0, 0};
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it)
        buffer.replace(it->position, it->position + int(it->inserted.size()), it->removed);
    const std::pair<int, int> selection{step.anchorBefore, step.caretBefore};
    step.typing = false;
    m_redo.push_back(std::move(step));
    return selection;
}

std::pair<int, int> PlainTextHistory::redo(PlainTextBuffer &buffer) {
    if (m_redo.empty())
        return {0, 0};
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    int caret = 0;
    for (const Edit &edit : step.edits) {
        buffer.replace(edit.position, edit.position + int(edit.removed.size()), edit.inserted);
        caret = edit.position + int(edit.inserted.size());
    }
    m_undo.push_back(std::move(step));
    return {caret, caret};
}

void PlainTextHistory::clear() {
    m_undo.clear();
    m_redo.clear();
    m_groupOpen = false;
}

void PlainTextHistory::setLimit(int limit) {
    m_limit = std::max(0, limit);
    trim();
}

void PlainTextHistory::trim() {
    if (int(m_undo.size()) > m_limit)
        m_undo.erase(m_undo.begin(), m_undo.begin() + (int(m_undo.size()) - m_limit));
}
