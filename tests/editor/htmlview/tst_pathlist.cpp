#include "editor/htmlview/pathlist.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

// The path list behind Last and Next and its wrap rules.
class tst_PathList : public QObject {
    Q_OBJECT

private slots:
    void rebuildsFromEveryEntry() {
        PathList list;
        list.rebuild(QStringLiteral("/pics/"), {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
        QCOMPARE(list.paths(),
                 (QStringList{QStringLiteral("/pics/a.jpg"), QStringLiteral("/pics/b.jpg")}));
        list.rebuild(QStringLiteral("/other/"), {QStringLiteral("c.gif")});
        QCOMPARE(list.paths(), QStringList{QStringLiteral("/other/c.gif")});
        list.clear();
        QVERIFY(list.isEmpty());
    }

    void steps_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("last");
        // The folder holds a.jpg, b.jpg and c.jpg in this order; every one of them is reachable.
        QTest::addRow("from the first") << "/p/a.jpg"
                                        << "/p/b.jpg"
                                        << "/p/c.jpg";
        QTest::addRow("from the middle") << "/p/b.jpg"
                                         << "/p/c.jpg"
                                         << "/p/a.jpg";
        QTest::addRow("from the last") << "/p/c.jpg"
                                       << "/p/a.jpg"
                                       << "/p/b.jpg";
        QTest::addRow("not in the list") << "/q/z.jpg"
                                         << "/p/a.jpg"
                                         << "/p/c.jpg";
        QTest::addRow("untitled") << "Untitled"
                                  << "/p/a.jpg"
                                  << "/p/c.jpg";
        QTest::addRow("other letter case") << "/P/B.JPG"
                                           << "/p/c.jpg"
                                           << "/p/a.jpg";
    }
    void steps() {
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, last);
        PathList list;
        list.rebuild(QStringLiteral("/p/"),
                     {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
        QCOMPARE(list.nextTarget(current), std::optional<QString>(next));
        QCOMPARE(list.lastTarget(current), std::optional<QString>(last));
    }

    // Next from b.jpg opens c.jpg, Next again wraps to a.jpg, Last from a.jpg wraps to c.jpg.
    void walksRoundTheFolder() {
        PathList list;
        list.rebuild(QStringLiteral("/p/"),
                     {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
        QString current = QStringLiteral("/p/b.jpg");
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            current = *list.nextTarget(current);
            seen << current;
        }
        QCOMPARE(seen, (QStringList{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
        QCOMPARE(*list.lastTarget(QStringLiteral("/p/a.jpg")), QStringLiteral("/p/c.jpg"));
    }

    void singleEntryStaysPut() {
        PathList list;
        list.rebuild(QStringLiteral("/p/"), {QStringLiteral("only.gif")});
        QCOMPARE(*list.nextTarget(QStringLiteral("/p/only.gif")), QStringLiteral("/p/only.gif"));
        QCOMPARE(*list.lastTarget(QStringLiteral("/p/only.gif")), QStringLiteral("/p/only.gif"));
    }

    void emptyListHasNoTarget() {
        PathList list;
        QVERIFY(!list.nextTarget(QStringLiteral("/p/a.jpg")));
        QVERIFY(!list.lastTarget(QStringLiteral("/p/a.jpg")));
    }

    // Two files whose names differ only in case are both reached: an exact match wins.
    void namesDifferingInCaseAreBothReachable() {
        PathList list;
        list.rebuild(QStringLiteral("/p/"),
                     {QStringLiteral("A.jpg"), QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
        QCOMPARE(list.indexOf(QStringLiteral("/p/a.jpg")), 1);
        QCOMPARE(*list.nextTarget(QStringLiteral("/p/A.jpg")), QStringLiteral("/p/a.jpg"));
        QCOMPARE(*list.nextTarget(QStringLiteral("/p/a.jpg")), QStringLiteral("/p/b.jpg"));
        QCOMPARE(list.indexOf(QStringLiteral("/p/B.JPG")), 2);
    }
};

QUILLET_TEST_MAIN(tst_PathList)
#include "tst_pathlist.moc"
