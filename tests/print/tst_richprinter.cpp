#include "platform/settingsstore.h"
#include "platform/storeerror.h"
#include "print/elineprinter.h"
#include "print/previewpages.h"
#include "print/printabletext.h"
#include "print/richprinter.h"
#include "print/richprntprogdlg.h"
#include "recordingprinter.h"
#include "testenvironment.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

// A control that answers the format-range requests by a rule, and records them.
class ScriptedText : public PrintableText {
public:
    ScriptedText(int length, std::function<int(int start)> fits)
        : m_length(length)
        , m_fits(std::move(fits)) {}

    int TextLength() const override { return m_length; }
    int FormatRange(const TFormatRange *range, bool render) override {
        if (!range) {
            ++releases;
            return 0;
        }
        if (render)
            drawnFrom << range->cpMin;
        return qMin(m_length, m_fits(range->cpMin));
    }

    QList<int> drawnFrom;
    int releases = 0;

private:
    int m_length;
    std::function<int(int)> m_fits;
};

ScriptedText perPage(int length, int characters) {
    return ScriptedText(length, [characters](int start) { return start + characters; });
}

// Page pictures of a preview, drawn on recording devices.
class RecordingPreview : public PreviewPages {
public:
    int pages = 0;
    bool abandoned = false;
    std::unique_ptr<RecordingDevice> device;
    QPainter painter;

    void paperKnown(QSize, double, double, bool) override {}
    QPainter *startPage(QSize paper, QPaintDevice *reference, const QFont &) override {
        device = std::make_unique<RecordingDevice>(reference->logicalDpiX(), paper);
        painter.begin(device.get());
        return &painter;
    }
    void finishPage() override {
        painter.end();
        ++pages;
    }
    void abandon() override { abandoned = true; }
};

struct Fixture {
    explicit Fixture(int dpi = 600, bool installed = true, SettingsStore *store = nullptr) {
        auto device = std::make_unique<RecordingPrinter>(dpi, installed);
        printer = device.get();
        rich = std::make_unique<TRichPrinter>(std::move(device), store);
        rich->UseEditorSettings();
        rich->SetShowProgress(false);
    }
    RecordingPrinter *printer;
    std::unique_ptr<TRichPrinter> rich;

    int width(const QString &text) const {
        return QFontMetrics(rich->Font_HeaderFooter(), &printer->device).horizontalAdvance(text);
    }
};

QString failureOf(const std::function<void()> &work) {
    try {
        work();
    } catch (const ELinePrinter &error) {
        return error.text();
    }
    return QString();
}

} // namespace

// The print component's own logic: units, margins, column lines, fields, the page loop and its
// failures, settings and the progress window, against a recording printer.
class tst_RichPrinter : public QObject {
    Q_OBJECT

private slots:
    void units_data();
    void units();
    void noPrinterFallsBack();
    void marginsClampToPrinter_data();
    void marginsClampToPrinter();
    void footerStandsRightInItsColumn_data();
    void footerStandsRightInItsColumn();
    void columnsFollowTheirFormat();
    void fieldsExpand();
    void unitChangeRewritesLengthsAndFormats();
    void pageLoopExits_data();
    void pageLoopExits();
    void bordersAndLogo();
    void refusedWhilePrinting();
    void jobFailuresEndTheJob_data();
    void jobFailuresEndTheJob();
    void everyJobHasItsOwnProgressWindow();
    void settingsRoundTrip();
    void settingsOddValues();
    void previewStoresCompressSetting();
};

void tst_RichPrinter::units_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("dots15mm");
    QTest::addColumn<int>("borderPen");
    QTest::addRow("300 dpi") << 300 << 177 << 0;
    QTest::addRow("600 dpi") << 600 << 354 << 2;
    QTest::addRow("1200 dpi") << 1200 << 709 << 4;
}

