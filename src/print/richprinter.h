#pragma once

#include "print/printerdevice.h"
#include "richtext/rxformatrange.h"

#include <QColor>
#include <QDateTime>
#include <QFlags>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class PreviewPages;
class PrintableText;
class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;
class Prompts;
class SettingsStore;
class TRichPrntProgDlg;
class TRxRichEdit;

enum TMeasureUnit { muMillimeters, muInches };

enum TPageSetupFlag {
    poDisableMargins = 0x1,
    poMargins = 0x2,
    poDisableOrientation = 0x4,
    poDisablePaper = 0x8,
    poDisablePrinter = 0x10
};
Q_DECLARE_FLAGS(TPageSetupFlags, TPageSetupFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPageSetupFlags)

enum TPageBorder { pbTop = 0x1, pbBottom = 0x2, pbLeft = 0x4, pbRight = 0x8 };
Q_DECLARE_FLAGS(TPageBorders, TPageBorder)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPageBorders)

// The print component `RichPrinter1`: prints the whole text of a rich text control page by page
// through its format-range drawing, with a header line, a footer line, an optional logo and
// border lines on every page. Keeps the page margins in millimetres or inches, clamped to the
// printer's unprintable edges (the gutters). Owns its platform printer and its progress window;
// the settings store and prompts it is given must outlive it.
//
// Lengths are in MeasureUnit; device values are whole printer dots from the top-left corner of
// the printable area. Failures raise ELinePrinter.
class TRichPrinter : public QObject {
    Q_OBJECT

public:
    // Without a printer device, the Qt printer of the system (which may have no printer at all).
    // `store` keeps the "RichPrint.Settings" key and `prompts` runs the page-setup dialog; either
    // may be null where no dialog or settings are wanted.
    explicit TRichPrinter(std::unique_ptr<PrinterDevice> printer = nullptr,
                          SettingsStore *store = nullptr, Prompts *prompts = nullptr,
                          QObject *parent = nullptr);
    ~TRichPrinter() override;

    // The values the editor window gives `RichPrinter1`: margins 15 / 16.58 / 15 / 15 mm and
    // the header and footer font in the window-text colour.
    void UseEditorSettings();

    TMeasureUnit MeasureUnit() const { return m_measureUnit; }
    void SetMeasureUnit(TMeasureUnit unit);

    // Margins: distance of the text body from the paper's edges. Each setter clamps to at least
    // its own gutter and at most the paper less the opposite gutter; refused while printing.
    double MarginTop() const { return m_marginTop; }
    double MarginBottom() const { return m_marginBottom; }
    double MarginLeft() const { return m_marginLeft; }
    double MarginRight() const { return m_marginRight; }
    void SetMarginTop(double value);
    void SetMarginBottom(double value);
    void SetMarginLeft(double value);
    void SetMarginRight(double value);

    double BorderOffset() const { return m_borderOffset; }
    void SetBorderOffset(double value) { m_borderOffset = value; }
    double LogoTop() const { return m_logoTop; }
    double LogoLeft() const { return m_logoLeft; }
    double LogoWidth() const { return m_logoWidth; }
    double LogoHeight() const { return m_logoHeight; }
    void SetLogoTop(double value) { m_logoTop = value; }
    void SetLogoLeft(double value) { m_logoLeft = value; }
    void SetLogoWidth(double value) { m_logoWidth = value; }
    void SetLogoHeight(double value) { m_logoHeight = value; }
    const QImage &BitmapLogo() const { return m_bitmapLogo; }
    void SetBitmapLogo(const QImage &logo) { m_bitmapLogo = logo; }

    QString Header() const { return m_header; }
    void SetHeader(const QString &text) { m_header = text; }
    QString HeaderFormat() const { return m_headerFormat; }
    void SetHeaderFormat(const QString &format) { m_headerFormat = format; }
    QString Footer() const { return m_footer; }
    void SetFooter(const QString &text) { m_footer = text; }
    QString FooterFormat() const { return m_footerFormat; }
    void SetFooterFormat(const QString &format) { m_footerFormat = format; }

    // The header and footer font; a white colour becomes black. Changes nothing without a
    // printer.
    QFont Font_HeaderFooter() const { return m_font; }
    QColor FontColor_HeaderFooter() const { return m_fontColor; }
    void SetFont_HeaderFooter(const QFont &font, const QColor &color = Qt::black);

    TPageBorders PageBorders() const { return m_pageBorders; }
    void SetPageBorders(TPageBorders borders) { m_pageBorders = borders; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool on) { m_showProgress = on; }

    // Orientation and title live in the platform printer; without one, the title reads
    // "<Unknown>" and setting either changes nothing. Refused while printing.
    QPageLayout::Orientation Orientation() const;
    void SetOrientation(QPageLayout::Orientation orientation);
    QString Title() const;
    void SetTitle(const QString &title);

    TPageSetupFlags Options_Dialog() const { return m_optionsDialog; }
    void SetOptions_Dialog(TPageSetupFlags flags) { m_optionsDialog = flags; }
    bool SaveMargins() const { return m_saveMargins; }
    void SetSaveMargins(bool on) { m_saveMargins = on; }
    bool CompressPreview() const { return m_compressPreview; }
    void SetCompressPreview(bool on) { m_compressPreview = on; }

    // Printer geometry in MeasureUnit (letter or A4-like fallback values without a printer).
    double PhysicalWidth() const;
    double PhysicalHeight() const;
    double PrintableWidth() const;
    double PrintableHeight() const;
    double GutterLeft() const;
    double GutterTop() const;
    double GutterRight() const;
    double GutterBottom() const;

