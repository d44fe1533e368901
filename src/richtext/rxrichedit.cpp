#include "richtext/rxrichedit.h"

#include "plaintext/plaintextview.h"
#include "richtext/richtextdocument.h"
#include "richtext/richtextlinks.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rtf/longwords.h"
#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfkeptgroup.h"
#include "richtext/rxdocumentlayout.h"
#include "richtext/rxlargetext.h"
#include "richtext/rxpagerenderer.h"
#include "richtext/rxricheditaccessible.h"
#include "richtext/underlinedecorations.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QImageReader>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QToolTip>
#include <QtGui/private/qtextdocument_p.h>
#include <utility>
#include <vector>

namespace {

// Changes above this many characters look for right-to-left text in the whole text store first.
constexpr int largeChange = 65536;

bool isFileDrop(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

// The range a deleting key removes when nothing is selected.
QTextCursor deletionRange(const QTextCursor &caret, QKeyEvent *event) {
    QTextCursor range = caret;
    if (event == QKeySequence::Delete)
        range.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    else if (event == QKeySequence::DeleteEndOfWord)
        range.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    else if (event == QKeySequence::DeleteStartOfWord)
        range.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    else if (event == QKeySequence::DeleteEndOfLine)
        range.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    else if (event == QKeySequence::DeleteCompleteLine)
        range.select(QTextCursor::BlockUnderCursor);
    else
        range.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    return range;
}

bool isDeletingKey(QKeyEvent *event) {
    return event == QKeySequence::Delete || event == QKeySequence::DeleteEndOfWord ||
           event == QKeySequence::DeleteStartOfWord || event == QKeySequence::DeleteEndOfLine ||
           event == QKeySequence::DeleteCompleteLine || event->key() == Qt::Key_Backspace;
}

QTextCharFormat withoutProtection(QTextCharFormat format) {
    format.clearProperty(RichTextFormat::ProtectedProperty);
    return format;
}

// Shaping Latin text buys ligatures and kerning at twice the layout cost, which a 10 MB
// document feels; scripts that need shaping still get it.
QFont withoutNeedlessShaping(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

const QStringList &rtfMimeTypes() {
    static const QStringList types = {QStringLiteral("text/rtf"), QStringLiteral("text/richtext"),
                                      QStringLiteral("application/rtf")};
    return types;
}

} // namespace

TRxRichEdit::TRxRichEdit(QWidget *parent)
    : QTextEdit(parent)
    , m_lines(*this) {
    TRxRichEditAccessible::install();
    setAcceptRichText(true);
    setTabChangesFocus(false);
    adoptOwnDocument();
    m_pageRenderer = std::make_unique<TRxPageRenderer>(*document());
    connect(this, &QTextEdit::cursorPositionChanged, this, &TRxRichEdit::selectionMaybeChanged);
    connect(this, &QTextEdit::selectionChanged, this, &TRxRichEdit::selectionMaybeChanged);
    viewport()->setMouseTracking(true);
    applyWrapMode();
    SetScrollBars(m_scrollBars);
    applySelectionPalette();
}

TRxRichEdit::~TRxRichEdit() = default;

QString TRxRichEdit::Text() const {
    if (m_largeText)
        return m_largeText->Text();
    return RichTextDocument::withCrLf(document()->toRawText());
}

void TRxRichEdit::SetText(const QString &text) {
    if (m_plainText && TRxLargeText::isLarge(text)) {
        loadLargeText(text, documentPlainTextFormat(*document()));
        return;
    }
    loadPlainText(RichTextDocument::withNewlines(text));
    resetUndoHistory();
    SetModified(false);
}

int TRxRichEdit::GetTextLen() const {
    if (m_largeText)
        return m_largeText->GetTextLen();
    const QString raw = document()->toRawText();
    int length = raw.size();
    for (const QChar c : raw) {
        if (RichTextDocument::isLineBreakMark(c.unicode()) || c == u'\n')
            ++length;
    }
    return length;
}

int TRxRichEdit::TextLength() const {
    if (m_largeText)
        return m_largeText->TextLength();
    return document()->characterCount() - 1;
}

QString TRxRichEdit::TextRange(int start, int end) const {
    if (m_largeText)
        return m_largeText->TextRange(start, end);
    const int length = TextLength();
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, start, length));
    cursor.setPosition(qBound(0, end, length), QTextCursor::KeepAnchor);
    return RichTextDocument::withCrLf(cursor.selectedText());
}

void TRxRichEdit::Clear() {
    SetText(QString());
}

void TRxRichEdit::adoptOwnDocument() {
    // The view deletes a document it made itself when it is given another; the one made here
    // belongs to this control, so it can be set aside while bulk work runs on it. It stays the
    // same object for the control's whole life, so that callers may connect to it.
    QTextDocument *made = document();
    auto *own = new QTextDocument(this);
    own->setDefaultFont(withoutNeedlessShaping(made->defaultFont()));
    own->setDocumentMargin(made->documentMargin());
    own->setUndoRedoEnabled(m_undoLimit > 0);
    own->setDocumentLayout(new TRxDocumentLayout(own));
    setDocument(own);
    m_ownDocument = own;
    setLeftToRightOnly(true);
    m_parkingDocument = new QTextDocument(this);
    connect(own, &QTextDocument::undoCommandAdded, this, &TRxRichEdit::undoStepAdded);
    connect(own, &QTextDocument::contentsChanged, this, &TRxRichEdit::documentChanged);
    connect(own, &QTextDocument::contentsChange, this, &TRxRichEdit::documentChangedAt);
}

void TRxRichEdit::documentChanged() {
    if (m_rightToLeftArrived) {
        m_rightToLeftArrived = false;
        m_layoutMayBreak = false;
        // Paragraphs find their direction from their text again; the layout starts anew.
        setLeftToRightOnly(false);
        invalidateLineCache();
    }
    if (m_layoutMayBreak) {
        m_layoutMayBreak = false;
        finishBrokenLayout();
    }
    if (m_notificationsHeld == 0)
        notifyChange();
}

