#include "print/richprinter.h"

#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "platform/settingsstore.h"
#include "platform/storeerror.h"
#include "print/elineprinter.h"
#include "print/previewpages.h"
#include "print/printabletext.h"
#include "print/qtprinterdevice.h"
#include "print/richeditprintable.h"
#include "print/richprntprogdlg.h"
#include "richtext/rxformatrange.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <cstring>

const QString TRichPrinter::SettingsKeyName = QStringLiteral("RichPrint.Settings");
const QString TRichPrinter::MargesKey = QStringLiteral("RichPrint.Settings\\Marges");
const QString TRichPrinter::CompressKey = QStringLiteral("RichPrint.Settings\\Compress");

namespace {

constexpr int fallbackDpi = 600;
const QString unknownTitle = QStringLiteral("<Unknown>");

QByteArray doubleBytes(double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

} // namespace

TRichPrinter::TRichPrinter(std::unique_ptr<PrinterDevice> printer, SettingsStore *store,
                           Prompts *prompts, QObject *parent)
    : QObject(parent)
    , m_printer(printer ? std::move(printer) : std::make_unique<QtPrinterDevice>())
    , m_store(store)
    , m_prompts(prompts)
    , m_font(QStringLiteral("Courier New"), 10) {
    m_font.setStyleHint(QFont::TypeWriter);
    m_columnFormat = m_headerFormat;
    // The defaults go through the setters as a loaded component's properties would.
    SetMarginTop(m_marginTop);
    SetMarginBottom(m_marginBottom);
    SetMarginLeft(m_marginLeft);
    SetMarginRight(m_marginRight);
    recomputeLineHeight();
    m_constructing = false;
}

TRichPrinter::~TRichPrinter() {
    delete m_progress;
}

void TRichPrinter::UseEditorSettings() {
    SetMarginTop(15);
    SetMarginBottom(16.5805555555555);
    SetMarginLeft(15);
    SetMarginRight(15);
    SetBorderOffset(2);
    SetLogoWidth(25);
    SetLogoHeight(20);
    SetBitmapLogo(QImage());
    SetHeader(QStringLiteral("{$TITLE}"));
    SetHeaderFormat(QStringLiteral(">100"));
    SetFooter(QStringLiteral("Page {$PAGE}"));
    SetFooterFormat(QStringLiteral(">100"));
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    SetFont_HeaderFooter(font, QGuiApplication::palette().color(QPalette::WindowText));
    SetPageBorders({});
    SetShowProgress(true);
    SetOptions_Dialog(poMargins);
}

// Units and geometry.

int TRichPrinter::DpiX() const {
    const int dpi = m_printer->isInstalled() ? m_printer->dpiX() : 0;
    return dpi > 0 ? dpi : fallbackDpi;
}

int TRichPrinter::DpiY() const {
    const int dpi = m_printer->isInstalled() ? m_printer->dpiY() : 0;
    return dpi > 0 ? dpi : fallbackDpi;
}

double TRichPrinter::fromUnit(double length) const {
    return m_measureUnit == muMillimeters ? length / 25.4 : length;
}

int TRichPrinter::XDots(double length) const {
    return qRound(fromUnit(length) * DpiX());
}

int TRichPrinter::YDots(double length) const {
    return qRound(fromUnit(length) * DpiY());
}

double TRichPrinter::XLength(int dots) const {
    const double inches = double(dots) / DpiX();
    return m_measureUnit == muMillimeters ? inches * 25.4 : inches;
}

double TRichPrinter::YLength(int dots) const {
    const double inches = double(dots) / DpiY();
    return m_measureUnit == muMillimeters ? inches * 25.4 : inches;
}

int TRichPrinter::XTwips(int dots) const {
    return int(qint64(dots) * 1440 / DpiX());
}

int TRichPrinter::YTwips(int dots) const {
    return int(qint64(dots) * 1440 / DpiY());
}

double TRichPrinter::PhysicalWidth() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 8.5 : 210;
    return XLength(m_printer->paperSize().width());
}

double TRichPrinter::PhysicalHeight() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 11 : 297;
    return YLength(m_printer->paperSize().height());
}

double TRichPrinter::PrintableWidth() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 8 : 198;
    return XLength(m_printer->printableRect().width());
}

