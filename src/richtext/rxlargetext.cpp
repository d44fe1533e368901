#include "richtext/rxlargetext.h"

#include "plaintext/plaintextrtf.h"
#include "plaintext/plaintextview.h"
#include "platform/savefile.h"
#include "richtext/richtextdocument.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxpagerenderer.h"
#include "richtext/rxrichedit.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextDocument>

namespace {

// Counts line breaks (CR LF, CR and LF) up to `enough`.
template <typename Chars>
bool hasLines(const Chars &chars, qsizetype size, int lines) {
    int breaks = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = chars[i];
        if (c == '\n' || (c == '\r' && (i + 1 == size || chars[i + 1] != '\n'))) {
            if (++breaks + 1 >= lines)
                return true;
        }
    }
    return false;
}

double pointsOf(const QFont &font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : 12;
}

} // namespace

bool TRxLargeText::isLarge(QStringView text) {
    return hasLines(text.utf16(), text.size(), MinimumLines);
}

bool TRxLargeText::isLarge(const QByteArray &bytes) {
    return hasLines(bytes.constData(), bytes.size(), MinimumLines);
}

TRxLargeText::TRxLargeText(TRxRichEdit &control, QStringView text)
    : QObject(&control)
    , m_control(control) {
    const bool focused = control.hasFocus();
    m_view = new PlainTextView(&control);
    m_view->setObjectName(QStringLiteral("largeText"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setAccessibleName(control.accessibleName());
    m_view->setText(text);
    m_view->setWordWrap(control.WordWrap());
    m_view->setGeometry(control.rect());
    m_view->show();
    m_view->raise();
    control.setFocusProxy(m_view);
    if (focused)
        m_view->setFocus();
    control.installEventFilter(this);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    connect(m_view, &PlainTextView::textChanged, this, [this] {
        m_printRenderer.reset();
        m_printDocument.reset();
        if (m_control.m_notificationsHeld == 0)
            m_control.notifyChange();
    });
    connect(m_view, &PlainTextView::selectionChanged, this, [this] {
        if (m_control.m_notificationsHeld == 0)
            m_control.notifySelectionChange();
    });
    // Whoever follows the document's flag (the save command, the journal) follows this text's.
    connect(m_view, &PlainTextView::modificationChanged, this,
            [this](bool modified) { m_control.document()->setModified(modified); });
}

TRxLargeText::~TRxLargeText() {
    m_control.removeEventFilter(this);
    if (m_control.focusProxy() == m_view)
        m_control.setFocusProxy(nullptr);
    const bool focused = m_view->hasFocus();
    delete m_view;
    if (focused)
        m_control.setFocus();
}

QString TRxLargeText::plainText() const {
    return m_view->text();
}

QString TRxLargeText::Text() const {
    return RichTextDocument::withCrLf(plainText());
}

int TRxLargeText::GetTextLen() const {
    return m_view->length() + m_view->buffer().lineCount() - 1;
}

int TRxLargeText::TextLength() const {
    return m_view->length();
}

QString TRxLargeText::TextRange(int start, int end) const {
    const int length = TextLength();
    start = qBound(0, start, length);
    end = qBound(0, end, length);
    return RichTextDocument::withCrLf(m_view->buffer().text(qMin(start, end), qMax(start, end)));
}

bool TRxLargeText::Modified() const {
    return m_view->isModified();
}

void TRxLargeText::SetModified(bool modified) {
    m_view->setModified(modified);
    m_control.document()->setModified(modified);
}

int TRxLargeText::SelStart() const {
    return m_view->selectionStart();
}

int TRxLargeText::SelLength() const {
    return m_view->selectionEnd() - m_view->selectionStart();
}

QString TRxLargeText::SelText() const {
    return RichTextDocument::withCrLf(m_view->selectedText());
}

void TRxLargeText::SetSelText(const QString &text) {
    m_view->replaceSelection(RichTextDocument::withNewlines(text), true);
}

void TRxLargeText::SelectRange(int start, int end, bool scroll) {
    m_view->select(start, end, scroll);
}

int TRxLargeText::CaretLine() const {
    return m_view->buffer().lineOf(m_view->selectionEnd());
}

int TRxLargeText::CaretColumn() const {
    const int end = m_view->selectionEnd();
    return end - m_view->buffer().lineStart(m_view->buffer().lineOf(end));
}

void TRxLargeText::ClearSelection() {
    if (SelLength() > 0)
        m_view->replaceSelection(QString());
}

void TRxLargeText::CutToClipboard() {
    m_view->cut();
}

void TRxLargeText::CopyToClipboard() const {
    m_view->copy();
}

void TRxLargeText::PasteFromClipboard() {
    m_view->paste();
}

void TRxLargeText::Undo() {
    m_view->undo();
}

void TRxLargeText::Redo() {
    m_view->redo();
}

bool TRxLargeText::CanUndo() const {
    return m_view->canUndo();
}

bool TRxLargeText::CanRedo() const {
    return m_view->canRedo();
}

void TRxLargeText::SetUndoLimit(int limit) {
    m_view->setUndoLimit(limit);
}

void TRxLargeText::BeginUndoGroup() {
    m_view->beginUndoGroup();
}

void TRxLargeText::EndUndoGroup() {
    m_view->endUndoGroup();
}

int TRxLargeText::FindText(const QString &text, int from, int to, bool matchCase, bool wholeWord,
                           bool backward) const {
    return m_view->buffer().find(RichTextDocument::withNewlines(text), from, to,
                                 matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive, wholeWord,
                                 backward);
}

void TRxLargeText::SetWordWrap(bool on) {
    m_view->setWordWrap(on);
}

int TRxLargeText::LineCount() const {
    const PlainTextBuffer &buffer = m_view->buffer();
    const int lines = buffer.lineCount();
    return buffer.lineLength(lines - 1) == 0 ? lines - 1 : lines;
}

QString TRxLargeText::LineString(int index) const {
    if (index < 0 || index >= LineCount())
        return {};
    return m_view->buffer().lineText(index);
}

QString TRxLargeText::LinesText() const {
    if (LineCount() == 0)
        return {};
    const PlainTextBuffer &buffer = m_view->buffer();
    QString text = Text();
    if (buffer.lineLength(buffer.lineCount() - 1) > 0)
        text += QLatin1String("\r\n");
    return text;
}

void TRxLargeText::AddLine(const QString &line) {
    const PlainTextBuffer &buffer = m_view->buffer();
    const bool lastEmpty = buffer.lineLength(buffer.lineCount() - 1) == 0;
    const QString added = RichTextDocument::withNewlines(line);
    m_view->replaceRange(buffer.length(), buffer.length(),
                         lastEmpty ? added : QLatin1Char('\n') + added);
}

QByteArray TRxLargeText::rtf(const QFont &font) const {
    return PlainTextRtf(font.family(), pointsOf(font)).rtf(plainText());
}

std::optional<QString> TRxLargeText::writeFile(const QString &fileName, bool asPlainText,
                                               const TextFormat &format, const QFont &font) const {
    if (resolveStreamFormat(streamFormatForFileName(fileName), asPlainText) ==
        StreamFormat::PlainText)
        return saveFileAtomically(fileName, encodePlainText(plainText(), format, true));
    // RTF of millions of lines goes out a piece at a time rather than whole.
    const PlainTextRtf writer(font.family(), pointsOf(font));
    const PlainTextBuffer &buffer = m_view->buffer();
    int line = -1;
    return saveFileAtomically(fileName, [&]() -> QByteArray {
        if (line == -1) {
            line = 0;
            return writer.header();
        }
        QByteArray piece;
        while (piece.size() < (1 << 20) && line < buffer.lineCount())
            writer.appendParagraph(piece, buffer.lineText(line++));
        if (line == buffer.lineCount()) {
            ++line;
            piece.append(PlainTextRtf::footer());
        }
        return piece;
    });
}

int TRxLargeText::FormatRange(const TFormatRange *range, bool render, const QFont &font) {
    if (!range) {
        m_printRenderer.reset();
        m_printDocument.reset();
        return 0;
    }
    // Each page is laid out from a document of the lines from its start on, enough for any
    // page, so that printing millions of lines never needs them all in one document.
    constexpr int WindowLines = 400;
    const PlainTextBuffer &buffer = m_view->buffer();
    const int length = buffer.length();
    const int start = qBound(0, range->cpMin, length);
    const int end = range->cpMax < 0 || range->cpMax > length ? length : range->cpMax;
    const int firstLine = buffer.lineOf(start);
    const int lastLine = qMin(buffer.lineCount(), firstLine + WindowLines);
    const int windowStart = buffer.lineStart(firstLine);
    const int windowEnd = lastLine < buffer.lineCount() ? buffer.lineStart(lastLine) - 1 : length;
    if (!m_printDocument || m_printWindow != std::make_pair(windowStart, windowEnd)) {
        m_printRenderer.reset();
        m_printDocument = std::make_unique<QTextDocument>();
        m_printDocument->setDefaultFont(font);
        m_printDocument->setPlainText(buffer.text(windowStart, windowEnd));
        m_printRenderer = std::make_unique<TRxPageRenderer>(*m_printDocument);
        m_printWindow = {windowStart, windowEnd};
    }
    TFormatRange local = *range;
    local.cpMin = start - windowStart;
    local.cpMax = end >= windowEnd ? -1 : end - windowStart;
    const int next = windowStart + m_printRenderer->formatRange(local, render);
    // The window's last line fitted: the next page begins with the line after it.
    if (next >= windowEnd && windowEnd < end)
        return windowEnd + 1;
    return qMin(next, end);
}

void TRxLargeText::deliver(QEvent *event) {
    m_delivering = true;
    QCoreApplication::sendEvent(m_view, event);
    m_delivering = false;
    // Taken care of, whether the view took it or its way up did.
    event->accept();
}

void TRxLargeText::forward(QEvent *event) {
    if (m_delivering) {
        event->ignore();
        return;
    }
    QCoreApplication::sendEvent(m_view, event);
}

bool TRxLargeText::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &m_control) {
        if (event->type() == QEvent::Resize)
            m_view->setGeometry(m_control.rect());
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // The view's own delivery, which passes here again; what it leaves propagates up
        // through the control, which lets it go on.
        if (watched != m_view || m_delivering)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyRelease) {
            deliver(event);
            emit m_control.OnKeyUp(key->key(), key->modifiers());
            return true;
        }
        emit m_control.OnKeyDown(key->key(), key->modifiers());
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            QChar typed = text.at(0);
            emit m_control.OnKeyPress(typed);
            if (typed.isNull())
                return true;
            if (typed != text.at(0)) {
                QString changed = text;
                changed[0] = typed;
                m_view->replaceSelection(changed);
                return true;
            }
        }
        deliver(event);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        if (watched != m_view->viewport())
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        // Told after the view has moved the caret, as the control tells it.
        const bool press = event->type() == QEvent::MouseButtonPress;
        m_view->viewport()->removeEventFilter(this);
        QCoreApplication::sendEvent(m_view->viewport(), event);
        m_view->viewport()->installEventFilter(this);
        if (press)
            emit m_control.OnMouseDown(mouse->button(), mouse->modifiers(),
                                       mouse->position().toPoint());
        else
            emit m_control.OnMouseUp(mouse->button(), mouse->modifiers(),
                                     mouse->position().toPoint());
        return true;
    }
    default:
        return false;
    }
}
