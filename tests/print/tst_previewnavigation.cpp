#include "print/previewnavigation.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

using Pages = QList<int>;

class TestPreviewNavigation : public QObject {
    Q_OBJECT

private slots:
    void navigates_data() {
        QTest::addColumn<int>("lastPage");
        QTest::addColumn<bool>("twoWindows");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("action"); // next, previous, home, end, or a typed page "=p"
        QTest::addColumn<int>("current");
        QTest::addColumn<Pages>("preview");
        QTest::addColumn<Pages>("companion");
        QTest::addColumn<bool>("canPrevious");
        QTest::addColumn<bool>("canNext");
        QTest::addColumn<QString>("box"); // what the page box is reset to, "" when left alone

        QTest::newRow("one page") << 0 << false << false << 0 << "home" << 0 << Pages{0} << Pages{}
                                  << false << false << "";
        QTest::newRow("three pages, two windows, first view")
            << 2 << true << false << 0 << "home" << 0 << Pages{0} << Pages{1} << false << true
            << "";
        QTest::newRow("three pages, two windows, next clears companion")
            << 2 << true << false << 0 << "next" << 2 << Pages{2} << Pages{} << true << false << "";
        QTest::newRow("two pages, two windows: no page buttons")
            << 1 << true << false << 0 << "home" << 0 << Pages{0} << Pages{1} << false << false
            << "";
        QTest::newRow("one window next stops at last")
            << 2 << false << false << 2 << "next" << 2 << Pages{2} << Pages{} << true << false
            << "";
        QTest::newRow("previous from beyond the end") << 4 << true << false << 6 << "previous" << 2
                                                      << Pages{2} << Pages{3} << true << true << "";
        QTest::newRow("previous not below 0")
            << 4 << false << true << 2 << "previous" << 0 << Pages{0, 1, 2, 3} << Pages{} << false
            << true << "";
        QTest::newRow("four pages compact: one view")
            << 3 << false << true << 0 << "home" << 0 << Pages{0, 1, 2, 3} << Pages{} << false
            << false << "";
        QTest::newRow("five pages compact: second view one page")
            << 4 << false << true << 0 << "next" << 4 << Pages{4} << Pages{} << true << false << "";
        QTest::newRow("compact two windows view of eight")
            << 9 << true << true << 0 << "home" << 0 << Pages{0, 1, 2, 3} << Pages{4, 5, 6, 7}
            << false << true << "";
        QTest::newRow("end, one window")
            << 6 << false << false << 0 << "end" << 6 << Pages{6} << Pages{} << true << false << "";
        QTest::newRow("end, two windows")
            << 6 << true << false << 0 << "end" << 6 << Pages{6} << Pages{} << true << false << "";
        QTest::newRow("end, two windows, odd last")
            << 7 << true << false << 0 << "end" << 6 << Pages{6} << Pages{7} << true << false << "";
        QTest::newRow("end, compact") << 9 << false << true << 0 << "end" << 8 << Pages{8, 9}
                                      << Pages{} << true << false << "";
        QTest::newRow("end, compact two windows") << 9 << true << true << 0 << "end" << 8
                                                  << Pages{8, 9} << Pages{} << true << false << "";
        QTest::newRow("typed, one window")
            << 6 << false << false << 0 << "=4" << 3 << Pages{3} << Pages{} << true << true << "";
        QTest::newRow("typed even, two windows")
            << 6 << true << false << 0 << "=4" << 2 << Pages{2} << Pages{3} << true << true << "";
        QTest::newRow("typed odd, two windows")
            << 6 << true << false << 0 << "=5" << 4 << Pages{4} << Pages{5} << true << true << "";
        QTest::newRow("typed beyond the end")
            << 6 << false << false << 3 << "=8" << 0 << Pages{0} << Pages{} << false << true << "";
        QTest::newRow("typed zero")
            << 6 << false << false << 3 << "=0" << 0 << Pages{0} << Pages{} << false << true << "";
        QTest::newRow("typed text")
            << 6 << false << false << 3 << "=x" << 0 << Pages{0} << Pages{} << false << true << "";
        QTest::newRow("typed, compact one window: box reset")
            << 9 << false << true << 4 << "=7" << 4 << Pages{4, 5, 6, 7} << Pages{} << true << true
            << "1";
        QTest::newRow("typed, compact two windows: the view holding it")
            << 20 << true << true << 0 << "=12" << 8 << Pages{8, 9, 10, 11} << Pages{12, 13, 14, 15}
            << true << true << "9";
        QTest::newRow("typed, compact two windows: page 5 stays in the first view")
            << 20 << true << true << 8 << "=5" << 0 << Pages{0, 1, 2, 3} << Pages{4, 5, 6, 7}
            << false << true << "1";
    }
    void navigates() {
        QFETCH(int, lastPage);
        QFETCH(bool, twoWindows);
        QFETCH(bool, compact);
        QFETCH(int, start);
        QFETCH(QString, action);
        PreviewNavigation nav;
        nav.setLastPage(lastPage);
        nav.setTwoWindows(twoWindows);
        nav.setCompactMode(compact);
        nav.setCurrentPage(start);
        std::optional<QString> box;
        if (action == QLatin1String("next"))
            nav.next();
        else if (action == QLatin1String("previous"))
            nav.previous();
        else if (action == QLatin1String("home"))
            nav.home();
        else if (action == QLatin1String("end"))
            nav.end();
        else
            box = nav.typePage(action.mid(1));
        QTEST(nav.currentPage(), "current");
        QTEST(nav.previewPages(), "preview");
        QTEST(nav.companionPages(), "companion");
        QTEST(nav.canPrevious(), "canPrevious");
        QTEST(nav.canNext(), "canNext");
        QTEST(box.value_or(QString()), "box");
    }