double TRichPrinter::PrintableHeight() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 10.5 : 284;
    return YLength(m_printer->printableRect().height());
}

double TRichPrinter::GutterLeft() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 0.25 : 6;
    return XLength(m_printer->printableRect().left());
}

double TRichPrinter::GutterTop() const {
    if (!m_printer->isInstalled())
        return m_measureUnit == muInches ? 0.25 : 6;
    return YLength(m_printer->printableRect().top());
}

double TRichPrinter::GutterRight() const {
    return PhysicalWidth() - PrintableWidth() - GutterLeft();
}

double TRichPrinter::GutterBottom() const {
    return PhysicalHeight() - PrintableHeight() - GutterTop();
}

int TRichPrinter::LeftOffset() const {
    return XDots(m_marginLeft - GutterLeft());
}

int TRichPrinter::TopOffset() const {
    return YDots(m_marginTop - GutterTop());
}

int TRichPrinter::RightOffset() const {
    return XDots(m_marginRight - GutterRight());
}

int TRichPrinter::BottomOffset() const {
    return qMax(YDots(m_marginBottom - GutterBottom()), m_lineHeight);
}

int TRichPrinter::AreaWidth() const {
    return qMax(0, XDots(PrintableWidth()) - LeftOffset() - RightOffset());
}

int TRichPrinter::AreaHeight() const {
    return qMax(0, YDots(PrintableHeight()) - TopOffset() - BottomOffset());
}

// Margins.

bool TRichPrinter::Printing() const {
    return m_printer->isPrinting();
}

void TRichPrinter::refuseWhilePrinting(const char *what) const {
    if (Printing())
        throw ELinePrinter(
            QStringLiteral("Unable to change %1 while printing").arg(QLatin1String(what)));
}