void tst_RichPrinter::units() {
    QFETCH(int, dpi);
    QFETCH(int, dots15mm);
    QFETCH(int, borderPen);
    Fixture f(dpi);
    TRichPrinter &p = *f.rich;
    QCOMPARE(p.XDots(15), dots15mm);
    QCOMPARE(p.YDots(25.4), dpi);
    QCOMPARE(p.XLength(dpi), 25.4);
    QCOMPARE(p.XTwips(dpi), 1440);
    QCOMPARE(p.YTwips(dpi / 2 + 1), (dpi / 2 + 1) * 1440 / dpi);
    p.SetMeasureUnit(muInches);
    QCOMPARE(p.XDots(1.5), dpi * 3 / 2);
    QCOMPARE(p.XLength(dpi / 4), 0.25);
    QCOMPARE(p.PhysicalWidth(), 8.5);
    QCOMPARE(p.GutterRight(), 0.25);
    QCOMPARE(p.GutterBottom(), 0.25);

    p.SetPageBorders(pbTop | pbLeft);
    ScriptedText empty = perPage(0, 1);
    p.PrintRichEdit(empty);
    const QList<DrawnLine> lines = f.printer->drawn().lines;
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].penWidth, borderPen);
    QCOMPARE(lines[1].penWidth, borderPen);
}

void tst_RichPrinter::noPrinterFallsBack() {
    Fixture f(300, false);
    TRichPrinter &p = *f.rich;
    QCOMPARE(p.DpiX(), 600);
    QCOMPARE(p.PhysicalWidth(), 210.0);
    QCOMPARE(p.PhysicalHeight(), 297.0);
    QCOMPARE(p.PrintableWidth(), 198.0);
    QCOMPARE(p.PrintableHeight(), 284.0);
    QCOMPARE(p.GutterLeft(), 6.0);
    QCOMPARE(p.GutterRight(), 6.0);
    QCOMPARE(p.GutterBottom(), 7.0);
    QCOMPARE(p.Title(), QStringLiteral("<Unknown>"));
    QCOMPARE(p.LineHeight(), 10);
    p.SetTitle(QStringLiteral("ignored"));
    QCOMPARE(p.Title(), QStringLiteral("<Unknown>"));
    p.SetOrientation(QPageLayout::Landscape);
    QCOMPARE(p.Orientation(), QPageLayout::Portrait);
    p.SetMeasureUnit(muInches);
    QCOMPARE(p.PhysicalWidth(), 8.5);
    QCOMPARE(p.PrintableHeight(), 10.5);
    QCOMPARE(p.GutterTop(), 0.25);
    // The editor's margins, in dots at 600 per inch.
    p.SetMeasureUnit(muMillimeters);
    QCOMPARE(p.LeftOffset(), qRound((15 - 6) / 25.4 * 600));
    QCOMPARE(p.AreaWidth(), qRound(198 / 25.4 * 600) - 2 * qRound(9 / 25.4 * 600));
}

void tst_RichPrinter::marginsClampToPrinter_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("margin");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addRow("top below gutter") << true << "top" << 1.0 << 6.35;
    QTest::addRow("top beyond paper") << true << "top" << 500.0 << 279.4 - 6.35;
    QTest::addRow("left inside") << true << "left" << 40.0 << 40.0;
    QTest::addRow("right beyond paper") << true << "right" << 300.0 << 215.9 - 6.35;
    QTest::addRow("bottom below gutter") << true << "bottom" << -3.0 << 6.35;
    QTest::addRow("no printer: top below") << false << "top" << 0.0 << 6.0;
    QTest::addRow("no printer: top beyond") << false << "top" << 400.0 << 297.0 - 7.0;
    QTest::addRow("no printer: bottom below") << false << "bottom" << 0.0 << 7.0;
    QTest::addRow("no printer: left beyond") << false << "left" << 400.0 << 210.0 - 6.0;
}

void tst_RichPrinter::marginsClampToPrinter() {
    QFETCH(bool, installed);
    QFETCH(QString, margin);
    QFETCH(double, value);
    QFETCH(double, expected);
    Fixture f(600, installed);
    TRichPrinter &p = *f.rich;
    if (margin == QLatin1String("top")) {
        p.SetMarginTop(value);
        QCOMPARE(p.MarginTop(), expected);
    } else if (margin == QLatin1String("bottom")) {
        p.SetMarginBottom(value);
        QCOMPARE(p.MarginBottom(), expected);
    } else if (margin == QLatin1String("left")) {
        p.SetMarginLeft(value);
        QCOMPARE(p.MarginLeft(), expected);
    } else {
        p.SetMarginRight(value);
        QCOMPARE(p.MarginRight(), expected);
    }
}

void tst_RichPrinter::footerStandsRightInItsColumn_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pad");
    QTest::addRow("300 dpi") << 300 << 0;
    QTest::addRow("600 dpi") << 600 << 6;
    QTest::addRow("1200 dpi") << 1200 << 12;
}

