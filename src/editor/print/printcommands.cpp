#include "editor/print/printcommands.h"

#include "editor/frame/editoractions.h"
#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "print/elineprinter.h"
#include "print/richprinter.h"
#include "print/trichpreviewform.h"
#include "richtext/rxrichedit.h"

#include <QAbstractPrintDialog>
#include <QPrinter>

TPrintCommands::TPrintCommands(PrintCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.PrintAction, this, &TPrintCommands::PrintActionExecute);
    a.route(a.PrinterSetup, this, &TPrintCommands::PrinterSetupClick);
    a.route(a.PagePreview1, this, &TPrintCommands::PagePreview1Click);
}

void TPrintCommands::PrintActionExecute() {
    QPrinter *printer = m_context.RichPrinter1.qprinter();
    if (!printer)
        throw ELinePrinter(QStringLiteral("Not be able to start the printing."));
    // The whole document is printed: no page range, no selection.
    const QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
        QAbstractPrintDialog::PrintCollateCopies;
    if (!m_context.prompts.printDocumentDialog(&m_context.window, *printer, options))
        return;
    // The dialog may have chosen another printer or paper.
    m_context.RichPrinter1.RecheckMeasurements();
    BusyCursor busy;
    m_context.RichPrinter1.PrintRichEdit(m_context.Memo, 1);
}

void TPrintCommands::PrinterSetupClick() {
    m_context.RichPrinter1.PageSetup();
    SetMargin();
}

void TPrintCommands::PagePreview1Click() {
    TRichPrinter &printer = m_context.RichPrinter1;
    const double width = printer.PhysicalWidth();
    const double aspect = width > 0 ? printer.PhysicalHeight() / width : 0.0;
    auto *form = new TRichPreviewForm(m_context.prompts, printer.CompressPreview(), aspect);
    form->show();
    printer.PreviewRichEdit(m_context.Memo, *form);
    if (form->pageCount() == 0) {
        form->close();
        return;
    }
    form->enterBrowsing();
    form->activateWindow();
}