double TRichPrinter::clampMargin(double value, double low, double paper,
                                 double oppositeGutter) const {
    const double high = paper - oppositeGutter;
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

void TRichPrinter::SetMarginTop(double value) {
    refuseWhilePrinting("top margin");
    m_marginTop = clampMargin(value, GutterTop(), PhysicalHeight(), GutterBottom());
}

void TRichPrinter::SetMarginBottom(double value) {
    refuseWhilePrinting("bottom margin");
    m_marginBottom = clampMargin(value, GutterBottom(), PhysicalHeight(), GutterTop());
}

void TRichPrinter::SetMarginLeft(double value) {
    refuseWhilePrinting("left margin");
    m_marginLeft = clampMargin(value, GutterLeft(), PhysicalWidth(), GutterRight());
}

void TRichPrinter::SetMarginRight(double value) {
    refuseWhilePrinting("right margin");
    m_marginRight = clampMargin(value, GutterRight(), PhysicalWidth(), GutterLeft());
}

void TRichPrinter::RecheckMeasurements() {
    if (Printing())
        return;
    SetMarginTop(m_marginTop);
    SetMarginBottom(m_marginBottom);
    SetMarginLeft(m_marginLeft);
    SetMarginRight(m_marginRight);
    SetBorderOffset(m_borderOffset);
    SetLogoLeft(m_logoLeft);
    SetLogoTop(m_logoTop);
    SetLogoWidth(m_logoWidth);
    SetLogoHeight(m_logoHeight);
    SetHeaderFormat(m_headerFormat);
    SetFooterFormat(m_footerFormat);
    SetSaveMargins(m_saveMargins);
}

QString TRichPrinter::convertFormat(const QString &format, double factor) const {
    // Every column keeps its alignment mark and gets its width converted; a column without a
    // number (the default width) stays as it is, the default width being converted itself.
    QStringList items = format.split(QLatin1Char('|'));
    for (QString &item : items) {
        if (item.isEmpty())
            continue;
        const QChar mark = item.at(0);
        const bool marked =
            mark == QLatin1Char('<') || mark == QLatin1Char('>') || mark == QLatin1Char('^');
        bool ok = false;
        const double width = (marked ? item.mid(1) : item).toDouble(&ok);
        if (!ok)
            continue;
        item = (marked ? QString(mark) : QString()) + QString::asprintf("%8.3f", width * factor);
    }
    return items.join(QLatin1Char('|'));
}

void TRichPrinter::SetMeasureUnit(TMeasureUnit unit) {
    if (unit == m_measureUnit)
        return;
    m_measureUnit = unit;
    if (m_constructing)
        return;
    const double factor = unit == muInches ? 1 / 25.4 : 25.4;
    m_marginTop *= factor;
    m_marginBottom *= factor;
    m_marginLeft *= factor;
    m_marginRight *= factor;
    m_borderOffset *= factor;
    m_defaultColumnWidth *= factor;
    m_logoHeight *= factor;
    m_logoLeft *= factor;
    m_logoTop *= factor;
    m_logoWidth *= factor;
    m_footerFormat = convertFormat(m_footerFormat, factor);
    m_headerFormat = convertFormat(m_headerFormat, factor);
    RecheckMeasurements();
}

// Orientation, title and font: properties of the platform printer.

QPageLayout::Orientation TRichPrinter::Orientation() const {
    return m_printer->isInstalled() ? m_printer->orientation() : QPageLayout::Portrait;
}

void TRichPrinter::SetOrientation(QPageLayout::Orientation orientation) {
    refuseWhilePrinting("orientation");
    if (m_printer->isInstalled())
        m_printer->setOrientation(orientation);
}

QString TRichPrinter::Title() const {
    return m_printer->isInstalled() ? m_printer->title() : unknownTitle;
}

void TRichPrinter::SetTitle(const QString &title) {
    refuseWhilePrinting("title");
    if (m_printer->isInstalled())
        m_printer->setTitle(title);
}

void TRichPrinter::SetFont_HeaderFooter(const QFont &font, const QColor &color) {
    if (!m_printer->isInstalled())
        return;
    m_font = font;
    m_fontColor = color == QColor(Qt::white) ? QColor(Qt::black) : color;
    applyFont();
    recomputeLineHeight();
}

QPaintDevice *TRichPrinter::measureDevice() const {
    return m_printer->measureDevice();
}

void TRichPrinter::applyFont() {
    if (!m_canvas)
        return;
    m_canvas->setFont(QFont(m_font, measureDevice()));
    m_canvas->setPen(m_fontColor);
}

void TRichPrinter::recomputeLineHeight() {
    if (!m_printer->isInstalled() && !m_previewing) {
        m_lineHeight = 10;
        m_ascent = 8;
        return;
    }
    const QFontMetrics metrics(m_font, measureDevice());
    m_ascent = metrics.ascent();
    if (Printing() || m_previewing)
        m_lineHeight = metrics.height() + qMax(0, metrics.leading());
    else
        m_lineHeight = metrics.boundingRect(QLatin1Char('M')).height();
}

int TRichPrinter::textWidth(const QString &text) const {
    return QFontMetrics(m_font, measureDevice()).horizontalAdvance(text);
}

// Fields and columns.

QString TRichPrinter::ExpandFields(const QString &text) const {
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const std::pair<QString, QString> fields[] = {
        {QStringLiteral("{$LINE}"), QString::number(m_lineNumber)},
        {QStringLiteral("{$PAGE}"), QString::number(m_pageNumber)},
        {QStringLiteral("{$DATE}"), locale.toString(now.date(), QLocale::ShortFormat)},
        {QStringLiteral("{$TIME}"), locale.toString(now.time(), QLocale::LongFormat)},
        {QStringLiteral("{$TITLE}"), Title()},
    };
    QString result = text;
    for (const auto &[placeholder, value] : fields) {
        // Replacing a placeholder by a text holding it again would never end.
        if (value.contains(placeholder))
            continue;
        for (qsizetype at = result.indexOf(placeholder); at >= 0; at = result.indexOf(placeholder))
            result.replace(at, placeholder.size(), value);
    }
    return result;
}

TRichPrinter::Column TRichPrinter::parseColumn(QString item) const {
    const QString defaultWidth =
        QString::number(m_defaultColumnWidth, 'g', QLocale::FloatingPointShortest);
    if (item.isEmpty())
        item = QLatin1Char('<') + defaultWidth;
    else if (item == QLatin1String("<") || item == QLatin1String(">") || item == QLatin1String("^"))
        item += defaultWidth;
    Column column;
    const QChar mark = item.at(0);
    if (mark == QLatin1Char('<')) {
        item.remove(0, 1);
    } else if (mark == QLatin1Char('>')) {
        column.align = Align::Right;
        item.remove(0, 1);
    } else if (mark == QLatin1Char('^')) {
        column.align = Align::Centre;
        item.remove(0, 1);
    }
    bool ok = false;
    const double width = item.toDouble(&ok);
    column.width = ok ? width : m_defaultColumnWidth;
    return column;
}

void TRichPrinter::WriteColumns(const QString &text) {
    const QStringList formats = m_columnFormat.split(QLatin1Char('|'));
    const QStringList texts = text.split(QLatin1Char('|'));
    const int pad = (DpiX() / 600) * 6;
    m_x = LeftOffset();
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const Column column = parseColumn(formats.at(i));
        const int columnWidth = XDots(column.width);
        QString item = i < texts.size() ? texts.at(i) : QString();
        if (item.contains(QLatin1String("{$")))
            item = ExpandFields(item);
        int width = textWidth(item);
        if (width > columnWidth && item.size() > 1) {
            // The longest prefix that fits, at least the first character.
            qsizetype low = 1;
            qsizetype high = item.size();
            qsizetype fits = 1;
            while (low <= high) {
                const qsizetype middle = (low + high) / 2;
                if (textWidth(item.left(middle)) <= columnWidth) {
                    fits = middle;
                    low = middle + 1;
                } else {
                    high = middle - 1;
                }
            }
            item.truncate(fits);
            width = textWidth(item);
        }
        int offset = 0;
        if (column.align == Align::Right)
            offset = columnWidth - width;
        else if (column.align == Align::Centre)
            offset = (columnWidth - width) / 2;
        if (width < columnWidth - pad) {
            if (column.align == Align::Right)
                offset -= pad;
            else if (column.align == Align::Left)
                offset += pad;
        }
        if (m_canvas && !item.isEmpty())
            m_canvas->drawText(QPoint(m_x + offset, TopOffset() + m_y + m_ascent), item);
        m_x += columnWidth;
    }
    if (m_y >= 0 && m_y < AreaHeight())
        NewLine();
}

