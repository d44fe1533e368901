#include "print/documentprintable.h"
#include "print/elineprinter.h"
#include "print/previewpageframe.h"
#include "print/richprinter.h"
#include "print/trichpreviewform.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/tarrowbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

const QSize Paper(850, 1100);

// Plays the print engine: `pages` pages, each with its number written on it.
void format(TRichPreviewForm &form, int pages, double widthUnits = 215.9) {
    form.paperKnown(Paper, widthUnits, 279.4, false);
    for (int i = 0; i < pages; ++i) {
        QPainter *painter = form.startPage(Paper, nullptr, QFont());
        QVERIFY(painter);
        painter->drawText(100, 100, QString::number(i + 1));
        form.finishPage();
    }
}

// The rows of an image that hold ink, as bands of consecutive rows (top, bottom), and the
// leftmost and rightmost inked column between two rows.
QList<std::pair<int, int>> inkBands(const QImage &image) {
    QList<std::pair<int, int>> bands;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 160;
        if (ink && !bands.isEmpty() && bands.last().second == y - 1)
            bands.last().second = y;
        else if (ink)
            bands.append({y, y});
    }
    return bands;
}

std::pair<int, int> inkColumns(const QImage &image, int top, int bottom) {
    int left = image.width();
    int right = -1;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

class TestRichPreviewForm : public QObject {
    Q_OBJECT

private slots:
    void formatsThenBrowses() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        QPointer<TRichPreviewForm> form =
            new TRichPreviewForm(prompts, true, 1.3, nullptr, work.path());
        form->show();
        QCOMPARE(form->windowTitle(), QStringLiteral("Print Preview (Formatting)"));
        format(*form, 3);
        QCOMPARE(form->Edit1->text(), QStringLiteral("   3")); // the page just saved
        QCOMPARE(form->pageCount(), 3);
        QVERIFY(QFile::exists(QDir(work.path()).filePath(QStringLiteral("PreviewMetafile2.CPR"))));

        form->enterBrowsing();
        QCOMPARE(form->windowTitle(), QStringLiteral("Print Preview"));
        QCOMPARE(form->Label10->text(), QStringLiteral("(3)"));
        QCOMPARE(form->Edit1->text(), QStringLiteral("   1"));
        QVERIFY(!form->Edit1->isReadOnly());
        QVERIFY(!form->ArrowButton1->isEnabled());
        QVERIFY(form->ArrowButton2->isEnabled());
        QVERIFY(!form->Image1->pixmap().isNull());

        const int step = form->navigation().viewSize();
        QTest::keyClick(form, Qt::Key_PageUp);
        QCOMPARE(form->navigation().currentPage(), step);
        QVERIFY(form->ArrowButton1->isEnabled());
        QTest::keyClick(form, Qt::Key_Home);
        QCOMPARE(form->navigation().currentPage(), 0);
        QTest::keyClick(form, Qt::Key_End);
        QCOMPARE(form->navigation().currentPage(), 2);

        QTest::keyClick(form, Qt::Key_L);
        QCOMPARE(form->Label7->text(), QStringLiteral("1.250"));
        QVERIFY(form->SmallerButton->isEnabled());
        QVERIFY(form->Image1->width() > form->ScrollBox1->viewport()->width());
        QTest::keyClick(form, Qt::Key_S);
        QCOMPARE(form->Label7->text(), QStringLiteral("1.000"));
        QVERIFY(!form->SmallerButton->isEnabled());

        form->CloseButton->click();
        QTRY_VERIFY(form.isNull());
        QVERIFY(QDir(work.path()).entryList(QDir::Files).isEmpty());
    }

    // The window and its parts stand where the layout rule puts them; the rulers come with
    // browsing, on both windows, beside the scroll box; the companion stands to the right.
    void placesPartsAndRulers() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const PreviewLayout layout = PreviewLayout::forScreen(area.size(), 1.3);
        QCOMPARE(form.size(), layout.client);
        QCOMPARE(form.ScrollBox1->geometry(), layout.image);
        QCOMPARE(form.Image1->size(), layout.image.size());
        QCOMPARE(form.Panel1->geometry(), layout.panel);
        QCOMPARE(form.Edit1->pos(), layout.pageBox);
        QCOMPARE(form.MaskEdit1->isVisibleTo(&form), layout.zoomShown);
        QCOMPARE(form.Label7->isVisibleTo(&form), layout.zoomShown);
        form.show();
        format(form, 3);
        QCOMPARE(form.UnitLabel->text(), QStringLiteral("mm"));
        QVERIFY(!form.Frame->rulersShown()); // still formatting

        form.enterBrowsing();
        QVERIFY(form.Frame->rulersShown());
        QCOMPARE(form.Frame->verticalRuler(),
                 QRect(0, layout.image.top(), 22, layout.image.height() + 7));
        QCOMPARE(form.Frame->horizontalRuler(),
                 QRect(layout.image.left(), 0, layout.image.width() + 7, 22));

        const std::optional<int> left =
            PreviewNavigation::pairLeft(area.width(), layout.window.width());
        QCOMPARE(bool(form.companion()), bool(left));
        if (!left)
            QSKIP("The screen is too narrow for the two windows");
        TPreview2 *companion = form.companion();
        QCOMPARE(form.x(), area.left() + *left);
        QCOMPARE(companion->x(), form.x() + form.frameGeometry().width());
        QCOMPARE(companion->size(), form.size());
        QCOMPARE(companion->ScrollBox1->geometry(), layout.image);
        QVERIFY(companion->Frame->rulersShown());
        QCOMPARE(companion->UnitLabel->text(), QStringLiteral("mm"));
        QCOMPARE(companion->Label2->text(), QStringLiteral("   2"));
        QTest::keyClick(&form, Qt::Key_PageUp);
        QVERIFY(companion->Label2->isHidden());
        QVERIFY(companion->Image1->pixmap().isNull());
    }

    // A page rendered by the print component shows as on paper: the text between the margins,
    // the header line in its own size beside the body's lines.
    void pageImageMatchesThePaper() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPrinter printer;
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
        QString text;
        for (int i = 1; i <= 40; ++i)
            text += QStringLiteral("Paragraph %1: the quick brown fox jumps over the lazy dog and "
                                   "runs away again, the lazy dog sleeps on.\n")
                        .arg(i);
        document.setPlainText(text);
        DocumentPrintable printable(document);
        TRichPreviewForm form(prompts, true, printer.PhysicalHeight() / printer.PhysicalWidth(),
                              nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        printer.PreviewRichEdit(printable, form);
        QVERIFY(form.pageCount() > 1);
        form.enterBrowsing();

        const QImage image = form.Image1->pixmap().toImage();
        const QList<std::pair<int, int>> bands = inkBands(image);
        QVERIFY2(bands.size() > 10, qPrintable(QString::number(bands.size())));
        const double perUnit = image.width() / printer.PhysicalWidth();
        const auto [left, right] = inkColumns(image, bands.at(1).first, bands.at(8).second);
        QVERIFY2(qAbs(left - printer.MarginLeft() * perUnit) <= 3,
                 qPrintable(QStringLiteral("text starts at %1").arg(left)));
        QVERIFY2(right <= (printer.PhysicalWidth() - printer.MarginRight()) * perUnit + 2,
                 qPrintable(QStringLiteral("text ends at %1").arg(right)));
        // The header line lies in the top margin, in a size near the body's.
        QVERIFY2(bands.first().second <
                     printer.MarginTop() * image.height() / printer.PhysicalHeight(),
                 qPrintable(QStringLiteral("first ink at %1").arg(bands.first().first)));
        const int header = bands.first().second - bands.first().first + 1;
        const int line = bands.at(1).second - bands.at(1).first + 1;
        QVERIFY2(header * 3 > line, qPrintable(QStringLiteral("%1 / %2").arg(header).arg(line)));
    }

    void noRulersWithoutPaperWidth() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        format(form, 1, 0.0);
        form.enterBrowsing();
        QVERIFY(!form.Frame->rulersShown());
    }

    void onePageBrowsesAlone() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        form.show();
        format(form, 1);
        form.enterBrowsing();
        QVERIFY(form.Edit1->isReadOnly());
        QVERIFY(form.CompactBox->isHidden());
        QVERIFY(!form.companion());
        QVERIFY(!form.ArrowButton2->isEnabled());
    }

    void pageFileThatCannotBeCreated() {
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("PreviewMetafile0")));
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        form.paperKnown(Paper, 215.9, 279.4, false);
        QVERIFY(form.startPage(Paper, nullptr, QFont()));
        QVERIFY_THROWS_EXCEPTION(ELinePrinter, form.finishPage());
        QCOMPARE(prompts.texts(),
                 QStringList{QStringLiteral("Can not save the page information (MetaFiles)")});
        QCOMPARE(form.pageCount(), 0);
    }

    // Five pages: the dialog offers pages 1-5, or sheets 1-2 when compact; one job per page or
    // sheet chosen; a cancelled dialog prints nothing.
    void printsFromTheDialog_data() {
        QTest::addColumn<bool>("compact");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("jobs");

        QTest::newRow("all pages") << false << true << 0 << 0 << 5 << 5;
        QTest::newRow("a page range") << false << true << 2 << 3 << 5 << 2;
        QTest::newRow("compact, all sheets") << true << true << 0 << 0 << 2 << 2;
        QTest::newRow("compact, second sheet") << true << true << 2 << 2 << 2 << 1;
        QTest::newRow("cancelled") << false << false << 0 << 0 << 5 << 0;
    }

    void printsFromTheDialog() {
        QFETCH(bool, compact);
        QFETCH(bool, accepted);
        QFETCH(int, from);
        QFETCH(int, to);
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, true, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        format(form, 5);
        form.enterBrowsing();
        form.CompactBox->setChecked(compact);
        QTest::keyClick(&form, Qt::Key_PageUp);
        const int shown = form.navigation().currentPage();
        const QString pdf = work.filePath(QStringLiteral("out.pdf"));
        prompts.answerPrint(accepted, from, to, pdf);
        QTEST(form.printFromPreview(), "jobs");
        QCOMPARE(prompts.records().size(), 1);
        QCOMPARE(prompts.records().first().minPage, 1);
        QTEST(prompts.records().first().maxPage, "limit");
        QCOMPARE(QFileInfo(pdf).size() > 0, accepted);
        QCOMPARE(form.navigation().currentPage(), shown);
    }

    void arrowButtonClicksOnlyInsideTriangle() {
        TArrowButton button;
        button.resize(33, 33);
        button.show();
        int clicks = 0;
        connect(&button, &TArrowButton::clicked, [&clicks] { ++clicks; });
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(2, 2)); // corner, outside
        QCOMPARE(clicks, 0);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(16, 20));
        QCOMPARE(clicks, 1);
        QCOMPARE(button.outerTriangle(), QPolygon({QPoint(16, 3), QPoint(30, 30), QPoint(3, 30)}));
        button.setDirection(arwLEFT);
        QCOMPARE(button.innerTriangle(), QPolygon({QPoint(28, 6), QPoint(28, 28), QPoint(6, 16)}));
    }
};

// Headless, the screen is made wide enough for the preview and its companion side by side.
int main(int argc, char *argv[]) {
    const QString root = TestEnvironment::isolate();
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile config(root + QStringLiteral("/screens.json"));
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0,
                "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestRichPreviewForm tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_richpreviewform.moc"
