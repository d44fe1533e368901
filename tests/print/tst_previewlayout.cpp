#include "print/previewlayout.h"
#include "print/previewruler.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

class TestPreviewLayout : public QObject {
    Q_OBJECT

private slots:
    void fitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("image");
        QTest::addColumn<QRect>("panel");
        QTest::addColumn<bool>("zoomShown");

        const double letter = 279.4 / 215.9;
        QTest::newRow("letter, portrait")
            << QSize(1280, 1024) << letter << QSize(662, 973) << QRect(25, 25, 623, 840)
            << QRect(0, 868, 645, 78) << true;
        QTest::newRow("letter, landscape")
            << QSize(1280, 1024) << 1 / letter << QSize(1109, 973) << QRect(29, 25, 1061, 840)
            << QRect(0, 868, 1083, 78) << true;
        // Too wide for the screen: the height shrinks with the width.
        QTest::newRow("landscape on a narrow screen")
            << QSize(640, 1024) << 1 / letter << QSize(640, 561) << QRect(24, 21, 601, 436)
            << QRect(0, 460, 623, 74) << true;
        QTest::newRow("narrow page: no zoom controls")
            << QSize(1280, 1024) << 2.0 << QSize(429, 973) << QRect(22, 25, 395, 840)
            << QRect(0, 868, 417, 78) << false;
        // So narrow that the window is widened for the buttons.
        QTest::newRow("very narrow page: widened")
            << QSize(1280, 1024) << 3.0 << QSize(322, 973) << QRect(21, 25, 290, 840)
            << QRect(0, 868, 312, 78) << false;
        QTest::newRow("aspect unknown")
            << QSize(1280, 1024) << 0.0 << QSize(606, 973) << QRect(24, 25, 568, 840)
            << QRect(0, 868, 590, 78) << true;
        QTest::newRow("A4 on a wide screen")
            << QSize(1920, 1080) << 297 / 210.0 << QSize(644, 1026) << QRect(24, 26, 605, 892)
            << QRect(0, 921, 627, 78) << true;
    }

    void fitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(double, aspect);
        const PreviewLayout layout = PreviewLayout::forScreen(screen, aspect);
        QTEST(layout.window, "window");
        QCOMPARE(layout.client, layout.window - QSize(8, 27));
        QTEST(layout.image, "image");
        QTEST(layout.panel, "panel");
        QCOMPARE(layout.panel.bottom() + 1, layout.client.height());
        QCOMPARE(layout.pageBox, QPoint(79, 4));
        QTEST(layout.zoomShown, "zoomShown");
    }

    void rulerTicks_data() {
        QTest::addColumn<double>("paperUnits");
        QTest::addColumn<bool>("inch");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QString>("labels");

        // Millimetres: a tick every centimetre, a value every second one, one tick past the end.
        QTest::newRow("letter height, mm") << 279.4 << false << 840 << 29 << 30
                                           << "20 40 60 80 100 120 140 160 180 200 220 240 260 280";
        QTest::newRow("letter width, mm")
            << 215.9 << false << 623 << 23 << 29 << "20 40 60 80 100 120 140 160 180 200 220";
        // Inches: every tick has its value.
        QTest::newRow("letter height, inch")
            << 11.0 << true << 840 << 13 << 76 << "1 2 3 4 5 6 7 8 9 10 11 12";
        QTest::newRow("letter width, inch")
            << 8.5 << true << 623 << 10 << 73 << "1 2 3 4 5 6 7 8 9";
        // Shorter than one step: a single step as long as the paper.
        QTest::newRow("5 mm of paper") << 5.0 << false << 100 << 3 << 100 << "10";
        QTest::newRow("no paper") << 0.0 << false << 840 << 0 << 0 << "";
        QTest::newRow("no image") << 279.4 << false << 0 << 0 << 0 << "";
    }

    void rulerTicks() {
        QFETCH(double, paperUnits);
        QFETCH(bool, inch);
        QFETCH(int, length);
        QFETCH(int, count);
        QFETCH(int, spacing);
        const QList<PreviewRuler::Tick> ticks = PreviewRuler::ticks(paperUnits, inch, length);
        QCOMPARE(ticks.size(), count);
        QStringList labels;
        for (int i = 0; i < ticks.size(); ++i) {
            QCOMPARE(ticks.at(i).offset, i * spacing);
            if (!ticks.at(i).label.isEmpty())
                labels << ticks.at(i).label;
        }
        QTEST(labels.join(QLatin1Char(' ')), "labels");
    }

    void rulerBandsBesideTheBox() {
        const QRect box(25, 25, 623, 840);
        QCOMPARE(PreviewRuler::verticalBand(box, box.size()), QRect(0, 25, 22, 847));
        QCOMPARE(PreviewRuler::horizontalBand(box, box.size()), QRect(25, 0, 630, 22));
        // A zoomed image is longer than the box: the bands stay beside the box.
        QCOMPARE(PreviewRuler::verticalBand(box, box.size() * 2), QRect(0, 25, 22, 847));
    }
};

QUILLET_TEST_MAIN(TestPreviewLayout)
#include "tst_previewlayout.moc"