int TRichPrinter::NewLine() {
    m_x = 0;
    m_y += m_lineHeight;
    ++m_lineNumber;
    if (m_y + m_lineHeight >= AreaHeight())
        StartNewPage();
    return m_lineNumber;
}

// Pages and jobs.

int TRichPrinter::StartNewPage() {
    if (!m_previewing && !m_printer->newPage())
        throw ELinePrinter(QStringLiteral("Not be able to print a new page."));
    ++m_pageNumber;
    if (m_previewing)
        finishPreviewPage(false);
    drawPageFrame();
    return m_pageNumber;
}

void TRichPrinter::drawPageFrame() {
    UpdateProgress(QStringLiteral("Currently Printing"));
    const QString keptFormat = m_columnFormat;
    const auto restoreFormat = qScopeGuard([&] { m_columnFormat = keptFormat; });
    if (!m_header.isEmpty()) {
        applyFont();
        recomputeLineHeight();
        m_y = qRound((TopOffset() - m_lineHeight) / 2.0) - TopOffset();
        m_columnFormat = m_headerFormat;
        WriteColumns(m_header);
        if (!m_bitmapLogo.isNull() && m_canvas) {
            const int y0 = (TopOffset() - m_lineHeight) / 2 + m_lineHeight;
            const QRect logo(qRound(m_logoLeft / PhysicalWidth() * AreaWidth()) + LeftOffset(),
                             qRound(m_logoTop / PhysicalHeight() * AreaHeight()) + y0,
                             qRound(m_logoWidth / PhysicalWidth() * AreaWidth()),
                             qRound(m_logoHeight / PhysicalHeight() * AreaHeight()));
            m_canvas->save();
            m_canvas->setPen(QPen(Qt::black, 0, Qt::DotLine));
            m_canvas->setBrush(Qt::NoBrush);
            m_canvas->drawRect(logo.adjusted(-1, -1, 0, 0));
            m_canvas->drawImage(logo, m_bitmapLogo);
            m_canvas->restore();
        }
    }
    if (!m_footer.isEmpty()) {
        applyFont();
        recomputeLineHeight();
        m_y = AreaHeight() + (BottomOffset() - m_lineHeight) / 2;
        m_columnFormat = m_footerFormat;
        WriteColumns(m_footer);
    }
    m_x = 0;
    m_y = 0;
    m_lineNumber = 0;
    emit OnNewPage(this);

    if (!m_canvas || !m_pageBorders)
        return;
    const int left = LeftOffset();
    const int top = TopOffset();
    const int width = AreaWidth();
    const int height = AreaHeight();
    m_canvas->save();
    const int b = YDots(m_borderOffset);
    m_canvas->setPen(QPen(Qt::black, (DpiY() / 600) * 2));
    if (m_pageBorders & pbTop)
        m_canvas->drawLine(left - b, top - b, left + width + b, top - b);
    if (m_pageBorders & pbBottom)
        m_canvas->drawLine(left - b, top + height + 2 * b, left + width + b, top + height + 2 * b);
    const int d = XDots(m_borderOffset);
    m_canvas->setPen(QPen(Qt::black, (DpiX() / 600) * 2));
    if (m_pageBorders & pbLeft)
        m_canvas->drawLine(left - d, top - d, left - d, top + height + 2 * d);
    if (m_pageBorders & pbRight)
        m_canvas->drawLine(left + width + d, top - d, left + width + d, top + height + 2 * d);
    m_canvas->restore();
}

