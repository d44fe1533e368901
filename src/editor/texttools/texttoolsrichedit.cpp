#include "editor/texttools/texttoolsrichedit.h"

#include "richtext/rxrichedit.h"

namespace {

TRxRichEdit::TSearchTypes searchTypes(bool matchCase, bool wholeWord) {
    TRxRichEdit::TSearchTypes types;
    if (matchCase)
        types |= TRxRichEdit::stMatchCase;
    if (wholeWord)
        types |= TRxRichEdit::stWholeWord;
    return types;
}

} // namespace

QString TextToolsRichEdit::text() const {
    return m_memo.Text();
}

int TextToolsRichEdit::selStart() const {
    return m_memo.SelStart();
}

int TextToolsRichEdit::selLength() const {
    return m_memo.SelLength();
}

QString TextToolsRichEdit::selText() const {
    return m_memo.SelText();
}

void TextToolsRichEdit::setSelText(const QString &text) {
    m_memo.SetSelText(text);
}

void TextToolsRichEdit::selectRange(int start, int end, bool scroll) {
    m_memo.SelectRange(start, end, scroll);
}

int TextToolsRichEdit::selSize() const {
    return m_memo.SelAttributes().Size();
}

bool TextToolsRichEdit::selSizeUniform() const {
    return m_memo.SelAttributes().Consistent().testFlag(TRxTextAttributes::caSize);
}

void TextToolsRichEdit::setSelSize(int points) {
    m_memo.SelAttributes().SetSize(points);
}

void TextToolsRichEdit::beginUpdate() {
    m_memo.Lines().BeginUpdate();
}

void TextToolsRichEdit::endUpdate() {
    m_memo.Lines().EndUpdate();
}

void TextToolsRichEdit::setModified(bool modified) {
    m_memo.SetModified(modified);
}

bool TextToolsRichEdit::findNext(const QString &findText, bool matchCase, bool wholeWord,
                                 bool down) {
    return m_memo.FindNext(findText, searchTypes(matchCase, wholeWord), down);
}

bool TextToolsRichEdit::replaceNext(const QString &findText, const QString &replacement,
                                    bool matchCase, bool wholeWord) {
    return m_memo.ReplaceNext(findText, replacement, searchTypes(matchCase, wholeWord));
}

int TextToolsRichEdit::replaceAll(const QString &findText, const QString &replacement,
                                  bool matchCase, bool wholeWord) {
    return m_memo.ReplaceAll(findText, replacement, searchTypes(matchCase, wholeWord));
}

QPoint TextToolsRichEdit::screenPointAt(int position) const {
    QTextCursor cursor(m_memo.document());
    cursor.setPosition(std::clamp(position, 0, m_memo.TextLength()));
    return m_memo.viewport()->mapToGlobal(m_memo.cursorRect(cursor).topLeft());
}

QString TextToolsRichEdit::plainText() const {
    return m_memo.Text();
}

void TextToolsRichEdit::setPlainText(const QString &text) {
    m_memo.SetText(text);
}