void TRxRichEdit::documentChangedAt(int from, int removed, int added) {
    invalidateLineCache(document()->findBlock(from).blockNumber());
    // A change of the whole content starts a fresh layout, which Qt completes lazily as it
    // should; any other change made while that layout is under way is checked once Qt is done.
    const QTextDocument *doc = m_ownDocument;
    m_layoutMayBreak =
        !doc->pageSize().isNull() && !(from == 0 && removed == 0 && added == doc->characterCount());
    m_changedFrom = from;
    if (!m_wrapAnywhere && added >= LongWords::MinimumLength) {
        const QTextBlock end = doc->findBlock(from + added).next();
        for (QTextBlock block = doc->findBlock(from); block.isValid() && block != end;
             block = block.next()) {
            if (block.length() > LongWords::MinimumLength && LongWords::hasLongWord(block.text())) {
                setWrapAnywhere(true);
                break;
            }
        }
    }
    if (m_leftToRightOnly && added > 0 && !m_textStaysPut) {
        // A large change (a whole load) is checked against the document's text store first:
        // it holds every character ever inserted in one string, so a scan of it finds nothing
        // faster than copying the change out of the document paragraph by paragraph.
        if (added > largeChange &&
            !RichTextDocument::hasRightToLeft(QTextDocumentPrivate::get(doc)->buffer()))
            return;
        const int last = doc->characterCount() - 1;
        QTextCursor range(m_ownDocument);
        range.setPosition(qBound(0, from, last));
        range.setPosition(qBound(0, from + added, last), QTextCursor::KeepAnchor);
        if (RichTextDocument::hasRightToLeft(range.selectedText()))
            m_rightToLeftArrived = true;
    }
}

void TRxRichEdit::setWrapAnywhere(bool on) {
    if (m_wrapAnywhere == on)
        return;
    m_wrapAnywhere = on;
    const QTextOption::WrapMode mode =
        on ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    // Acts on the document the control shows, and on our own one too while a load fills it
    // detached, so that its first layout already wraps this way.
    setWordWrapMode(mode);
    QTextOption option = m_ownDocument->defaultTextOption();
    if (lineWrapMode() != QTextEdit::NoWrap && option.wrapMode() != mode) {
        option.setWrapMode(mode);
        m_ownDocument->setDefaultTextOption(option);
    }
}

void TRxRichEdit::setLeftToRightOnly(bool on) {
    // Without a direction of its own, each paragraph scans its text for its first strong
    // character whenever it is laid out or moved, which a large document feels on every
    // keystroke; while no character is written from right to left, the answer is known.
    m_leftToRightOnly = on;
    QTextOption option = m_ownDocument->defaultTextOption();
    const Qt::LayoutDirection direction = on ? Qt::LeftToRight : Qt::LayoutDirectionAuto;
    if (option.textDirection() == direction)
        return;
    option.setTextDirection(direction);
    m_ownDocument->setDefaultTextOption(option);
}

void TRxRichEdit::finishBrokenLayout() {
    // Qt lays a large document out lazily, a chunk at a time. A change made before that layout
    // reaches the end ends it: the paragraphs it had not reached yet keep no lines, all drawn at
    // one height, and every later change and paint walks them all. Lay those out now, or, when
    // the change is near the top, start Qt's layout over: it lays out up to the change at once
    // and the rest in idle time again, so that typing right after a load does not wait for it.
    QTextDocument *doc = m_ownDocument;
    const QTextBlock last = doc->lastBlock();
    const auto laidOut = [](const QTextBlock &block) {
        return !block.isVisible() || (block.layout() && block.layout()->lineCount() > 0);
    };
    if (doc->pageSize().isNull() || laidOut(last))
        return;
    // Paragraphs are laid out in order, so the ones without lines are the last ones.
    int low = 0;
    int high = last.blockNumber();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (laidOut(doc->findBlockByNumber(middle)))
            low = middle + 1;
        else
            high = middle;
    }
    // Paragraphs above the change (and a screenful below it) that a new start lays out again.
    const int above = doc->findBlock(m_changedFrom).blockNumber() + 200;
    constexpr int quickRestartParagraphs = 4000;
    if (above < quickRestartParagraphs && above < last.blockNumber() - low) {
        doc->setPageSize(doc->pageSize());
        invalidateLineCache();
        return;
    }
    const int from = doc->findBlockByNumber(low).position();
    doc->markContentsDirty(from, doc->characterCount() - from);
    // Line counts read before were those of paragraphs without lines.
    invalidateLineCache(low);
}

void TRxRichEdit::notifyChange() {
    if (m_holdDepth > 0) {
        m_changeHeld = true;
        return;
    }
    emit OnChange();
}

void TRxRichEdit::notifySelectionChange() {
    if (m_holdDepth > 0) {
        m_selectionChangeHeld = true;
        return;
    }
    emit OnSelectionChange();
}

void TRxRichEdit::HoldNotifications() {
    ++m_holdDepth;
}

void TRxRichEdit::ReleaseNotifications() {
    if (m_holdDepth == 0 || --m_holdDepth > 0)
        return;
    const bool change = std::exchange(m_changeHeld, false);
    const bool selection = std::exchange(m_selectionChangeHeld, false);
    if (change)
        emit OnChange();
    if (selection)
        emit OnSelectionChange();
}

void TRxRichEdit::withDocumentDetached(const std::function<void(QTextDocument &)> &work) {
    QTextDocument *doc = document();
    ++m_notificationsHeld;
    setDocument(m_parkingDocument);
    // A null page size keeps the document's own layout from laying out what changes.
    doc->setPageSize(QSizeF(0, 0));
    const auto reattach = [this, doc] {
        setDocument(doc);
        --m_notificationsHeld;
        invalidateLineCache();
        m_pageRenderer->release();
    };
    try {
        work(*doc);
    } catch (...) {
        reattach();
        throw;
    }
    reattach();
}

void TRxRichEdit::reloadDocument(const std::function<void(QTextDocument &)> &load) {
    const bool wasModified = Modified();
    leaveLargeText(false);
    withDocumentDetached([this, &load](QTextDocument &doc) {
        // A load is never undone; recording it would only cost memory.
        doc.setUndoRedoEnabled(false);
        // The new text decides again whether any of it is written from right to left.
        m_rightToLeftArrived = false;
        setLeftToRightOnly(true);
        setWrapAnywhere(false);
        try {
            load(doc);
        } catch (...) {
            doc.setUndoRedoEnabled(m_undoLimit > 0);
            throw;
        }
        doc.setUndoRedoEnabled(m_undoLimit > 0);
    });
    setTextCursor(QTextCursor(document()));
    resetUndoHistory();
    // Replacing the content clears the flag without telling anyone; say it, so that whoever
    // follows it sees the change.
    if (wasModified && !Modified()) {
        SetModified(true);
        SetModified(false);
    }
    SetModified(false);
    m_lastAnchor = 0;
    m_lastPosition = 0;
    notifyChange();
    notifySelectionChange();
}