void TRichPrinter::BeginDocument() {
    if (m_saveMargins)
        LoadSettings();
    emit OnBeginDoc(this);
    if (!m_previewing) {
        QString outputError;
        m_canvas = m_printer->beginJob(outputError);
        if (!m_canvas)
            throw ELinePrinter(outputError.isEmpty()
                                   ? QStringLiteral("Not be able to start the printing.")
                                   : outputError);
    }
    applyFont();
    recomputeLineHeight();
    UpdateProgress(m_previewing ? QStringLiteral("Preparing to Print Preview")
                                : QStringLiteral("Preparing to Print"));
    m_lineNumber = 0;
    m_pageNumber = m_firstPage;
    drawPageFrame();
}

void TRichPrinter::EndDocument() {
    UpdateProgress(m_previewing ? QStringLiteral("Finished Preparing Preview")
                                : QStringLiteral("Finished Printing"));
    PrinterDevice::Status status = PrinterDevice::Status::Ok;
    if (!m_previewing) {
        m_canvas = nullptr;
        status = m_printer->endJob();
    }
    if (m_previewing) {
        finishPreviewPage(true);
        m_previewing = false;
    }
    m_canvas = nullptr;
    UpdateProgress();
    emit OnEndDoc(this);
    if (status == PrinterDevice::Status::OutputFailed)
        throw ELinePrinter(QStringLiteral("Not be able to print to a file."));
    if (status == PrinterDevice::Status::PrinterFailed)
        throw ELinePrinter(QStringLiteral("Not be able to end the printing."));
}

void TRichPrinter::endJobAfterFailure(bool begun) {
    // A job that failed midway is ended and its window closed; the caller reports the failure.
    if (m_text)
        m_text->FormatRange(nullptr, false);
    if (m_printer->isPrinting())
        m_printer->endJob();
    m_canvas = nullptr;
    m_previewing = false;
    UpdateProgress();
    if (begun)
        emit OnEndDoc(this);
}

void TRichPrinter::fillRange(TFormatRange &range) const {
    range.painter = m_canvas;
    range.target = measureDevice();
    const int left = LeftOffset();
    const int top = TopOffset();
    const int right = left + AreaWidth();
    const int bottom = top + AreaHeight();
    range.rc = QRect(XTwips(left), YTwips(top), XTwips(right) - XTwips(left),
                     YTwips(bottom) - YTwips(top));
    range.rcPage = range.rc;
    range.cpMax = -1;
}