    void onePageDocumentBrowsesAlone() {
        PreviewNavigation nav;
        QVERIFY(nav.pageBoxReadOnly());
        QVERIFY(!nav.compactVisible());
        QVERIFY(!nav.companionWanted());
        nav.setLastPage(1);
        QVERIFY(!nav.pageBoxReadOnly());
        QVERIFY(nav.compactVisible());
        QVERIFY(nav.companionWanted());
    }

    void companionOnlyWhenScreenHoldsBoth() {
        QCOMPARE(PreviewNavigation::pairLeft(1920, 700), std::optional<int>(260));
        QCOMPARE(PreviewNavigation::pairLeft(1400, 700), std::optional<int>(0));
        QCOMPARE(PreviewNavigation::pairLeft(1300, 700), std::nullopt);
    }

    void printSheets_data() {
        QTest::addColumn<int>("lastPage");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<int>("sheets");
        QTest::addColumn<Pages>("lastSheet");
        QTest::newRow("pages") << 4 << false << 5 << Pages{4};
        QTest::newRow("four pages compact") << 3 << true << 1 << Pages{0, 1, 2, 3};
        QTest::newRow("five pages compact") << 4 << true << 2 << Pages{4};
    }
    void printSheets() {
        QFETCH(int, lastPage);
        QFETCH(bool, compact);
        QFETCH(int, sheets);
        PreviewNavigation nav;
        nav.setLastPage(lastPage);
        nav.setCompactMode(compact);
        QCOMPARE(nav.printSheets(), sheets);
        QTEST(nav.sheetPages(sheets), "lastSheet");
    }

    void zoom() {
        PreviewNavigation nav;
        QVERIFY(!nav.smallerEnabled());
        nav.larger();
        QCOMPARE(nav.zoomFactor(), 1.25);
        QVERIFY(nav.smallerEnabled());
        nav.setZoomStepText(QStringLiteral("1.000"));
        nav.smaller();
        QCOMPARE(nav.zoomFactor(), 1.0); // never below 1
        QVERIFY(!nav.smallerEnabled());
        nav.setZoomStepText(QStringLiteral("0.000"));
        nav.larger();
        QCOMPARE(nav.zoomFactor(), 1.0); // a zero step leaves it
        nav.setZoomStepText(QStringLiteral(" .   "));
        QCOMPARE(nav.zoomStep(), 0.1);
        QCOMPARE(PreviewNavigation::zoomText(1.25), QStringLiteral("1.250"));
        QCOMPARE(PreviewNavigation::pageText(7), QStringLiteral("   7"));
    }
};

QUILLET_TEST_MAIN(TestPreviewNavigation)
#include "tst_previewnavigation.moc"
