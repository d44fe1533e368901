#pragma once

#include <QObject>

class Prompts;
class Shell;
class QTextBrowser;
class QWidget;
class TDocumentState;
class TEditorActions;
class TRxRichEdit;
struct TModeFlags;

// What the editing commands reach. Nothing is owned.
struct EditCommandsContext {
    QWidget &window;
    TRxRichEdit &Memo;
    QTextBrowser &htmlLite1;
    const TModeFlags &mode;
    TEditorActions &actions;
    TDocumentState &document;
    Prompts &prompts;
    Shell &shell;
};

// The Edit menu's plain editing commands (undo, redo, the clipboard, select all, Paste Special)
// and the embedded-object commands of the Insert menu, and links clicked in the text. Paste is
// enabled while the clipboard holds something the editing area takes.
class TEditCommands : public QObject {
    Q_OBJECT

public:
    explicit TEditCommands(EditCommandsContext context, QObject *parent = nullptr);

    void UndoActionExecute();
    void RedoActionExecute();
    void CutActionExecute();
    void CopyActionExecute();
    void PasteActionExecute();
    void SelectAllActionExecute();
    void PasteSpecialClick();
    // Inserts a chosen picture file as an embedded object.
    void Object1Click();
    // Shows and changes the size of the selected picture.
    void ObjectProperties1Click();

    // A link in the text clicked: the left button opens it with the desktop's handler.
    void MemoURLClick(const QString &urlText, Qt::MouseButton button);

    // Enables Paste, the popup's Paste and Paste Special when the clipboard offers a format the
    // editing area takes. Runs when the window is shown and whenever the clipboard changes.
    void UpdatePasteCommands();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool editing() const;

    EditCommandsContext m_context;
};