void TRichPrinter::runJob(PrintableText &text, int firstPage) {
    m_text = &text;
    m_firstPage = firstPage;
    const auto forget = qScopeGuard([this] { m_text = nullptr; });
    bool begun = false;
    connect(
        this, &TRichPrinter::OnBeginDoc, this, [&begun] { begun = true; },
        Qt::SingleShotConnection);
    try {
        BeginDocument();
        TFormatRange range;
        fillRange(range);
        const int length = text.TextLength();
        text.FormatRange(nullptr, false);
        int start = 0;
        for (;;) {
            range.cpMin = start;
            const int next = text.FormatRange(&range, true);
            TFormatRange rest = range;
            rest.cpMin = next;
            const int end = text.FormatRange(&rest, false);
            // A page that took nothing would be followed by blank pages; stop before one.
            const bool more = next < length && next != -1 && next > start;
            if (!more)
                break;
            if (std::abs(next - end) <= 1)
                break;
            StartNewPage();
            fillRange(range);
            start = next;
        }
        text.FormatRange(nullptr, false);
    } catch (...) {
        endJobAfterFailure(begun);
        throw;
    }
    EndDocument();
}

void TRichPrinter::PrintRichEdit(PrintableText &text, int firstPage) {
    runJob(text, firstPage);
}

void TRichPrinter::PrintRichEdit(TRxRichEdit &control, int firstPage) {
    RichEditPrintable text(control);
    runJob(text, firstPage);
}

// Preview.

void TRichPrinter::startPreviewPage() {
    m_previewing = true;
    const QSize paper(XDots(PhysicalWidth()), YDots(PhysicalHeight()));
    m_canvas = m_previewPages->startPage(paper, measureDevice(), m_font);
    if (!m_canvas)
        throw ELinePrinter(QStringLiteral("Not be able to print a new page."));
    // The page picture covers the paper; the engine draws from the printable area's corner.
    m_canvas->translate(XDots(GutterLeft()), YDots(GutterTop()));
}

void TRichPrinter::finishPreviewPage(bool last) {
    m_canvas = nullptr;
    m_previewPages->finishPage();
    if (!last)
        startPreviewPage();
}

void TRichPrinter::PreviewRichEdit(PrintableText &text, PreviewPages &pages) {
    BusyCursor busy;
    m_previewPages = &pages;
    const auto forget = qScopeGuard([this] {
        m_previewPages = nullptr;
        m_previewing = false;
        m_canvas = nullptr;
    });
    try {
        SaveCompressSetting();
        startPreviewPage();
        pages.paperKnown(QSize(XDots(PhysicalWidth()), YDots(PhysicalHeight())), PhysicalWidth(),
                         PhysicalHeight(), m_measureUnit == muInches);
        runJob(text, 1);
    } catch (const std::exception &) {
        // A preview that failed shows what it has; the pages stored so far are dropped.
        pages.abandon();
        UpdateProgress();
    }
}

void TRichPrinter::PreviewRichEdit(TRxRichEdit &control, PreviewPages &pages) {
    RichEditPrintable text(control);
    PreviewRichEdit(text, pages);
}

// Progress window.

void TRichPrinter::UpdateProgress(const QString &status) {
    const bool widgets = qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
    if (m_showProgress && widgets && (Printing() || m_previewing)) {
        if (!m_progress) {
            m_progress = new TRichPrntProgDlg(m_dialogParent);
            m_progress->show();
            m_progress->centre();
        } else if (m_progress->isHidden()) {
            m_progress->show();
        }
        if (!status.isEmpty())
            m_progress->lblStatus->setText(status);
        m_progress->lblTitle->setText(Title());
        m_progress->lblPageNumber->setText(QString::number(m_pageNumber));
        m_progress->repaint();
    } else if (m_progress) {
        m_progress->close();
        delete m_progress;
        m_progress = nullptr;
    }
}

// Settings.

