#pragma once

#include <QObject>
#include <functional>

class Prompts;
class QWidget;
class TEditorActions;
class TRichPrinter;
class TRxRichEdit;

// What the print commands reach. Nothing is owned.
struct PrintCommandsContext {
    QWidget &window;
    TRxRichEdit &Memo;
    TRichPrinter &RichPrinter1;
    TEditorActions &actions;
    Prompts &prompts;
};

// The File menu's "&Print" and "Page Dialog": the print dialog, then the whole document through
// `RichPrinter1`; the page-setup dialog, then the ruler brought into line with the margins.
// Errors of the print component end the command and reach the general error report.
class TPrintCommands : public QObject {
    Q_OBJECT

public:
    explicit TPrintCommands(PrintCommandsContext context, QObject *parent = nullptr);

    void PrintActionExecute();
    void PrinterSetupClick();
    // "Page Preview": the pages rendered into the preview window, which then browses them.
    void PagePreview1Click();

    // Brings the ruler into line with the page margins and width after "Page Dialog"; the ruler
    // binding sets it, nothing happens until then.
    std::function<void()> SetMargin = [] {};

private:
    PrintCommandsContext m_context;
};