void TRxRichEdit::loadPlainText(const QString &text) {
    reloadDocument([&text](QTextDocument &doc) { doc.setPlainText(text); });
}

void TRxRichEdit::loadLargeText(QStringView text, const TextFormat &format) {
    // The document gives its paragraphs back; it keeps how the text is written to a file.
    reloadDocument([&format](QTextDocument &doc) {
        doc.clear();
        setDocumentPlainTextFormat(doc, format);
    });
    m_largeText = std::make_unique<TRxLargeText>(*this, text);
    m_largeText->SetUndoLimit(m_undoLimit);
    notifyChange();
    notifySelectionChange();
}

void TRxRichEdit::leaveLargeText(bool keep) {
    if (!m_largeText)
        return;
    std::unique_ptr<TRxLargeText> large = std::move(m_largeText);
    if (!keep)
        return;
    const bool modified = large->Modified();
    const int start = large->SelStart();
    const int end = start + large->SelLength();
    const QString text = large->plainText();
    large.reset();
    loadPlainText(text);
    SetModified(modified);
    SelectRange(start, end, true);
}

void TRxRichEdit::SetPlainText(bool on) {
    if (on == m_plainText)
        return;
    // Formats need the document: the text goes back into it, however long that takes.
    if (!on)
        leaveLargeText(true);
    m_plainText = on;
    setAcceptRichText(!on);
    if (!on)
        return;
    const bool modified = Modified();
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();
    // Dropping formats lays the whole document out again; a document without any is left be.
    bool dropped = true;
    const int carried = RichTextDocument::carriedFormats(*document());
    if (carried != 0) {
        withDocumentDetached([this, &dropped, carried](QTextDocument &doc) {
            doc.setUndoRedoEnabled(false);
            // Dropping formats (and pictures) brings no new character to look at.
            m_textStaysPut = true;
            dropped = RichTextDocument::dropFormats(doc, carried);
            m_textStaysPut = false;
        });
    }
    if (!dropped) {
        // Tables and other frames: rebuild from the text.
        QString text = document()->toRawText();
        text.remove(QChar::ObjectReplacementCharacter);
        loadPlainText(RichTextDocument::withNewlines(RichTextDocument::withCrLf(text)));
    }
    document()->setUndoRedoEnabled(m_undoLimit > 0);
    resetUndoHistory();
    SetModified(modified);
    QTextDocument *doc = document();
    const QTextBlock caretBlock = doc->findBlock(qBound(0, position, TextLength()));
    const bool caretLaidOut = caretBlock.layout() && caretBlock.layout()->lineCount() > 0;
    if (carried == 0 || caretLaidOut) {
        SelectRange(anchor, position, false);
    } else {
        // The new layout has only begun; putting the selection back would lay the text out up
        // to it, in a width the mode switching usually changes next. Without a page size the
        // document is not laid out, so the selection goes back first and the layout follows.
        const QSizeF pageSize = doc->pageSize();
        ++m_notificationsHeld;
        doc->setPageSize(QSizeF(0, 0));
        SelectRange(anchor, position, false);
        doc->setPageSize(pageSize);
        --m_notificationsHeld;
        invalidateLineCache();
    }
    m_lastAnchor = textCursor().anchor();
    m_lastPosition = textCursor().position();
    notifyChange();
    notifySelectionChange();
}

bool TRxRichEdit::Modified() const {
    if (m_largeText)
        return m_largeText->Modified();
    return document()->isModified();
}

void TRxRichEdit::SetModified(bool modified) {
    if (m_largeText)
        m_largeText->SetModified(modified);
    else
        document()->setModified(modified);
}

int TRxRichEdit::SelStart() const {
    if (m_largeText)
        return m_largeText->SelStart();
    return textCursor().selectionStart();
}

void TRxRichEdit::SetSelStart(int position) {
    SelectRange(position, position, true);
}

int TRxRichEdit::SelLength() const {
    if (m_largeText)
        return m_largeText->SelLength();
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TRxRichEdit::SetSelLength(int length) {
    const int start = SelStart();
    SelectRange(start, start + qMax(0, length), true);
}

QString TRxRichEdit::SelText() const {
    if (m_largeText)
        return m_largeText->SelText();
    return RichTextDocument::withCrLf(textCursor().selectedText());
}

void TRxRichEdit::SetSelText(const QString &text) {
    if (m_largeText) {
        m_largeText->SetSelText(text);
        return;
    }
    const int start = SelStart();
    const int end = start + SelLength();
    if (!allowEdit(start, end))
        return;
    // Typed-over or replaced text takes the first replaced character's format; new text is
    // never protected by inheritance, only when protection is set on it.
    const QTextCharFormat format =
        withoutProtection(start < end ? charFormatAt(start) : textCursor().charFormat());
    const QString inserted = RichTextDocument::withNewlines(text);
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(inserted, format);
    cursor.endEditBlock();
    SelectRange(start, start + int(inserted.size()), true);
}

void TRxRichEdit::SelectRange(int start, int end, bool scroll) {
    if (m_largeText) {
        m_largeText->SelectRange(start, end, scroll);
        return;
    }
    const int length = TextLength();
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, start, length));
    cursor.setPosition(qBound(0, end, length), QTextCursor::KeepAnchor);
    if (scroll) {
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // QTextEdit scrolls to every cursor it is given; put the view back where it was.
    const int h = horizontalScrollBar()->value();
    const int v = verticalScrollBar()->value();
    setTextCursor(cursor);
    horizontalScrollBar()->setValue(h);
    verticalScrollBar()->setValue(v);
}

void TRxRichEdit::SelectAll() {
    SelectRange(0, TextLength(), false);
}

