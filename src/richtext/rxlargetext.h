#pragma once

#include "platform/textfile.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

class PlainTextView;
class QTextDocument;
class TRxPageRenderer;
class TRxRichEdit;
struct TFormatRange;

// Plain text too large for the rich text control's document (a paragraph there costs about 160
// bytes and its insertion time before any layout): the control hands such text to a view of its
// own over a compact buffer, laid over its area, and answers its interface from there. Positions,
// CR LF in whole-text reads and the notifications are the control's; plain text carries no
// format and no protection. Owned by the control.
class TRxLargeText : public QObject {
    Q_OBJECT

public:
    // Plain text of this many lines and more is held here rather than in the document.
    static constexpr int MinimumLines = 100000;
    // Whether a text ('\n', CR LF or CR between lines) or a file's bytes have that many lines.
    static bool isLarge(QStringView text);
    static bool isLarge(const QByteArray &bytes);

    // Shows `text` (lines ending in '\n', CR LF or CR) over the control; caret at 0, unmodified.
    TRxLargeText(TRxRichEdit &control, QStringView text);
    ~TRxLargeText() override;

    PlainTextView &view() { return *m_view; }
    const PlainTextView &view() const { return *m_view; }

    QString Text() const;
    int GetTextLen() const;
    int TextLength() const;
    QString TextRange(int start, int end) const;
    // The text with '\n' between lines.
    QString plainText() const;

    bool Modified() const;
    void SetModified(bool modified);

    int SelStart() const;
    int SelLength() const;
    QString SelText() const;
    void SetSelText(const QString &text);
    void SelectRange(int start, int end, bool scroll);
    // Of the selection's end, lines of the text (a wrapped line counts once).
    int CaretLine() const;
    int CaretColumn() const;
    void ClearSelection();

    void CutToClipboard();
    void CopyToClipboard() const;
    void PasteFromClipboard();

    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void SetUndoLimit(int limit);
    void BeginUndoGroup();
    void EndUndoGroup();

    int FindText(const QString &text, int from, int to, bool matchCase, bool wholeWord,
                 bool backward) const;

    void SetWordWrap(bool on);

    // Lines as the control's Lines list counts them.
    int LineCount() const;
    QString LineString(int index) const;
    QString LinesText() const;
    void AddLine(const QString &line);

    // The bytes of a file of that name: RTF for ".rtf" (and, unless asPlainText, any name that
    // is not ".txt"), otherwise the text in the given format. Written atomically; answers the
    // system's reason when it could not be.
    std::optional<QString> writeFile(const QString &fileName, bool asPlainText,
                                     const TextFormat &format, const QFont &font) const;
    // The whole text as RTF in the given font.
    QByteArray rtf(const QFont &font) const;

    // Printing: each page from a small document of the lines from the page's start on; a null
    // range releases it.
    int FormatRange(const TFormatRange *range, bool render, const QFont &font);

    // A key or input event the control received: the view takes it as its own (unless it comes
    // up from the view itself, which it then goes on past).
    void forward(QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hands a key event to the view past this filter.
    void deliver(QEvent *event);

    TRxRichEdit &m_control;
    PlainTextView *m_view = nullptr;
    std::unique_ptr<QTextDocument> m_printDocument;
    std::unique_ptr<TRxPageRenderer> m_printRenderer;
    // The range of the text m_printDocument holds.
    std::pair<int, int> m_printWindow;
    bool m_delivering = false;
};