void tst_RichPrinter::footerStandsRightInItsColumn() {
    QFETCH(int, dpi);
    QFETCH(int, pad);
    Fixture f(dpi);
    TRichPrinter &p = *f.rich;
    ScriptedText text = perPage(150, 100);
    p.PrintRichEdit(text);
    const QList<DrawnText> texts = f.printer->drawn().texts;
    // The header ("{$TITLE}" with no title) stays blank: only the two footers are drawn.
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0].text, QStringLiteral("Page 1"));
    QCOMPARE(texts[1].text, QStringLiteral("Page 2"));
    QCOMPARE(texts[1].page, 2);
    const int x = p.LeftOffset() + p.XDots(100) - f.width(QStringLiteral("Page 1")) - pad;
    QCOMPARE(qRound(texts[0].at.x()), x);
    // The footer line sits in the middle of the bottom margin band.
    const QFontMetrics metrics(p.Font_HeaderFooter(), &f.printer->device);
    const int top = p.TopOffset() + p.AreaHeight() + (p.BottomOffset() - p.LineHeight()) / 2;
    QCOMPARE(qRound(texts[0].at.y()), top + metrics.ascent());
}

void tst_RichPrinter::columnsFollowTheirFormat() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.SetFooter(QString());
    p.SetHeaderFormat(QStringLiteral("|>50|^x|<20"));
    p.SetHeader(QStringLiteral("abc|def|gh|ij|dropped"));
    ScriptedText empty = perPage(0, 1);
    p.PrintRichEdit(empty);
    const QList<DrawnText> texts = f.printer->drawn().texts;
    QCOMPARE(f.printer->drawn().textsOn(1),
             (QStringList{QStringLiteral("a"), QStringLiteral("def"), QStringLiteral("g"),
                          QStringLiteral("ij")}));
    const int left = p.LeftOffset();
    // The empty item is a column of width 0: its first character only, no move.
    QCOMPARE(qRound(texts[0].at.x()), left);
    QCOMPARE(qRound(texts[1].at.x()), left + p.XDots(50) - f.width(QStringLiteral("def")) - 6);
    // "^x" is no number: a centred column of the default width 0.
    QCOMPARE(qRound(texts[2].at.x()), left + p.XDots(50) + (0 - f.width(QStringLiteral("g"))) / 2);
    QCOMPARE(qRound(texts[3].at.x()), left + p.XDots(50) + 6);
    // A text wider than its column is cut to the longest prefix that fits.
    Fixture g;
    g.rich->SetFooter(QString());
    g.rich->SetHeaderFormat(QStringLiteral("<10"));
    const QString longText = QStringLiteral("A header much longer than ten millimetres");
    g.rich->SetHeader(longText);
    ScriptedText none = perPage(0, 1);
    g.rich->PrintRichEdit(none);
    const QString cut = g.printer->drawn().texts.value(0).text;
    QVERIFY(longText.startsWith(cut));
    QVERIFY(g.width(cut) <= g.rich->XDots(10));
    QVERIFY(g.width(longText.left(cut.size() + 1)) > g.rich->XDots(10));
}

void tst_RichPrinter::fieldsExpand() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)); });
    p.SetTitle(QStringLiteral("Report {$TITLE}"));
    QCOMPARE(p.ExpandFields(QStringLiteral("[{$TITLE}]")), QStringLiteral("[{$TITLE}]"));
    p.SetTitle(QStringLiteral("{$PAGE}"));
    // Text put in by a later placeholder is not expanded by an earlier one.
    QCOMPARE(p.ExpandFields(QStringLiteral("{$TITLE}/{$page}")), QStringLiteral("{$PAGE}/{$page}"));
    const QLocale locale = QLocale::system();
    QCOMPARE(p.ExpandFields(QStringLiteral("{$DATE} {$TIME}")),
             locale.toString(QDate(2026, 12, 11), QLocale::ShortFormat) + QLatin1Char(' ') +
                 locale.toString(QTime(9, 5, 7), QLocale::LongFormat));

    p.SetTitle(QString());
    p.SetHeader(QStringLiteral("{$PAGE}-{$PAGE}"));
    p.SetFooter(QString());
    p.BeginDocument();
    p.SetHeaderFormat(QStringLiteral("<50"));
    // Lines written by a caller count from 0 on each page.
    const auto writeLine = [&p] {
        QMetaObject::invokeMethod(&p, [&p] { p.WriteColumns(QStringLiteral("line {$LINE}")); });
    };
    writeLine();
    writeLine();
    QCOMPARE(p.LineNumber(), 2);
    p.EndDocument();
    QCOMPARE(
        f.printer->drawn().textsOn(1),
        (QStringList{QStringLiteral("1-1"), QStringLiteral("line 0"), QStringLiteral("line 1")}));
}

