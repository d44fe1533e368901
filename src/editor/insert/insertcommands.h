#pragma once

#include "editor/insert/inserttext.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <functional>

class Prompts;
class QWidget;
class TDocumentState;
class TEditorActions;
class TRxRichEdit;
struct TModeFlags;

// What the insert commands reach. Nothing is owned.
struct InsertCommandsContext {
    QWidget &window;
    TRxRichEdit &Memo;
    const TModeFlags &mode;
    TEditorActions &actions;
    TDocumentState &document;
    Prompts &prompts;
};

// The Insert menu and the insert tool bar: dates, the time, the document's file name and folder,
// a text file, a picture, and the protected page-break marker with the question before it is
// deleted. Every insertion happens only in RTF or text mode.
class TInsertCommands : public QObject {
    Q_OBJECT

public:
    static const QString PageBreakMarker;

    explicit TInsertCommands(InsertCommandsContext context, QObject *parent = nullptr);

    // The clock and the locale the dates and the time come from; tests fix them.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    QLocale locale = QLocale::system();

    void N01011Click();
    void Jan20002Click();
    void N0101011Click();
    void N01Jan20001Click();
    void N010120001Click();
    void Oct13th20011Click();
    void Jan20001Click();
    void January20001Click();
    void Mo1thJanuary20011Click();
    void DateButClick();
    void InsTimeActionExecute();

    void FileName5Click();
    void FileName831Click();
    void FilePath1Click();
    void FilePath831Click();

    void AddTxtFileActionExecute();
    void InsPicActionExecute();
    void PageBreakActionExecute();

    // The editing area's question before protected text is changed: every such edit is refused;
    // when the selection is exactly the page-break marker, the user is asked whether to delete it
    // and Yes cuts it to the clipboard.
    void MemoProtectChange(int startPos, int endPos, bool &allowChange);

private:
    bool editing() const;
    void insertDate(InsertText::DateItem item);
    // One blank, the text and one blank in place of the selection; then the caret to the end.
    void insertBlanked(const QString &text);
    // The selected text, one blank, the name and one blank in place of the selection; then the
    // caret to the end.
    void insertName(const QString &name);
    void caretToEnd();

    InsertCommandsContext m_context;
};