int TRxRichEdit::CaretLine() const {
    if (m_largeText)
        return m_largeText->CaretLine();
    const int position = textCursor().selectionEnd();
    const QTextBlock block = document()->findBlock(position);
    // Laying out up to the caret makes the line counts of the blocks before it valid.
    document()->documentLayout()->blockBoundingRect(block);
    int line = displayLinesBefore(block);
    if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(position - block.position());
        if (textLine.isValid())
            line += textLine.lineNumber();
    }
    return line;
}

int TRxRichEdit::displayLinesBefore(const QTextBlock &target) const {
    const auto linesOf = [](const QTextBlock &block) {
        const QTextLayout *layout = block.layout();
        return layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    };
    const int targetNumber = target.blockNumber();
    QTextBlock block = document()->findBlockByNumber(m_lineCacheBlocks);
    // Walk from the cached paragraph to the target, whichever way is shorter than a restart.
    if (targetNumber < m_lineCacheBlocks && m_lineCacheBlocks - targetNumber > targetNumber)
        invalidateLineCache();
    if (m_lineCacheBlocks == 0)
        block = document()->begin();
    while (m_lineCacheBlocks > targetNumber && block.isValid()) {
        block = block.previous();
        --m_lineCacheBlocks;
        m_lineCacheLines -= linesOf(block);
    }
    while (m_lineCacheBlocks < targetNumber && block.isValid()) {
        m_lineCacheLines += linesOf(block);
        ++m_lineCacheBlocks;
        block = block.next();
    }
    return m_lineCacheLines;
}

void TRxRichEdit::invalidateLineCache(int fromBlock) const {
    if (fromBlock < m_lineCacheBlocks) {
        m_lineCacheBlocks = 0;
        m_lineCacheLines = 0;
    }
}

int TRxRichEdit::CaretColumn() const {
    if (m_largeText)
        return m_largeText->CaretColumn();
    const int position = textCursor().selectionEnd();
    const QTextBlock block = document()->findBlock(position);
    document()->documentLayout()->blockBoundingRect(block);
    const int inBlock = position - block.position();
    if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(inBlock);
        if (textLine.isValid())
            return inBlock - textLine.textStart();
    }
    return inBlock;
}

void TRxRichEdit::ClearSelection() {
    if (m_largeText) {
        m_largeText->ClearSelection();
        return;
    }
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || !allowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

QTextCharFormat TRxRichEdit::charFormatAt(int position) const {
    const QTextBlock block = document()->findBlock(position);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat();
    }
    return block.charFormat();
}

QTextCharFormat TRxRichEdit::selectionCharFormat() const {
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return charFormatAt(cursor.selectionStart());
    return cursor.charFormat();
}

void TRxRichEdit::mergeSelectionCharFormat(const QTextCharFormat &delta,
                                           const QList<int> &cleared) {
    if (m_plainText)
        return;
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        QTextCharFormat format = cursor.charFormat();
        format.merge(delta);
        for (int property : cleared)
            format.clearProperty(property);
        cursor.setCharFormat(format);
        setTextCursor(cursor);
        return;
    }
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    if (!delta.properties().isEmpty()) {
        edit.setPosition(start);
        edit.setPosition(end, QTextCursor::KeepAnchor);
        edit.mergeCharFormat(delta);
    }
    if (!cleared.isEmpty()) {
        // A merge cannot remove a property; rewrite each run of the selection without it.
        QList<QPair<QPair<int, int>, QTextCharFormat>> runs;
        for (QTextBlock block = document()->findBlock(start);
             block.isValid() && block.position() < end; block = block.next()) {
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int from = qMax(start, fragment.position());
                const int to = qMin(end, fragment.position() + fragment.length());
                if (from < to)
                    runs.append({{from, to}, fragment.charFormat()});
            }
        }
        for (auto &[span, format] : runs) {
            for (int property : cleared)
                format.clearProperty(property);
            edit.setPosition(span.first);
            edit.setPosition(span.second, QTextCursor::KeepAnchor);
            edit.setCharFormat(format);
        }
    }
    edit.endEditBlock();
}

void TRxRichEdit::modifySelectedBlocks(
    const std::function<void(const QTextBlock &, QTextBlockFormat &)> &change) {
    if (m_plainText)
        return;
    const QTextCursor cursor = textCursor();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(block, format);
        edit.setPosition(block.position());
        edit.setBlockFormat(format);
        if (block == last)
            break;
    }
    edit.endEditBlock();
}

bool TRxRichEdit::touchesProtected(int start, int end) const {
    if (start == end) {
        // Typing is refused only inside protected text, not at its edges.
        if (start <= 0 || start >= TextLength())
            return false;
        const QTextBlock block = document()->findBlock(start);
        if (start == block.position() || start == block.position() + block.length() - 1)
            return false;
        return RichTextFormat::isProtected(charFormatAt(start - 1)) &&
               RichTextFormat::isProtected(charFormatAt(start));
    }
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= end)
                break;
            if (fragment.position() + fragment.length() > start &&
                RichTextFormat::isProtected(fragment.charFormat()))
                return true;
        }
    }
    return false;
}

bool TRxRichEdit::allowEdit(int start, int end) {
    if (m_protectHandlerDepth > 0 || !touchesProtected(start, end))
        return true;
    bool allowChange = false;
    ++m_protectHandlerDepth;
    emit OnProtectChange(start, end, allowChange);
    --m_protectHandlerDepth;
    return allowChange;
}

void TRxRichEdit::CutToClipboard() {
    if (m_largeText) {
        m_largeText->CutToClipboard();
        return;
    }
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || !allowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    cut();
}

void TRxRichEdit::CopyToClipboard() {
    if (m_largeText) {
        m_largeText->CopyToClipboard();
        return;
    }
    copy();
}

void TRxRichEdit::PasteFromClipboard() {
    if (m_largeText) {
        m_largeText->PasteFromClipboard();
        return;
    }
    // The protection check happens where every paste, drop and middle-click insertion meets.
    paste();
}

bool TRxRichEdit::CanPaste() const {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data)
        return false;
    const QStringList formats = data->formats();
    return std::any_of(formats.begin(), formats.end(),
                       [this](const QString &format) { return CanPasteFormat(format); });
}