void tst_RichPrinter::unitChangeRewritesLengthsAndFormats() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.SetHeaderFormat(QStringLiteral("<50|^|>x"));
    p.SetLogoWidth(25.4);
    p.SetMeasureUnit(muInches);
    QCOMPARE(p.FooterFormat(), QStringLiteral(">   3.937"));
    QCOMPARE(p.HeaderFormat(), QStringLiteral("<   1.969|^|>x"));
    QCOMPARE(p.MarginLeft(), 15 / 25.4);
    QCOMPARE(p.LogoWidth(), 1.0);
    QCOMPARE(p.BorderOffset(), 2 / 25.4);
    p.SetMeasureUnit(muMillimeters);
    QCOMPARE(p.FooterFormat(), QStringLiteral("> 100.000"));
    QCOMPARE(p.MarginLeft(), 15.0);
    // The rewritten format still puts the footer where it was.
    ScriptedText empty = perPage(0, 1);
    p.PrintRichEdit(empty);
    const int x = p.LeftOffset() + p.XDots(100) - f.width(QStringLiteral("Page 1")) - 6;
    QCOMPARE(qRound(f.printer->drawn().texts.value(0).at.x()), x);
}

void tst_RichPrinter::pageLoopExits_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QList<int>>("drawnFrom");
    QTest::addRow("empty document") << 0 << 100 << 1 << QList<int>{0};
    QTest::addRow("three pages") << 250 << 100 << 3 << QList<int>{0, 100, 200};
    QTest::addRow("final paragraph mark alone") << 101 << 100 << 1 << QList<int>{0};
    QTest::addRow("two characters left") << 102 << 100 << 2 << QList<int>{0, 100};
    QTest::addRow("no progress") << 500 << 0 << 1 << QList<int>{0};
}

void tst_RichPrinter::pageLoopExits() {
    QFETCH(int, length);
    QFETCH(int, perPage);
    QFETCH(int, pages);
    QFETCH(QList<int>, drawnFrom);
    Fixture f;
    f.rich->SetPageBorders(pbTop | pbBottom | pbLeft | pbRight);
    ScriptedText text = ::perPage(length, perPage);
    f.rich->PrintRichEdit(text);
    QCOMPARE(f.printer->pages, pages);
    QCOMPARE(text.drawnFrom, drawnFrom);
    QCOMPARE(text.releases, 2);
    QCOMPARE(f.rich->PageNumber(), pages);
    // Every page has its frame: the footer and the four borders.
    QCOMPARE(f.printer->drawn().textsOn(pages), QStringList{QStringLiteral("Page %1").arg(pages)});
    QCOMPARE(f.printer->drawn().lines.size(), 4 * pages);
    QVERIFY(!f.printer->isPrinting());
}

void tst_RichPrinter::bordersAndLogo() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.SetPageBorders(pbTop | pbBottom | pbLeft | pbRight);
    QImage logo(10, 10, QImage::Format_RGB32);
    logo.fill(Qt::red);
    p.SetBitmapLogo(logo);
    ScriptedText empty = perPage(0, 1);
    p.PrintRichEdit(empty);
    const int l = p.LeftOffset();
    const int t = p.TopOffset();
    const int w = p.AreaWidth();
    const int h = p.AreaHeight();
    const int b = p.YDots(2);
    const QList<DrawnLine> lines = f.printer->drawn().lines;
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0].line, QLineF(l - b, t - b, l + w + b, t - b));
    QCOMPARE(lines[1].line, QLineF(l - b, t + h + 2 * b, l + w + b, t + h + 2 * b));
    QCOMPARE(lines[2].line, QLineF(l - b, t - b, l - b, t + h + 2 * b));
    QCOMPARE(lines[3].line, QLineF(l + w + b, t - b, l + w + b, t + h + 2 * b));
    // The logo lies just under the header line, scaled from the paper to the text body.
    const QList<QRectF> images = f.printer->drawn().images;
    QCOMPARE(images.size(), 1);
    const int y0 = (t - p.LineHeight()) / 2 + p.LineHeight();
    QCOMPARE(images[0].toRect(),
             QRect(l, y0, qRound(25 / p.PhysicalWidth() * w), qRound(20 / p.PhysicalHeight() * h)));
}

