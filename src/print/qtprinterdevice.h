#pragma once

#include "print/printerdevice.h"

#include <memory>

class QIODevice;
class QPagedPaintDevice;
class QPdfWriter;

// The platform printer over Qt: a QPrinter (the system's printers and the print dialog's file
// output), or a PDF writer into a device for headless output.
class QtPrinterDevice : public PrinterDevice {
public:
    // The system's default printer at high resolution; with no printer installed, one without
    // output until the print dialog chooses a file.
    QtPrinterDevice();
    explicit QtPrinterDevice(std::unique_ptr<QPrinter> printer);
    // A PDF written into `output`, which must outlive this object, at `dpi` dots per inch.
    QtPrinterDevice(QIODevice &output, int dpi);
    ~QtPrinterDevice() override;

    bool isInstalled() const override;
    int dpiX() const override;
    int dpiY() const override;
    QSize paperSize() const override;
    QRect printableRect() const override;
    QPageLayout::Orientation orientation() const override;
    void setOrientation(QPageLayout::Orientation orientation) override;
    QString title() const override;
    void setTitle(const QString &title) override;
    bool isPrinting() const override;
    QPainter *beginJob(QString &outputError) override;
    bool newPage() override;
    Status endJob() override;
    QPaintDevice *measureDevice() override;
    QPrinter *printer() override { return m_printer.get(); }

    // The PDF writer, when this device writes PDF into a device; else null.
    QPdfWriter *pdfWriter() const { return m_pdf.get(); }

private:
    QPagedPaintDevice &paged() const;

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPdfWriter> m_pdf;
    std::unique_ptr<QPainter> m_painter;
};
