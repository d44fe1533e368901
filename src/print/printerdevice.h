#pragma once

#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>

class QPaintDevice;
class QPainter;
class QPrinter;

// The platform printer as the print component sees it: its resolution and paper geometry in
// dots, its orientation and job title, and its jobs and pages. Owned by the print component.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // Whether there is somewhere to print to (a printer, or a file chosen as the output); without
    // it the print component falls back to a letter page at 600 dots per inch.
    virtual bool isInstalled() const = 0;
    // Dots per inch; 0 when the printer reports none.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // The paper in dots, and the printable area in dots from the paper's top-left corner.
    virtual QSize paperSize() const = 0;
    virtual QRect printableRect() const = 0;

    virtual QPageLayout::Orientation orientation() const = 0;
    virtual void setOrientation(QPageLayout::Orientation orientation) = 0;
    virtual QString title() const = 0;
    virtual void setTitle(const QString &title) = 0;

    // Whether a job is in progress (from beginJob to endJob).
    virtual bool isPrinting() const = 0;

    enum class Status { Ok, PrinterFailed, OutputFailed };
    // Starts a job and answers the painter of its first page: one unit per dot, the origin at
    // the printable area's top-left corner. Null when the job could not start; `outputError`
    // then holds the output's own message when writing the output failed, else stays empty.
    virtual QPainter *beginJob(QString &outputError) = 0;
    virtual bool newPage() = 0;
    // Ends the job; the painter is gone afterwards whatever the answer.
    virtual Status endJob() = 0;

    // The device text is measured and laid out against (the printer itself).
    virtual QPaintDevice *measureDevice() = 0;
    // The Qt printer behind it, for the print and page-setup dialogs; null when there is none.
    virtual QPrinter *printer() = 0;
};