void tst_RichPrinter::refusedWhilePrinting() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.BeginDocument();
    QCOMPARE(failureOf([&] { p.SetMarginTop(20); }),
             QStringLiteral("Unable to change top margin while printing"));
    QCOMPARE(failureOf([&] { p.SetMarginBottom(20); }),
             QStringLiteral("Unable to change bottom margin while printing"));
    QCOMPARE(failureOf([&] { p.SetMarginLeft(20); }),
             QStringLiteral("Unable to change left margin while printing"));
    QCOMPARE(failureOf([&] { p.SetMarginRight(20); }),
             QStringLiteral("Unable to change right margin while printing"));
    QCOMPARE(failureOf([&] { p.SetOrientation(QPageLayout::Landscape); }),
             QStringLiteral("Unable to change orientation while printing"));
    QCOMPARE(failureOf([&] { p.SetTitle(QStringLiteral("x")); }),
             QStringLiteral("Unable to change title while printing"));
    QCOMPARE(p.MarginTop(), 15.0);
    p.RecheckMeasurements();
    p.EndDocument();
    p.SetMarginTop(20);
    QCOMPARE(p.MarginTop(), 20.0);
}

void tst_RichPrinter::jobFailuresEndTheJob_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("endDocs");
    QTest::addRow("start") << "begin"
                           << "Not be able to start the printing." << 1;
    QTest::addRow("output at start") << "output"
                                     << "/x/out.pdf: Permission denied" << 1;
    QTest::addRow("new page") << "page"
                              << "Not be able to print a new page." << 1;
    QTest::addRow("output at end") << "endOutput"
                                   << "Not be able to print to a file." << 1;
    QTest::addRow("end") << "end"
                         << "Not be able to end the printing." << 1;
}

void tst_RichPrinter::jobFailuresEndTheJob() {
    QFETCH(QString, failure);
    QFETCH(QString, text);
    QFETCH(int, endDocs);
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.SetShowProgress(true);
    if (failure == QLatin1String("begin")) {
        f.printer->failBegin = true;
    } else if (failure == QLatin1String("output")) {
        f.printer->failBegin = true;
        f.printer->outputError = text;
    } else if (failure == QLatin1String("page")) {
        f.printer->failPage = 3;
    } else if (failure == QLatin1String("endOutput")) {
        f.printer->endStatus = PrinterDevice::Status::OutputFailed;
    } else {
        f.printer->endStatus = PrinterDevice::Status::PrinterFailed;
    }
    int begins = 0;
    int ends = 0;
    connect(&p, &TRichPrinter::OnBeginDoc, this, [&begins] { ++begins; });
    connect(&p, &TRichPrinter::OnEndDoc, this, [&ends] { ++ends; });
    ScriptedText text4 = perPage(400, 100);
    QCOMPARE(failureOf([&] { p.PrintRichEdit(text4); }), text);
    QCOMPARE(begins, 1);
    QCOMPARE(ends, endDocs);
    QVERIFY(!f.printer->isPrinting());
    QVERIFY(!p.ProgressWindow());
    QVERIFY(!p.Previewing());
    if (failure == QLatin1String("page"))
        QCOMPARE(text4.releases, 2);
    // The component is usable again.
    f.printer->failBegin = false;
    f.printer->failPage = 0;
    f.printer->endStatus = PrinterDevice::Status::Ok;
    ScriptedText again = perPage(150, 100);
    p.PrintRichEdit(again);
    QCOMPARE(f.printer->pages, 2);
}

void tst_RichPrinter::everyJobHasItsOwnProgressWindow() {
    Fixture f;
    TRichPrinter &p = *f.rich;
    p.SetShowProgress(true);
    p.SetTitle(QStringLiteral("Letter"));
    QList<QPointer<TRichPrntProgDlg>> windows;
    QStringList seen;
    connect(&p, &TRichPrinter::OnNewPage, this, [&] {
        TRichPrntProgDlg *window = p.ProgressWindow();
        QVERIFY(window);
        if (windows.isEmpty() || windows.last() != window)
            windows << window;
        seen << window->windowTitle() + QLatin1Char('/') + window->lblStatus->text() +
                    QLatin1Char('/') + window->lblTitle->text() + QLatin1Char('/') +
                    window->lblPageNumber->text();
        QVERIFY(window->isVisible());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    });
    ScriptedText first = perPage(150, 100);
    p.PrintRichEdit(first);
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0].isNull());
    ScriptedText second = perPage(50, 100);
    p.PrintRichEdit(second);
    QCOMPARE(windows.size(), 2);
    QVERIFY(windows[1].isNull());
    QCOMPARE(seen, (QStringList{QStringLiteral("Print Progress/Currently Printing/Letter/1"),
                                QStringLiteral("Print Progress/Currently Printing/Letter/2"),
                                QStringLiteral("Print Progress/Currently Printing/Letter/1")}));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TRichPrntProgDlg *>(widget));
}