    // Device measures of the text body, in dots from the printable origin.
    int LeftOffset() const;
    int TopOffset() const;
    int RightOffset() const;
    int BottomOffset() const;
    int AreaWidth() const;
    int AreaHeight() const;

    // Dots per inch of each axis, 600 without a printer or when it reports none.
    int DpiX() const;
    int DpiY() const;
    // Lengths in MeasureUnit to dots (rounded) and back; dots to twips (truncated).
    int XDots(double length) const;
    int YDots(double length) const;
    double XLength(int dots) const;
    double YLength(int dots) const;
    int XTwips(int dots) const;
    int YTwips(int dots) const;

    // Re-applies the margins and the other lengths through their setters, so that they are
    // clamped to the printer now selected; nothing while printing.
    void RecheckMeasurements();

    // Prints the whole text; page numbers start at firstPage.
    void PrintRichEdit(TRxRichEdit &control, int firstPage = 1);
    void PrintRichEdit(PrintableText &text, int firstPage = 1);
    // Renders every page into a page picture of `pages` instead of printing.
    void PreviewRichEdit(PrintableText &text, PreviewPages &pages);
    void PreviewRichEdit(TRxRichEdit &control, PreviewPages &pages);

    // The page-setup dialog; true when confirmed.
    bool PageSetup();

    // Line output for callers that write text themselves.
    void WriteColumns(const QString &text);
    int NewLine();
    int StartNewPage();

    // Job frame, for callers that write their own pages.
    void BeginDocument();
    void EndDocument();

    void LoadSettings();
    void SaveSettings();
    void SaveCompressSetting();
    // Shows or updates the progress window, or closes it (empty status at the end of a job).
    void UpdateProgress(const QString &status = QString());

    int PageNumber() const { return m_pageNumber; }
    int LineNumber() const { return m_lineNumber; }
    // Header and footer line height in dots.
    int LineHeight() const { return m_lineHeight; }
    bool Printing() const;
    bool Previewing() const { return m_previewing; }
    // The progress window while a job runs, else null.
    TRichPrntProgDlg *ProgressWindow() const { return m_progress; }

    PrinterDevice &printerDevice() const { return *m_printer; }
    // The Qt printer for the print dialog; null when the device has none.
    QPrinter *qprinter() const;
    // The window dialogs and the progress window belong to; may be null.
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }
    // Replaces the clock the "{$DATE}" and "{$TIME}" fields read (tests).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // "{$LINE}", "{$PAGE}", "{$DATE}", "{$TIME}" and "{$TITLE}" of `text` replaced.
    QString ExpandFields(const QString &text) const;

    // Print settings key in the per-user store and its subkeys.
    static const QString SettingsKeyName;
    static const QString MargesKey;
    static const QString CompressKey;

signals:
    void OnBeginDoc(TRichPrinter *sender);
    void OnEndDoc(TRichPrinter *sender);
    void OnNewPage(TRichPrinter *sender);

private:
    enum class Align { Left, Right, Centre };
    struct Column {
        Align align = Align::Left;
        double width = 0;
    };
    Column parseColumn(QString item) const;
    void drawPageFrame();
    void fillRange(TFormatRange &range) const;
    void runJob(PrintableText &text, int firstPage);
    void applyFont();
    void recomputeLineHeight();
    void refuseWhilePrinting(const char *what) const;
    void startPreviewPage();
    void finishPreviewPage(bool last);
    QPaintDevice *measureDevice() const;
    int textWidth(const QString &text) const;
    double clampMargin(double value, double low, double paper, double oppositeGutter) const;
    double fromUnit(double length) const;
    QString convertFormat(const QString &format, double factor) const;
    void endJobAfterFailure(bool begun);

    std::unique_ptr<PrinterDevice> m_printer;
    SettingsStore *m_store;
    Prompts *m_prompts;
    QWidget *m_dialogParent = nullptr;

    TMeasureUnit m_measureUnit = muMillimeters;
    double m_marginTop = 30;
    double m_marginBottom = 25;
    double m_marginLeft = 25;
    double m_marginRight = 15;
    double m_borderOffset = 2;
    double m_logoTop = 0;
    double m_logoLeft = 0;
    double m_logoWidth = 25;
    double m_logoHeight = 20;
    QImage m_bitmapLogo;
    QString m_header = QStringLiteral("{$TITLE}");
    QString m_headerFormat = QStringLiteral(">100");
    QString m_footer = QStringLiteral("Page {$PAGE}");
    QString m_footerFormat = QStringLiteral(">100");
    QFont m_font;
    QColor m_fontColor = Qt::black;
    TPageBorders m_pageBorders;
    bool m_showProgress = true;
    TPageSetupFlags m_optionsDialog = poMargins;
    bool m_saveMargins = false;
    bool m_compressPreview = true;
    bool m_constructing = true;

    // The job.
    QPainter *m_canvas = nullptr;
    bool m_previewing = false;
    PreviewPages *m_previewPages = nullptr;
    PrintableText *m_text = nullptr;
    int m_firstPage = 1;
    int m_pageNumber = 0;
    int m_lineNumber = 0;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 10;
    int m_ascent = 0;
    QString m_columnFormat;
    double m_defaultColumnWidth = 0;
    TRichPrntProgDlg *m_progress = nullptr;
    std::function<QDateTime()> m_clock;
};
