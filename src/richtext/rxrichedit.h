#pragma once

#include "richtext/richeditstrings.h"
#include "richtext/rxformatrange.h"
#include "richtext/rxparaattributes.h"
#include "richtext/rxtextattributes.h"

#include <QFlags>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <functional>
#include <memory>
#include <optional>

class TRxLargeText;
class TRxPageRenderer;
struct TextFormat;

// The rich text control `Memo`: a QTextEdit offering exactly what the editor expects of its
// editing area. Positions count characters from 0, a paragraph break as one; whole-text reads
// end lines with CR LF. User edits that touch protected text are refused unless the
// OnProtectChange handler allows them. Owns its Lines, its page renderer and its document,
// which stays the same object for the control's life (loads replace its content), so callers
// may connect to the document's own signals once.
class TRxRichEdit : public QTextEdit {
    Q_OBJECT

public:
    enum TStreamFormat { sfRichText, sfPlainText, sfDefault };
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    enum TSearchType { stMatchCase = 0x1, stWholeWord = 0x2 };
    Q_DECLARE_FLAGS(TSearchTypes, TSearchType)

    explicit TRxRichEdit(QWidget *parent = nullptr);
    ~TRxRichEdit() override;

    // The menu a right click pops up (the owner pops it up); offered to assistive technology.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    // Whole text, paragraphs joined by CR LF. Setting replaces everything by plain text in the
    // default format (CR LF, LF and CR end paragraphs), puts the caret at 0, empties the undo
    // history and clears the modified flag.
    QString Text() const;
    void SetText(const QString &text);
    // Length of Text(), which counts a paragraph break twice.
    int GetTextLen() const;
    // The last position: the number of characters, a paragraph break counting one.
    int TextLength() const;
    // The text between two positions, paragraph breaks as CR LF.
    QString TextRange(int start, int end) const;
    TRichEditStrings &Lines() { return m_lines; }
    const TRichEditStrings &Lines() const { return m_lines; }
    void Clear();

    // Plain text of many lines (see TRxLargeText) is held outside document(), which stays empty
    // meanwhile and keeps only the plain-text format and the modified flag: work on the whole
    // text goes through Text(), WriteFile and RtfBytes, which answer for either.
    bool HoldsLargeText() const { return m_largeText != nullptr; }
    // Writes the content to a file as Lines' SaveToFile does; answers the system's reason when
    // it could not.
    std::optional<QString> WriteFile(const QString &fileName) const;
    // The content as RTF.
    QByteArray RtfBytes() const;

    // Format used by Lines' stream calls; sfDefault means plain when PlainText is on.
    TStreamFormat StreamFormat() const { return m_streamFormat; }
    void SetStreamFormat(TStreamFormat format) { m_streamFormat = format; }