void TRichPrinter::LoadSettings() {
    if (!m_store)
        return;
    if (!m_store->keyExists(MargesKey)) {
        SetMarginLeft(m_marginLeft);
        SetMarginTop(m_marginTop);
        SetMarginBottom(m_marginBottom);
        SetMarginRight(m_marginRight);
        SetMeasureUnit(m_measureUnit);
        SetOrientation(Orientation());
        return;
    }
    const auto code = [this](const QString &name) {
        if (!m_store->valueExists(MargesKey, name))
            return 1;
        bool ok = false;
        const int value = m_store->readString(MargesKey, name).trimmed().toInt(&ok);
        return ok ? value : 1;
    };
    const auto margin = [this](const QString &name, double current) {
        if (!m_store->valueExists(MargesKey, name))
            return current;
        const QByteArray bytes = m_store->readBinary(MargesKey, name);
        if (bytes.size() != 8)
            throw StoreError(QStringLiteral("Invalid data type for '%1'").arg(name));
        const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    SetMeasureUnit(code(QStringLiteral("CodeMeasurement")) == 1 ? muMillimeters : muInches);
    SetMarginLeft(margin(QStringLiteral("MarginLeft"), m_marginLeft));
    SetMarginTop(margin(QStringLiteral("MarginTop"), m_marginTop));
    SetMarginBottom(margin(QStringLiteral("MarginBottom"), m_marginBottom));
    SetMarginRight(margin(QStringLiteral("MarginRight"), m_marginRight));
    SetOrientation(code(QStringLiteral("CodeDirection")) == 1 ? QPageLayout::Portrait
                                                              : QPageLayout::Landscape);
}

void TRichPrinter::SaveSettings() {
    if (!m_store)
        return;
    m_store->batch([this] {
        m_store->createKey(MargesKey);
        m_store->writeBinary(MargesKey, QStringLiteral("MarginLeft"), doubleBytes(m_marginLeft));
        m_store->writeBinary(MargesKey, QStringLiteral("MarginTop"), doubleBytes(m_marginTop));
        m_store->writeBinary(MargesKey, QStringLiteral("MarginBottom"),
                             doubleBytes(m_marginBottom));
        m_store->writeBinary(MargesKey, QStringLiteral("MarginRight"), doubleBytes(m_marginRight));
        m_store->writeString(MargesKey, QStringLiteral("CodeMeasurement"),
                             m_measureUnit == muMillimeters ? QStringLiteral("1")
                                                            : QStringLiteral("0"));
        m_store->writeString(MargesKey, QStringLiteral("CodeDirection"),
                             Orientation() == QPageLayout::Portrait ? QStringLiteral("1")
                                                                    : QStringLiteral("0"));
    });
}

void TRichPrinter::SaveCompressSetting() {
    if (!m_store)
        return;
    m_store->batch([this] {
        m_store->createKey(CompressKey);
        m_store->writeString(CompressKey, QStringLiteral("CompressPreview"),
                             m_compressPreview ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

// Page setup.

QPrinter *TRichPrinter::qprinter() const {
    return m_printer->printer();
}

bool TRichPrinter::PageSetup() {
    QPrinter *printer = qprinter();
    if (!printer || !m_prompts)
        return false;
    if (m_saveMargins)
        LoadSettings();
    SetOrientation(Orientation());
    const bool inches = m_measureUnit == muInches;
    const double factor = inches ? 1000 : 100;
    const QPageLayout::Unit unit = inches ? QPageLayout::Inch : QPageLayout::Millimeter;
    const auto toDialog = [factor](double margin) { return std::round(margin * factor) / factor; };

    // Qt's page layout margins are the printer's unprintable edges; the dialog borrows them for
    // the page margins and they are put back afterwards.
    const QMarginsF gutters = printer->pageLayout().margins(unit);
    printer->setFullPage(false);
    printer->setPageMargins(QMarginsF(toDialog(m_marginLeft), toDialog(m_marginTop),
                                      toDialog(m_marginRight), toDialog(m_marginBottom)),
                            unit);
    const bool confirmed = m_prompts->pageSetupDialog(m_dialogParent, *printer);
    const QMarginsF chosen = printer->pageLayout().margins(unit);
    QPageLayout layout = printer->pageLayout();
    layout.setUnits(unit);
    const QMarginsF minimum = layout.minimumMargins();
    printer->setPageMargins(
        QMarginsF(qMax(gutters.left(), minimum.left()), qMax(gutters.top(), minimum.top()),
                  qMax(gutters.right(), minimum.right()), qMax(gutters.bottom(), minimum.bottom())),
        unit);

    SetMarginLeft(toDialog(chosen.left()));
    SetMarginTop(toDialog(chosen.top()));
    SetMarginRight(toDialog(chosen.right()));
    SetMarginBottom(toDialog(chosen.bottom()));
    RecheckMeasurements();
    if (m_saveMargins)
        SaveSettings();
    return confirmed;
}