bool TRxRichEdit::CanPasteFormat(const QString &mimeType) const {
    if (mimeType == QLatin1String("text/plain") ||
        mimeType.startsWith(QLatin1String("text/plain;")))
        return true;
    if (m_plainText)
        return false;
    if (mimeType == QLatin1String("text/html") ||
        mimeType == QLatin1String("application/x-qrichtext") ||
        mimeType == QLatin1String("application/x-qt-richtext"))
        return true;
    if (mimeType == QLatin1String("application/x-qt-image"))
        return true;
    return mimeType.startsWith(QLatin1String("image/")) &&
           QImageReader::supportedMimeTypes().contains(mimeType.toLatin1());
}

QStringList TRxRichEdit::PasteFormats() const {
    QStringList formats;
    if (const QMimeData *data = QApplication::clipboard()->mimeData()) {
        for (const QString &format : data->formats()) {
            if (CanPasteFormat(format) || (!m_plainText && rtfMimeTypes().contains(format)))
                formats.append(format);
        }
    }
    return formats;
}

void TRxRichEdit::PasteAs(const QString &mimeType) {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(mimeType))
        return;
    QMimeData only;
    if (mimeType == QLatin1String("application/x-qt-image"))
        only.setImageData(data->imageData());
    else
        only.setData(mimeType, data->data(mimeType));
    if (canInsertFromMimeData(&only))
        insertFromMimeData(&only);
}

bool TRxRichEdit::canInsertFromMimeData(const QMimeData *source) const {
    if (m_plainText)
        return source->hasText();
    const QStringList &rtf = rtfMimeTypes();
    return QTextEdit::canInsertFromMimeData(source) || !pictureOf(source).isNull() ||
           std::any_of(rtf.begin(), rtf.end(),
                       [source](const QString &type) { return source->hasFormat(type); });
}

QImage TRxRichEdit::pictureOf(const QMimeData *source) {
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull())
            return image;
    }
    for (const QString &format : source->formats()) {
        if (!format.startsWith(QLatin1String("image/")))
            continue;
        const QByteArray subtype = format.mid(6).toLatin1();
        // Only the decoders Qt was built with; an unknown type is not tried.
        if (!QImageReader::supportedImageFormats().contains(subtype))
            continue;
        const QImage image = QImage::fromData(source->data(format), subtype.constData());
        if (!image.isNull())
            return image;
    }
    return {};
}

void TRxRichEdit::insertPictureAt(QTextCursor &cursor, const QImage &picture) {
    // Named after the pixels, so that one picture inserted twice is stored once.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(
        QByteArrayView(reinterpret_cast<const char *>(picture.constBits()), picture.sizeInBytes()));
    hash.addData(QString::number(picture.width()).toLatin1());
    const QString name =
        QStringLiteral("insertedpicture:") + QString::fromLatin1(hash.result().toHex());
    if (!document()->resource(QTextDocument::ImageResource, QUrl(name)).isValid())
        document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(picture.width());
    format.setHeight(picture.height());
    cursor.insertImage(format);
}