void tst_RichPrinter::settingsRoundTrip() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("user.reg")), SettingsStore::Access::ReadWrite);
    Fixture f(600, true, &store);
    TRichPrinter &p = *f.rich;
    p.SetMarginLeft(21.5);
    p.SetOrientation(QPageLayout::Landscape);
    p.SaveSettings();
    const QString marges = QStringLiteral("RichPrint.Settings\\Marges");
    QCOMPARE(store.valueType(marges, QStringLiteral("MarginLeft")),
             std::optional(RegistryValue::Type::Binary));
    QCOMPARE(store.readBinary(marges, QStringLiteral("MarginLeft")).toHex(),
             QByteArray("0000000000803540"));
    QCOMPARE(store.readString(marges, QStringLiteral("CodeMeasurement")), QStringLiteral("1"));
    QCOMPARE(store.readString(marges, QStringLiteral("CodeDirection")), QStringLiteral("0"));

    Fixture g(600, true, &store);
    g.rich->SetSaveMargins(true);
    ScriptedText empty = perPage(0, 1);
    g.rich->PrintRichEdit(empty);
    QCOMPARE(g.rich->MarginLeft(), 21.5);
    QCOMPARE(g.rich->MarginTop(), 15.0);
    QCOMPARE(g.rich->Orientation(), QPageLayout::Landscape);
}

void tst_RichPrinter::settingsOddValues() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("user.reg")), SettingsStore::Access::ReadWrite);
    const QString marges = QStringLiteral("RichPrint.Settings\\Marges");
    store.createKey(marges);
    store.writeString(marges, QStringLiteral("CodeMeasurement"), QStringLiteral("mm"));
    store.writeString(marges, QStringLiteral("CodeDirection"), QStringLiteral("0"));
    Fixture f(600, true, &store);
    TRichPrinter &p = *f.rich;
    p.SetMeasureUnit(muInches);
    p.LoadSettings();
    // A code that is no number counts as 1: millimetres.
    QCOMPARE(p.MeasureUnit(), muMillimeters);
    QCOMPARE(p.Orientation(), QPageLayout::Landscape);
    // A margin of the wrong type stops the job before it starts.
    store.writeString(marges, QStringLiteral("MarginTop"), QStringLiteral("15"));
    p.SetSaveMargins(true);
    ScriptedText empty = perPage(0, 1);
    try {
        p.PrintRichEdit(empty);
        QFAIL("the job ran");
    } catch (const StoreError &error) {
        QCOMPARE(error.text(), QStringLiteral("Invalid data type for 'MarginTop'"));
    }
    QCOMPARE(f.printer->jobs, 0);
    QVERIFY(!p.ProgressWindow());
}

void tst_RichPrinter::previewStoresCompressSetting() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("user.reg")), SettingsStore::Access::ReadWrite);
    Fixture f(600, true, &store);
    TRichPrinter &p = *f.rich;
    RecordingPreview preview;
    ScriptedText text = perPage(250, 100);
    p.PreviewRichEdit(text, preview);
    QCOMPARE(preview.pages, 3);
    QVERIFY(!preview.abandoned);
    QVERIFY(!p.Previewing());
    QCOMPARE(f.printer->jobs, 0);
    const QString compress = QStringLiteral("RichPrint.Settings\\Compress");
    QCOMPARE(store.readString(compress, QStringLiteral("CompressPreview")), QStringLiteral("1"));
    QVERIFY(!store.keyExists(QStringLiteral("RichPrint.Settings\\Marges")));
    p.SetCompressPreview(false);
    RecordingPreview again;
    p.PreviewRichEdit(text, again);
    QCOMPARE(store.readString(compress, QStringLiteral("CompressPreview")), QStringLiteral("0"));
}

QUILLET_TEST_MAIN(tst_RichPrinter)
#include "tst_richprinter.moc"
