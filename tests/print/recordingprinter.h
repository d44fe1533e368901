#pragma once

#include "print/printerdevice.h"

#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <climits>

// What a job drew, page by page, in device dots.
struct DrawnText {
    int page;
    QPointF at;
    QString text;
};
struct DrawnLine {
    int page;
    QLineF line;
    int penWidth;
};

// A paint engine that records the texts and lines drawn on it.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine()
        : QPaintEngine(QPaintEngine::AllFeatures) {}

    int page = 1;
    QList<DrawnText> texts;
    QList<DrawnLine> lines;
    QList<QRectF> images;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &r, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override {
        images.append(m_transform.mapRect(r));
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override {
        texts.append({page, m_transform.map(p), item.text()});
    }
    void drawLines(const QLineF *l, int count) override {
        for (int i = 0; i < count; ++i)
            lines.append({page, m_transform.map(l[i]), m_pen.width()});
    }
    void drawLines(const QLine *l, int count) override {
        for (int i = 0; i < count; ++i)
            lines.append({page, m_transform.map(QLineF(l[i])), m_pen.width()});
    }
    void drawRects(const QRectF *, int) override {}
    void drawRects(const QRect *, int) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    Type type() const override { return QPaintEngine::User; }

    QStringList textsOn(int onPage) const {
        QStringList result;
        for (const DrawnText &t : texts)
            if (t.page == onPage)
                result << t.text;
        return result;
    }

private:
    QPen m_pen;
    QTransform m_transform;
};

// A paint device of a given resolution and size in dots that records what is drawn.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int dpi, QSize size)
        : m_dpi(dpi)
        , m_size(size) {}
    ~RecordingDevice() override = default;

    mutable RecordingEngine engine;

    QPaintEngine *paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return int(m_size.width() * 25.4 / m_dpi);
        case PdmHeightMM:
            return int(m_size.height() * 25.4 / m_dpi);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int m_dpi;
    QSize m_size;
};

// A printer for tests: a letter page with quarter-inch gutters at a chosen resolution, jobs
// drawn on a recording device, and failures on request.
class RecordingPrinter : public PrinterDevice {
public:
    explicit RecordingPrinter(int dpi = 600, bool installed = true)
        : device(dpi, QSize(dpi * 8, dpi * 21 / 2))
        , m_installed(installed)
        , m_dpi(dpi) {}

    RecordingDevice device;
    QPainter painter;
    int pages = 0;
    int jobs = 0;
    // The page whose start fails (2 for the first new page); 0: none.
    int failPage = 0;
    bool failBegin = false;
    QString outputError;
    Status endStatus = Status::Ok;

    RecordingEngine &drawn() { return device.engine; }

    bool isInstalled() const override { return m_installed; }
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    QSize paperSize() const override { return QSize(m_dpi * 17 / 2, m_dpi * 11); }
    QRect printableRect() const override {
        return QRect(m_dpi / 4, m_dpi / 4, m_dpi * 8, m_dpi * 21 / 2);
    }
    QPageLayout::Orientation orientation() const override { return m_orientation; }
    void setOrientation(QPageLayout::Orientation o) override { m_orientation = o; }
    QString title() const override { return m_title; }
    void setTitle(const QString &title) override { m_title = title; }
    bool isPrinting() const override { return painter.isActive(); }
    QPainter *beginJob(QString &error) override {
        error = outputError;
        if (failBegin)
            return nullptr;
        painter.begin(&device);
        pages = 1;
        ++jobs;
        device.engine.page = 1;
        return &painter;
    }
    bool newPage() override {
        if (!painter.isActive() || pages + 1 == failPage)
            return false;
        device.engine.page = ++pages;
        return true;
    }
    Status endJob() override {
        painter.end();
        return endStatus;
    }
    QPaintDevice *measureDevice() override { return &device; }
    QPrinter *printer() override { return nullptr; }

private:
    bool m_installed;
    int m_dpi;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QString m_title;
};