void TRxRichEdit::InsertPicture(const QImage &picture) {
    if (m_plainText || picture.isNull())
        return;
    QTextCursor cursor = textCursor();
    if (!allowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    cursor.beginEditBlock();
    insertPictureAt(cursor, picture);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QTextImageFormat TRxRichEdit::selectedPicture() const {
    const QTextCursor cursor = textCursor();
    if (cursor.selectionEnd() - cursor.selectionStart() != 1)
        return {};
    const QTextCharFormat format = charFormatAt(cursor.selectionStart());
    return format.isImageFormat() ? format.toImageFormat() : QTextImageFormat();
}

QSize TRxRichEdit::SelectedPictureNaturalSize() const {
    const QTextImageFormat format = selectedPicture();
    if (!format.isValid())
        return {};
    const QVariant resource =
        document()->resource(QTextDocument::ImageResource, QUrl(format.name()));
    const QImage image = resource.canConvert<QImage>() ? resource.value<QImage>() : QImage();
    return image.isNull() ? SelectedPictureSize() : image.size();
}

QSize TRxRichEdit::SelectedPictureSize() const {
    const QTextImageFormat format = selectedPicture();
    if (!format.isValid())
        return {};
    if (format.width() > 0 && format.height() > 0)
        return QSize(qRound(format.width()), qRound(format.height()));
    const QVariant resource =
        document()->resource(QTextDocument::ImageResource, QUrl(format.name()));
    return resource.canConvert<QImage>() ? resource.value<QImage>().size() : QSize();
}

void TRxRichEdit::SetSelectedPictureSize(const QSize &size) {
    QTextImageFormat format = selectedPicture();
    if (!format.isValid() || size.isEmpty() || m_plainText)
        return;
    format.setWidth(size.width());
    format.setHeight(size.height());
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.setCharFormat(format);
    cursor.endEditBlock();
}

void TRxRichEdit::insertFromMimeData(const QMimeData *source) {
    QTextCursor cursor = textCursor();
    if (!m_insertApproved && !allowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    // What is pasted beside protected text does not take its protection.
    if (!cursor.hasSelection() && RichTextFormat::isProtected(cursor.charFormat())) {
        cursor.setCharFormat(withoutProtection(cursor.charFormat()));
        setTextCursor(cursor);
    }
    if (m_plainText) {
        if (source->hasText()) {
            cursor.insertText(RichTextDocument::withNewlines(source->text()));
            setTextCursor(cursor);
            ensureCursorVisible();
        }
        return;
    }
    // RTF keeps what HTML cannot carry (underline kinds, protection), so it goes first.
    for (const QString &type : rtfMimeTypes()) {
        if (!source->hasFormat(type))
            continue;
        QTextDocument pasted;
        pasted.setDefaultFont(document()->defaultFont());
        if (!readRtf(source->data(type), pasted).ok())
            break;
        RichTextDocument::copyPictures(pasted, *document());
        cursor.insertFragment(QTextDocumentFragment(&pasted));
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // A picture without text becomes an embedded picture (its HTML, if any, would only point at
    // a place the document cannot reach); Qt's own paste knows only text.
    if (source->text().trimmed().isEmpty()) {
        const QImage picture = pictureOf(source);
        if (!picture.isNull()) {
            cursor.beginEditBlock();
            insertPictureAt(cursor, picture);
            cursor.endEditBlock();
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

QMimeData *TRxRichEdit::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    if (m_forPrimarySelection &&
        cursor.selectionEnd() - cursor.selectionStart() > LargePrimarySelection) {
        // Qt offers the primary selection anew on every key or click that selects; a copy of a
        // large selection as a document (Select All over a million paragraphs took most of a
        // minute) would stop the window each time, so it gets the plain text alone.
        auto *data = new QMimeData;
        data->setText(RichTextDocument::plainTextOfSelection(cursor.selectedText()));
        return data;
    }
    if (m_plainText || !cursor.hasSelection())
        return QTextEdit::createMimeDataFromSelection();
    // Qt's own selection data lists a fixed set of formats; build one that can carry RTF.
    const QTextDocumentFragment fragment = cursor.selection();
    auto *data = new QMimeData;
    data->setText(fragment.toPlainText());
    QTextDocument copied;
    copied.setDefaultFont(document()->defaultFont());
    QTextCursor(&copied).insertFragment(fragment);
    RichTextDocument::copyPictures(*document(), copied);
    data->setData(rtfMimeTypes().first(), rtfFromDocument(copied));
    RichTextDocument::underlineWordsOnlyRunsFully(copied);
    data->setHtml(QTextDocumentFragment(&copied).toHtml());
    return data;
}

void TRxRichEdit::Undo() {
    if (m_largeText) {
        m_largeText->Undo();
        return;
    }
    if (!CanUndo())
        return;
    document()->undo();
    --m_undoDepth;
    ++m_redoDepth;
}

void TRxRichEdit::Redo() {
    if (m_largeText) {
        m_largeText->Redo();
        return;
    }
    if (!CanRedo())
        return;
    document()->redo();
    --m_redoDepth;
    ++m_undoDepth;
}

bool TRxRichEdit::CanUndo() const {
    if (m_largeText)
        return m_largeText->CanUndo();
    return m_undoDepth > 0 && document()->isUndoAvailable();
}

bool TRxRichEdit::CanRedo() const {
    if (m_largeText)
        return m_largeText->CanRedo();
    return m_redoDepth > 0 && document()->isRedoAvailable();
}

void TRxRichEdit::SetUndoLimit(int limit) {
    m_undoLimit = qMax(0, limit);
    if (m_largeText)
        m_largeText->SetUndoLimit(m_undoLimit);
    document()->setUndoRedoEnabled(m_undoLimit > 0);
    if (m_undoLimit == 0)
        m_undoDepth = m_redoDepth = 0;
    m_undoDepth = qMin(m_undoDepth, m_undoLimit);
}

void TRxRichEdit::BeginUndoGroup() {
    if (m_largeText)
        m_largeText->BeginUndoGroup();
    if (m_undoGroupDepth++ > 0)
        return;
    // Edit blocks are counted by the document, so every change made meanwhile, through any
    // cursor, joins this one.
    m_undoGroup = QTextCursor(document());
    m_undoGroup.beginEditBlock();
}

void TRxRichEdit::EndUndoGroup() {
    if (m_largeText && m_undoGroupDepth > 0)
        m_largeText->EndUndoGroup();
    if (m_undoGroupDepth == 0 || --m_undoGroupDepth > 0)
        return;
    m_undoGroup.endEditBlock();
    m_undoGroup = QTextCursor();
}

void TRxRichEdit::undoStepAdded() {
    m_undoDepth = qMin(m_undoDepth + 1, m_undoLimit);
    m_redoDepth = 0;
}

void TRxRichEdit::resetUndoHistory() {
    document()->clearUndoRedoStacks();
    m_undoDepth = 0;
    m_redoDepth = 0;
}

int TRxRichEdit::FindText(const QString &text, int startPos, int length, TSearchTypes options,
                          bool backward) const {
    if (text.isEmpty())
        return -1;
    const int last = TextLength();
    const int from = qBound(0, startPos, last);
    const int to = length < 0 ? last : qBound(from, startPos + length, last);
    if (m_largeText)
        return m_largeText->FindText(text, from, to, options.testFlag(stMatchCase),
                                     options.testFlag(stWholeWord), backward);
    QTextDocument::FindFlags flags;
    if (options.testFlag(stMatchCase))
        flags |= QTextDocument::FindCaseSensitively;
    if (options.testFlag(stWholeWord))
        flags |= QTextDocument::FindWholeWords;
    if (backward) {
        // Step back over matches that end beyond the range until one fits or none is left.
        int before = to;
        while (before > from) {
            const QTextCursor found =
                document()->find(text, before, flags | QTextDocument::FindBackward);
            if (found.isNull() || found.selectionStart() < from)
                return -1;
            if (found.selectionEnd() <= to)
                return found.selectionStart();
            // The next try looks only at matches starting before this one.
            before = found.selectionStart();
        }
        return -1;
    }
    const QTextCursor found = document()->find(text, from, flags);
    if (found.isNull() || found.selectionEnd() > to)
        return -1;
    return found.selectionStart();
}

bool TRxRichEdit::FindNext(const QString &text, TSearchTypes options, bool down) {
    const int at = down ? FindText(text, SelStart() + SelLength(), -1, options)
                        : FindText(text, 0, SelStart(), options, true);
    if (at < 0) {
        emit OnTextNotFound(text);
        return false;
    }
    SelectRange(at, at + int(text.size()), true);
    return true;
}

bool TRxRichEdit::ReplaceNext(const QString &text, const QString &replacement,
                              TSearchTypes options) {
    const int at = FindText(text, SelStart() + SelLength(), -1, options);
    if (at < 0) {
        emit OnTextNotFound(text);
        return false;
    }
    SelectRange(at, at + int(text.size()), true);
    SetSelText(replacement);
    return true;
}

int TRxRichEdit::ReplaceAll(const QString &text, const QString &replacement, TSearchTypes options) {
    int count = 0;
    if (!text.isEmpty()) {
        const int replacedLength = int(RichTextDocument::withNewlines(replacement).size());
        ++m_notificationsHeld;
        QTextCursor group(document());
        group.beginEditBlock();
        BeginUndoGroup();
        int from = SelStart() + SelLength();
        for (int at = FindText(text, from, -1, options); at >= 0;
             at = FindText(text, from, -1, options)) {
            SelectRange(at, at + int(text.size()), false);
            const int before = TextLength();
            SetSelText(replacement);
            if (TextLength() == before && SelText() != replacement) {
                from = at + int(text.size()); // refused: protected text stays
                continue;
            }
            from = at + replacedLength;
            ++count;
        }
        EndUndoGroup();
        group.endEditBlock();
        --m_notificationsHeld;
    }
    if (count == 0) {
        emit OnTextNotFound(text);
        return 0;
    }
    if (m_largeText) {
        m_largeText->view().ensureCaretVisible();
        notifyChange();
        notifySelectionChange();
        return count;
    }
    ensureCursorVisible();
    const QTextCursor cursor = textCursor();
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    notifyChange();
    notifySelectionChange();
    return count;
}

void TRxRichEdit::selectionMaybeChanged() {
    if (m_notificationsHeld > 0)
        return;
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    notifySelectionChange();
}

void TRxRichEdit::SetWordWrap(bool on) {
    m_wordWrap = on;
    if (m_largeText)
        m_largeText->SetWordWrap(on);
    m_targetLineWidth = 0;
    applyWrapMode();
}

void TRxRichEdit::SetTargetLineWidth(int twips) {
    m_targetLineWidth = qMax(0, twips);
    applyWrapMode();
}

void TRxRichEdit::applyWrapMode() {
    invalidateLineCache();
    // Each of the two calls below lays the whole text out anew; one new layout is enough.
    auto *layout = static_cast<TRxDocumentLayout *>(m_ownDocument->documentLayout());
    layout->HoldLayout();
    if (m_targetLineWidth > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(qMax(1, int(RichTextFormat::twipsToUnits(m_targetLineWidth))));
    } else {
        setLineWrapMode(m_wordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    }
    layout->ReleaseLayout();
}

void TRxRichEdit::SetScrollBars(TScrollStyle style) {
    m_scrollBars = style;
    const bool horizontal = style == ssHorizontal || style == ssBoth;
    const bool vertical = style == ssVertical || style == ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TRxRichEdit::SetHideSelection(bool hide) {
    m_hideSelection = hide;
    applySelectionPalette();
}

void TRxRichEdit::applySelectionPalette() {
    QPalette p = palette();
    const QPalette standard = QApplication::palette(this);
    if (m_hideSelection) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Inactive, QPalette::Text));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   standard.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   standard.color(QPalette::Active, QPalette::HighlightedText));
    }
    setPalette(p);
}

QColor TRxRichEdit::BackgroundColor() const {
    return palette().color(QPalette::Base);
}

void TRxRichEdit::SetBackgroundColor(const QColor &color) {
    QPalette p = palette();
    const QColor base = color.isValid() ? color : QApplication::palette(this).color(QPalette::Base);
    p.setColor(QPalette::Active, QPalette::Base, base);
    p.setColor(QPalette::Inactive, QPalette::Base, base);
    setPalette(p);
}

void TRxRichEdit::SetFormatRect(const QRect &rect) {
    m_formatRect = rect;
    applyFormatRect();
}

void TRxRichEdit::applyFormatRect() {
    invalidateLineCache();
    if (m_formatRect.isEmpty()) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    const QRect client = contentsRect();
    const int left = qMax(0, m_formatRect.left());
    const int top = qMax(0, m_formatRect.top());
    const int right = qMax(0, client.width() - (m_formatRect.left() + m_formatRect.width()));
    const int bottom = qMax(0, client.height() - (m_formatRect.top() + m_formatRect.height()));
    setViewportMargins(left, top, right, bottom);
}

int TRxRichEdit::FormatRange(const TFormatRange *range, bool render) {
    if (m_largeText)
        return m_largeText->FormatRange(range, render, document()->defaultFont());
    if (!range) {
        m_pageRenderer->release();
        return 0;
    }
    return m_pageRenderer->formatRange(*range, render);
}

QString TRxRichEdit::urlAt(const QPoint &viewportPos) const {
    const QTextCursor cursor = cursorForPosition(viewportPos);
    const QTextBlock block = cursor.block();
    int offset = cursor.position() - block.position();
    // cursorForPosition answers the nearest gap; the character under the pointer is the one
    // whose box holds it.
    const QRect caret = cursorRect(cursor);
    if (viewportPos.x() < caret.x())
        --offset;
    return RichTextLinks::urlAt(block.text(), offset);
}

QString TRxRichEdit::noteAt(const QPoint &viewportPos) const {
    const QTextCursor cursor = cursorForPosition(viewportPos);
    int position = cursor.position();
    if (viewportPos.x() < cursorRect(cursor).x())
        --position;
    if (position < 0)
        return {};
    const QByteArray kept =
        charFormatAt(position).property(RtfFormatProperty::KeptGroup).toByteArray();
    return kept.isEmpty() ? QString() : RtfKeptGroup::noteText(kept);
}

bool TRxRichEdit::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString note = noteAt(help->pos());
        if (!note.isEmpty()) {
            QToolTip::showText(help->globalPos(), note, viewport());
            return true;
        }
        QToolTip::hideText();
    }
    return QTextEdit::viewportEvent(event);
}

void TRxRichEdit::keyPressEvent(QKeyEvent *event) {
    // Keys sent to the control itself reach the large text's view as its own keys do.
    if (m_largeText) {
        m_largeText->forward(event);
        return;
    }
    emit OnKeyDown(event->key(), event->modifiers());
    if (event == QKeySequence::Undo) {
        Undo();
        event->accept();
        return;
    }
    if (event == QKeySequence::Redo) {
        Redo();
        event->accept();
        return;
    }
    if (event == QKeySequence::Cut) {
        CutToClipboard();
        event->accept();
        return;
    }
    if (event == QKeySequence::Paste) {
        PasteFromClipboard();
        event->accept();
        return;
    }
    QTextCursor cursor = textCursor();
    QString text = event->text();
    if (!text.isEmpty()) {
        QChar key = text.at(0);
        emit OnKeyPress(key);
        if (key.isNull()) {
            event->accept();
            return;
        }
        text[0] = key;
    }
    if (isDeletingKey(event)) {
        const QTextCursor range = cursor.hasSelection() ? cursor : deletionRange(cursor, event);
        if (range.hasSelection() && !allowEdit(range.selectionStart(), range.selectionEnd())) {
            event->accept();
            return;
        }
        QTextEdit::keyPressEvent(event);
        return;
    }
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool inserts = isReturn || (!text.isEmpty() && text.at(0).isPrint()) ||
                         (event->key() == Qt::Key_Tab && !event->modifiers());
    if (!inserts) {
        // Keys that select hand their selection to the primary selection; only Copy asks for
        // the clipboard's data.
        const QScopedValueRollback primary(m_forPrimarySelection, event != QKeySequence::Copy);
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (!allowEdit(cursor.selectionStart(), cursor.selectionEnd())) {
        event->accept();
        return;
    }
    if (isReturn) {
        // A line break inside a paragraph has no place in this text model: every Return ends
        // the paragraph. The paragraph typed after the end of a heading is no heading: it does
        // not take the heading's style, outline level or keep-with-next from the file.
        QTextBlockFormat next = cursor.blockFormat();
        if (!cursor.hasSelection() && cursor.atBlockEnd() &&
            next.hasProperty(RtfFormatProperty::OutlineLevel)) {
            next.clearProperty(RtfFormatProperty::StyleNumber);
            next.clearProperty(RtfFormatProperty::OutlineLevel);
            next.clearProperty(RtfFormatProperty::KeepWithNext);
            cursor.insertBlock(next);
        } else {
            cursor.insertBlock();
        }
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QTextCharFormat format =
        cursor.hasSelection() ? charFormatAt(cursor.selectionStart()) : cursor.charFormat();
    if (RichTextFormat::isProtected(format) || text != event->text()) {
        cursor.insertText(text, withoutProtection(format));
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TRxRichEdit::keyReleaseEvent(QKeyEvent *event) {
    if (m_largeText) {
        m_largeText->forward(event);
        return;
    }
    QTextEdit::keyReleaseEvent(event);
    emit OnKeyUp(event->key(), event->modifiers());
}

void TRxRichEdit::inputMethodEvent(QInputMethodEvent *event) {
    if (m_largeText) {
        m_largeText->forward(event);
        return;
    }
    if (!event->commitString().isEmpty()) {
        const QTextCursor cursor = textCursor();
        if (!allowEdit(cursor.selectionStart(), cursor.selectionEnd())) {
            event->accept();
            return;
        }
    }
    QTextEdit::inputMethodEvent(event);
}

void TRxRichEdit::mousePressEvent(QMouseEvent *event) {
    m_pressedUrl = urlAt(event->position().toPoint());
    m_pressedUrlButton = event->button();
    QTextEdit::mousePressEvent(event);
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TRxRichEdit::mouseReleaseEvent(QMouseEvent *event) {
    {
        const QScopedValueRollback primary(m_forPrimarySelection, true);
        QTextEdit::mouseReleaseEvent(event);
    }
    emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    const QString pressed = m_pressedUrl;
    m_pressedUrl.clear();
    if (!pressed.isEmpty() && event->button() == m_pressedUrlButton &&
        urlAt(event->position().toPoint()) == pressed)
        emit OnURLClick(pressed, event->button());
}

void TRxRichEdit::mouseMoveEvent(QMouseEvent *event) {
    QTextEdit::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        viewport()->setCursor(urlAt(event->position().toPoint()).isEmpty()
                                  ? Qt::IBeamCursor
                                  : Qt::PointingHandCursor);
}

void TRxRichEdit::dragEnterEvent(QDragEnterEvent *event) {
    // Files dropped from the file manager belong to the window, which opens them.
    if (isFileDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    QTextEdit::dragEnterEvent(event);
}

void TRxRichEdit::dragMoveEvent(QDragMoveEvent *event) {
    if (isFileDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    QTextEdit::dragMoveEvent(event);
}

void TRxRichEdit::dropEvent(QDropEvent *event) {
    if (isFileDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    const int target = cursorForPosition(event->position().toPoint()).position();
    const QTextCursor cursor = textCursor();
    const bool movesOwnText =
        event->source() == this && event->dropAction() == Qt::MoveAction && cursor.hasSelection();
    bool allowed = allowEdit(target, target);
    if (allowed && movesOwnText)
        allowed = allowEdit(cursor.selectionStart(), cursor.selectionEnd());
    if (!allowed) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        QDragLeaveEvent leave;
        QTextEdit::dragLeaveEvent(&leave);
        return;
    }
    m_insertApproved = true;
    QTextEdit::dropEvent(event);
    m_insertApproved = false;
}

void TRxRichEdit::paintEvent(QPaintEvent *event) {
    QTextEdit::paintEvent(event);
    if (m_plainText)
        return;
    // The view's offset into the document, as QTextEdit paints it.
    const QScrollBar *horizontal = horizontalScrollBar();
    const QPoint offset(isRightToLeft() ? horizontal->maximum() - horizontal->value()
                                        : horizontal->value(),
                        verticalScrollBar()->value());
    const QTextCursor caret = textCursor();
    UnderlineDecorations::PaintContext context;
    context.clip = QRectF(event->rect().translated(offset));
    context.text = palette().color(QPalette::Text);
    context.selectionStart = caret.selectionStart();
    context.selectionEnd = caret.selectionEnd();
    context.selectedText = palette().color(hasFocus() ? QPalette::Active : QPalette::Inactive,
                                           QPalette::HighlightedText);
    QPainter painter(viewport());
    painter.translate(-offset);
    UnderlineDecorations::draw(painter, *document(), context);
}

void TRxRichEdit::resizeEvent(QResizeEvent *event) {
    QTextEdit::resizeEvent(event);
    // Lines wrap anew at a new width.
    invalidateLineCache();
    if (!m_formatRect.isEmpty())
        applyFormatRect();
}

void TRxRichEdit::changeEvent(QEvent *event) {
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        document()->setDefaultFont(withoutNeedlessShaping(document()->defaultFont()));
        invalidateLineCache();
    }
}

std::optional<QString> TRxRichEdit::WriteFile(const QString &fileName) const {
    if (m_largeText)
        return m_largeText->writeFile(fileName, m_plainText, documentPlainTextFormat(*document()),
                                      document()->defaultFont());
    return writeDocumentFile(*document(), fileName, m_plainText);
}

QByteArray TRxRichEdit::RtfBytes() const {
    if (m_largeText)
        return m_largeText->rtf(document()->defaultFont());
    return rtfFromDocument(*document());
}
