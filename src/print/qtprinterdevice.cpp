#include "print/qtprinterdevice.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

QtPrinterDevice::QtPrinterDevice()
    : QtPrinterDevice(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrinterDevice::QtPrinterDevice(std::unique_ptr<QPrinter> printer)
    : m_printer(std::move(printer)) {
    // Without a printer the component counts 600 dots per inch: text is measured and laid out
    // at the same resolution, or the preview's pages would come out at twice their size.
    if (!isInstalled())
        m_printer->setResolution(600);
}

QtPrinterDevice::QtPrinterDevice(QIODevice &output, int dpi)
    : m_pdf(std::make_unique<QPdfWriter>(&output)) {
    m_pdf->setResolution(dpi);
    m_pdf->setCreator(QStringLiteral("quillet-convert"));
}

QtPrinterDevice::~QtPrinterDevice() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

QPagedPaintDevice &QtPrinterDevice::paged() const {
    if (m_pdf)
        return *m_pdf;
    return *m_printer;
}

bool QtPrinterDevice::isInstalled() const {
    if (m_pdf)
        return true;
    return !m_printer->printerName().isEmpty() || !m_printer->outputFileName().isEmpty();
}

int QtPrinterDevice::dpiX() const {
    return paged().logicalDpiX();
}

int QtPrinterDevice::dpiY() const {
    return paged().logicalDpiY();
}

QSize QtPrinterDevice::paperSize() const {
    const QPageLayout layout = paged().pageLayout();
    return layout.fullRectPixels(dpiX()).size();
}

QRect QtPrinterDevice::printableRect() const {
    const QPageLayout layout = paged().pageLayout();
    return layout.paintRectPixels(dpiX());
}

QPageLayout::Orientation QtPrinterDevice::orientation() const {
    return paged().pageLayout().orientation();
}

void QtPrinterDevice::setOrientation(QPageLayout::Orientation orientation) {
    paged().setPageOrientation(orientation);
}

QString QtPrinterDevice::title() const {
    return m_pdf ? m_pdf->title() : m_printer->docName();
}

void QtPrinterDevice::setTitle(const QString &title) {
    if (m_pdf)
        m_pdf->setTitle(title);
    else
        m_printer->setDocName(title);
}

bool QtPrinterDevice::isPrinting() const {
    return m_painter && m_painter->isActive();
}

QPainter *QtPrinterDevice::beginJob(QString &outputError) {
    outputError.clear();
    if (m_printer && !m_printer->outputFileName().isEmpty()) {
        // Qt only says that the job did not start; the file's own reason is more use.
        QFile file(m_printer->outputFileName());
        if (!file.open(QIODevice::WriteOnly)) {
            outputError = file.fileName() + QStringLiteral(": ") + file.errorString();
            return nullptr;
        }
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&paged())) {
        m_painter.reset();
        return nullptr;
    }
    return m_painter.get();
}

bool QtPrinterDevice::newPage() {
    if (!isPrinting())
        return false;
    return paged().newPage();
}

PrinterDevice::Status QtPrinterDevice::endJob() {
    if (!m_painter)
        return Status::PrinterFailed;
    const bool ended = m_painter->end();
    m_painter.reset();
    const bool failed = !ended || (m_printer && m_printer->printerState() == QPrinter::Error);
    if (!failed)
        return Status::Ok;
    const bool toFile = m_pdf || !m_printer->outputFileName().isEmpty();
    return toFile ? Status::OutputFailed : Status::PrinterFailed;
}

QPaintDevice *QtPrinterDevice::measureDevice() {
    return &paged();
}
