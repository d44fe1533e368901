#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class Prompts;
class QWidget;
class TextToolsFindDialog;
class TextToolsTarget;

// The Edit and Format menus' text tools over the editing area: case conversion, Letter Style
// (the command and the typing rule), Word Count, and the find and replace dialogs with Find
// Next. The dialogs are created on first use and kept as long as this object.
class TextToolsCommands : public QObject {
    Q_OBJECT

public:
    TextToolsCommands(TextToolsTarget &memo, Prompts &prompts, QWidget *window);
    ~TextToolsCommands() override;

    void Lowercase1Click();
    void Uppercase1Click();

    // One pass over the text changing every capital A to Z by 3 points, then the insertion size
    // := the size box's points at the caret position of the rule. A size box that is not a whole
    // number raises UserError before anything changes.
    void LetterStyle(bool enlarge, const QString &sizeBoxText);
    // Before a typed character goes in, while Letter Style's item is checked.
    void MemoKeyPress(QChar key, bool letterStyleChecked);
    bool CapsEnlarged() const { return m_capsEnlarged; }

    // Counts the words of the whole text; answers the status bar text.
    QString WordCount1Click();

    void FindActionExecute();
    void ReplaceActionExecute();
    void FindNextActionExecute();
    // The editing area's not-found notification.
    void MemoTextNotFound(const QString &findText);

    // Null until first opened.
    TextToolsFindDialog *findDialog() const;
    TextToolsFindDialog *replaceDialog() const;

    // Sounds the warning beep (the platform's by default) and gives the editing area the focus;
    // the window sets them.
    std::function<void()> beep;
    std::function<void()> focusMemo;

private:
    TextToolsFindDialog *openDialog(bool replace);
    void dialogFind(TextToolsFindDialog *dialog);
    void dialogReplace(TextToolsFindDialog *dialog);
    void dialogReplaceAll(TextToolsFindDialog *dialog);
    void moveOffSelection(TextToolsFindDialog *dialog);

    TextToolsTarget &m_memo;
    Prompts &m_prompts;
    QWidget *m_window;
    bool m_capsEnlarged = false;
    QPointer<TextToolsFindDialog> m_findDialog;
    QPointer<TextToolsFindDialog> m_replaceDialog;
    // The dialog whose last search had a search text: the one Find Next repeats.
    QPointer<TextToolsFindDialog> m_lastSearch;
};