    // Plain text: turning it on keeps the text and drops every format; while on, pasted and
    // dropped content arrives as plain text and format changes are ignored.
    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool on);

    bool Modified() const;
    void SetModified(bool modified);

    // Selection. SelStart is the lower end, SelLength never negative.
    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;
    void SetSelLength(int length);
    // The selected text, paragraph breaks as CR LF.
    QString SelText() const;
    // Replaces the selection in one undo step, in the format of the first replaced character
    // (or of the insertion point); the new text is left selected and scrolled into view. Refused
    // like a user edit when it would touch protected text.
    void SetSelText(const QString &text);
    // Selects start..end (end may be before start); positions past the end mean the end;
    // negative ones mean 0. Scrolls the caret into view when asked.
    void SelectRange(int start, int end, bool scroll = true);
    void SelectAll();
    // Zero-based display line and column of the selection's end.
    int CaretLine() const;
    int CaretColumn() const;
    // Deletes the selection (a user edit).
    void ClearSelection();

    TRxTextAttributes SelAttributes() { return TRxTextAttributes(*this); }
    TRxParaAttributes Paragraph() { return TRxParaAttributes(*this); }

    // Clipboard; each is a user edit, refused on protected text.
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    // Whether the clipboard holds something the control can paste now.
    bool CanPaste() const;
    // Whether a clipboard format (a MIME type) is one the control takes.
    bool CanPasteFormat(const QString &mimeType) const;
    // The clipboard's formats the control takes now, in the clipboard's order.
    QStringList PasteFormats() const;
    // Pastes the clipboard's content in one of its formats only (Paste Special).
    void PasteAs(const QString &mimeType);

    // Embedded pictures. InsertPicture replaces the selection by the picture, one undo step, a
    // user edit refused on protected text; ignored while PlainText is on.
    void InsertPicture(const QImage &picture);
    // The shown size in pixels of the picture the selection consists of (exactly one object
    // selected); invalid when the selection is anything else.
    QSize SelectedPictureSize() const;
    // The selected picture's own size in pixels; invalid as above.
    QSize SelectedPictureNaturalSize() const;
    // Shows the selected picture at another size (one undo step); ignored when the selection
    // is not one picture or the size is empty.
    void SetSelectedPictureSize(const QSize &size);

    // OnChange and OnSelectionChange wait between the two (calls nest); the last release sends
    // each once when any was held back meanwhile.
    void HoldNotifications();
    void ReleaseNotifications();

    // Every change between the two becomes one undo step; calls nest.
    void BeginUndoGroup();
    void EndUndoGroup();

    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // How many steps Undo can go back; 0 switches undo off.
    int UndoLimit() const { return m_undoLimit; }
    void SetUndoLimit(int limit);

    // Searches `text` within [startPos, startPos + length) (length -1: to the end), backward
    // from the range's end when asked; answers the match's position or -1.
    int FindText(const QString &text, int startPos, int length, TSearchTypes options,
                 bool backward = false) const;
    // Searches from the selection's end to the end of the text (down) or backward from the
    // selection's start (up); selects the match and scrolls it into view, or fires
    // OnTextNotFound and answers false.
    bool FindNext(const QString &text, TSearchTypes options, bool down = true);
    // Searches from the selection's end and replaces the match, which is left selected.
    bool ReplaceNext(const QString &text, const QString &replacement, TSearchTypes options);
    // Replaces every match from the selection's end on, each new search starting after the
    // replacement just made; notifications are held back and one OnChange and one
    // OnSelectionChange follow when anything was replaced, OnTextNotFound otherwise.
    int ReplaceAll(const QString &text, const QString &replacement, TSearchTypes options);

    // Display.
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle style);
    // Whether the selection disappears while the control has no focus.
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hide);
    // Background colour of the whole control; invalid means the window colour.
    QColor BackgroundColor() const;
    void SetBackgroundColor(const QColor &color);
    // The rectangle the text is laid out in, in pixels of the control's client area; an empty
    // rectangle means the whole client area.
    QRect FormatRect() const { return m_formatRect; }
    void SetFormatRect(const QRect &rect);
    // Lines break at this width (twips) whatever the window's width; 0 lets WordWrap decide.
    // Setting WordWrap sets it back to 0.
    int TargetLineWidth() const { return m_targetLineWidth; }
    void SetTargetLineWidth(int twips);

    // Draws (render) or measures the range from range.cpMin into range.rc and answers the
    // first position that did not fit (the text length when all did). A null range releases
    // the laid-out copy kept between calls.
    int FormatRange(const TFormatRange *range, bool render);

signals:
    // After every change of the text or its format.
    void OnChange();
    // After every change of the selection or caret position.
    void OnSelectionChange();
    // Before a user edit that touches protected text, with the range it touches;
    // allowChange starts false and the edit happens only when a handler sets it true. Edits the
    // handler makes itself are not checked again.
    void OnProtectChange(int startPos, int endPos, bool &allowChange);
    void OnTextNotFound(const QString &findText);
    // A press and the following release of a mouse button over the same link.
    void OnURLClick(const QString &urlText, Qt::MouseButton button);
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Before the character is inserted; a handler may change the insertion format, or set key
    // to a null QChar to swallow it.
    void OnKeyPress(QChar &key);
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // Adds the underline lines Qt cannot draw (double, words only) to what QTextEdit paints.
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
    // Shows the text of a footnote or comment as the tooltip of its mark.
    bool viewportEvent(QEvent *event) override;

