#include "viewer/plaintextprint.h"

#include "platform/usererror.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextLayout>

QStringList displayLines(const QPlainTextEdit &memo) {
    QStringList lines;
    const QTextDocument *document = memo.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        // The text area lays blocks out lazily; asking for a block's rectangle lays it out.
        if (layout->lineCount() == 0)
            document->documentLayout()->blockBoundingRect(block);
        const QString text = block.text();
        if (layout->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
    }
    return lines;
}

namespace {

// Ends the print job on every path out of printing, so the spooler never keeps an open job.
class PrintJob {
public:
    explicit PrintJob(QPrinter &printer)
        : m_printer(printer) {}
    ~PrintJob() {
        if (m_painter.isActive())
            m_painter.end();
    }
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    QPainter &painter() { return m_painter; }
    bool begin() { return m_painter.begin(&m_printer); }
    bool end() { return m_painter.end(); }

private:
    QPrinter &m_printer;
    QPainter m_painter;
};

UserError printError(const QPrinter &printer) {
    const QString name =
        printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
    return UserError(QStringLiteral("Printing on \"%1\" failed.").arg(name));
}

} // namespace

int printPlainLines(QPrinter &printer, const QStringList &lines) {
    PrintJob job(printer);
    if (!job.begin())
        throw printError(printer);
    QPainter &painter = job.painter();
    const QFontMetricsF metrics(painter.font(), &printer);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const qreal width = page.width();
    const qreal height = page.height();
    const qreal lineHeight = metrics.lineSpacing();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;

    int pages = 1;
    qreal y = 0;
    for (const QString &line : lines) {
        if (y > 0 && y + lineHeight > height) {
            if (!printer.newPage())
                throw printError(printer);
            ++pages;
            y = 0;
        }
        painter.drawText(QRectF(0, y, width, lineHeight), flags, line);
        y += lineHeight;
    }
    if (!job.end() || printer.printerState() == QPrinter::Error)
        throw printError(printer);
    return pages;
}

std::unique_ptr<QPrinter> defaultSystemPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}