private:
    friend class TRxLargeText;
    friend class TRxTextAttributes;
    friend class TRxParaAttributes;
    friend class TRichEditStrings;

    // Whether a user edit replacing [start, end) may go ahead: true when it touches no
    // protected text or the OnProtectChange handler allows it.
    bool allowEdit(int start, int end);
    // The format of the character at `position` (a paragraph break: its paragraph's format).
    QTextCharFormat charFormatAt(int position) const;
    // The first selected character's format, or the insertion point's.
    QTextCharFormat selectionCharFormat() const;
    // Merges `delta` into the selection, or into the insertion format when nothing is selected,
    // and removes `cleared` properties; ignored while PlainText is on.
    void mergeSelectionCharFormat(const QTextCharFormat &delta, const QList<int> &cleared = {});
    // Calls `change` for every paragraph the selection touches, as one undo step.
    void
    modifySelectedBlocks(const std::function<void(const QTextBlock &, QTextBlockFormat &)> &change);
    bool touchesProtected(int start, int end) const;
    void selectionMaybeChanged();
    void documentChanged();
    void documentChangedAt(int from, int removed, int added);
    // Lays out the paragraphs a change left without lines while Qt's lazy layout was under way.
    void finishBrokenLayout();
    void notifyChange();
    void notifySelectionChange();
    // Lays every paragraph out from left to right (on) or in the direction its text starts
    // with (off), which differ only where characters are written from right to left.
    void setLeftToRightOnly(bool on);
    // Wraps lines anywhere (on) or at word boundaries where a word fits (off); on while the text
    // holds a word too long for Qt to wrap at word boundaries in reasonable time (LongWords).
    void setWrapAnywhere(bool on);
    void undoStepAdded();
    void applyWrapMode();
    void applyFormatRect();
    void applySelectionPalette();
    void resetUndoHistory();
    // Replaces everything by plain text ('\n' between paragraphs) in the default format.
    void loadPlainText(const QString &text);
    // Replaces everything by large plain text ('\n', CR LF or CR between lines) read in `format`.
    void loadLargeText(QStringView text, const TextFormat &format);
    // Takes the large text back into the document (keep) or drops it.
    void leaveLargeText(bool keep);
    void adoptOwnDocument();
    // Runs `work` on the document while no view watches it (so that no layout follows each
    // change), then shows it again; the view lays it out lazily from there.
    void withDocumentDetached(const std::function<void(QTextDocument &)> &work);
    // Replaces the content through `load` (which may raise, leaving the content as it was):
    // caret at 0, no undo history, unmodified, one change and one selection notification.
    void reloadDocument(const std::function<void(QTextDocument &)> &load);
    // The display lines of the paragraphs before `block`, from a cache kept across calls.
    int displayLinesBefore(const QTextBlock &block) const;
    void invalidateLineCache(int fromBlock = 0) const;
    QString urlAt(const QPoint &viewportPos) const;
    // The text of the footnote or comment whose mark is under the pointer; empty when none.
    QString noteAt(const QPoint &viewportPos) const;
    // The picture a clipboard or drop offers, decoded; null when it offers none.
    static QImage pictureOf(const QMimeData *source);
    void insertPictureAt(QTextCursor &cursor, const QImage &picture);
    // The format of the one selected picture; invalid when the selection is not one.
    QTextImageFormat selectedPicture() const;

    TRichEditStrings m_lines;
    std::unique_ptr<TRxPageRenderer> m_pageRenderer;
    std::unique_ptr<TRxLargeText> m_largeText;
    TStreamFormat m_streamFormat = sfDefault;
    int m_updateCount = 0;
    bool m_plainText = false;
    bool m_wordWrap = true;
    TScrollStyle m_scrollBars = ssBoth;
    bool m_hideSelection = true;
    QRect m_formatRect;
    int m_targetLineWidth = 0;
    int m_undoLimit = 100;
    // Holds the document's edit block open while an undo group is.
    QTextCursor m_undoGroup;
    int m_undoGroupDepth = 0;
    int m_undoDepth = 0;
    int m_redoDepth = 0;
    int m_protectHandlerDepth = 0;
    // A drop already checked both of its ranges; its insertion is not asked about again.
    bool m_insertApproved = false;
    int m_notificationsHeld = 0;
    // Set by a change that may have cut Qt's lazy layout short; checked once Qt has handled it.
    bool m_layoutMayBreak = false;
    // Where that change began.
    int m_changedFrom = 0;
    int m_holdDepth = 0;
    bool m_changeHeld = false;
    bool m_selectionChangeHeld = false;
    // True while no character of the text is written from right to left; set back by the first
    // such character to arrive (m_rightToLeftArrived until the change is complete).
    bool m_leftToRightOnly = false;
    bool m_rightToLeftArrived = false;
    bool m_wrapAnywhere = false;
    // Set while Qt asks for the data of the primary selection (keys and clicks that select).
    bool m_forPrimarySelection = false;
    static constexpr int LargePrimarySelection = 100000;
    // Set while only formats change, so that the text need not be looked at again.
    bool m_textStaysPut = false;
    QTextDocument *m_ownDocument = nullptr;
    QPointer<QMenu> m_popupMenu;
    int m_lastAnchor = 0;
    // Watched by the view while the real document is detached for bulk work.
    QTextDocument *m_parkingDocument = nullptr;
    mutable int m_lineCacheBlocks = 0;
    mutable int m_lineCacheLines = 0;
    int m_lastPosition = 0;
    QString m_pressedUrl;
    Qt::MouseButton m_pressedUrlButton = Qt::NoButton;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRxRichEdit::TSearchTypes)
