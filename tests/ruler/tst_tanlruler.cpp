#include "ruler/rulerguidelines.h"
#include "ruler/rulerindents.h"
#include "ruler/rulermarker.h"
#include "ruler/tanlruler.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>
#include <memory>

namespace {
// Identifiers as the ruler reports them.
QList<int> ids(const QSignalSpy &spy) {
    QList<int> result;
    for (const QList<QVariant> &call : spy)
        result.append(call.at(0).toInt());
    return result;
}
} // namespace

// The ruler control alone: its guarded setters, the indent steps, the scale and the margin
// handles as painted, marker and margin drags with the mouse, the guide line over an attached
// control and what assistive technology is told.
class tst_TanlRuler : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    TanlRuler *m_ruler = nullptr;
    QTextEdit *m_edit = nullptr;

    TanlRuler &ruler() { return *m_ruler; }

    RulerMarker *marker(int id) {
        switch (id) {
        case TanlRuler::FirstIndent:
            return ruler().FirstIndentMarker();
        case TanlRuler::LeftIndent:
            return ruler().LeftIndentMarker();
        case TanlRuler::RightIndent:
            return ruler().RightIndentMarker();
        default:
            return ruler().IndentBlock();
        }
    }

    // Mouse events go to the marker as it stands when each is sent; positions are ruler x.
    static void send(QWidget *target, QEvent::Type type, int x, int y,
                     Qt::MouseButton button = Qt::LeftButton) {
        const QPointF local(x, y);
        QMouseEvent event(type, local, target->mapToGlobal(local), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    // Presses marker `id` at its middle and moves the pointer to each ruler x in turn.
    void dragMarker(int id, const QList<int> &to, bool release = true) {
        RulerMarker *m = marker(id);
        send(m, QEvent::MouseButtonPress, 4, 3);
        for (int x : to)
            send(m, QEvent::MouseMove, x - m->x(), 3);
        if (release)
            send(m, QEvent::MouseButtonRelease, to.isEmpty() ? 4 : to.last() - m->x(), 3);
    }

    void setIndents(int first, int left, int right) {
        ruler().SetIndentRight(right);
        ruler().SetIndentFirst(first);
        ruler().SetIndentLeft(left);
        QCOMPARE(ruler().IndentFirst(), first);
        QCOMPARE(ruler().IndentLeft(), left);
        QCOMPARE(ruler().IndentRight(), right);
    }

private slots:
    void init() {
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 300);
        m_ruler = new TanlRuler(m_window.get());
        m_ruler->move(20, 0);
        m_edit = new QTextEdit(m_window.get());
        m_edit->setGeometry(5, 40, 380, 200);
        m_edit->setPlainText(QStringLiteral("Some text under the guide line.\nAnd more."));
        // No caret blinks between two pictures of it.
        m_edit->setReadOnly(true);
        m_edit->setFocusPolicy(Qt::NoFocus);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_ruler = nullptr;
        m_edit = nullptr;
    }

    void startValues() {
        QCOMPARE(ruler().size(), QSize(300, 25));
        QCOMPARE(ruler().RulerTab(), 10);
        QCOMPARE(ruler().MinIndentDist(), 50);
        QCOMPARE(ruler().TabDist(), 10);
        QCOMPARE(ruler().Factor(), 1);
        QCOMPARE(ruler().MarginLeft(), 30);
        QCOMPARE(ruler().MarginRight(), 20);
        for (int border : {ruler().BorderLeft(), ruler().BorderUp(), ruler().BorderDown(),
                           ruler().BorderRight()})
            QCOMPARE(border, 5);
        QCOMPARE(ruler().IndentFirst(), 45);
        QCOMPARE(ruler().IndentLeft(), 45);
        QCOMPARE(ruler().IndentBlock()->x(), 45);
        QCOMPARE(ruler().IndentRight(), 250);
        QVERIFY(ruler().ShowSmallLines() && ruler().ShowLargeLines() && ruler().ShowIndents() &&
                ruler().ShowNumbers() && ruler().ShowMarginHandlers());
        QCOMPARE(ruler().Color(), ruler().palette().color(QPalette::Base));
        QCOMPARE(ruler().font().family(), QStringLiteral("Small Fonts"));
        QCOMPARE(ruler().font().pointSize(), 7);
        QCOMPARE(ruler().Richedit(), nullptr);
        for (int id = 0; id < 4; ++id) {
            QCOMPARE(marker(id)->width(), 9);
            QCOMPARE(marker(id)->height(), id == TanlRuler::BlockIndent ? 7 : 8);
        }
        // Markers stand on the borders: the first-line one at the top, the others at the bottom
        // with the block under the left one.
        QCOMPARE(ruler().FirstIndentMarker()->y(), 2);
        QCOMPARE(ruler().LeftIndentMarker()->y(), 12);
        QCOMPARE(ruler().RightIndentMarker()->y(), 12);
        QCOMPARE(ruler().IndentBlock()->y(), 20);
    }

    void indentSetters_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        // Start: first 45, left 45, right 250, ruler 300 wide.
        QTest::addRow("first 51 left of the right") << 0 << 199 << true;
        QTest::addRow("first 50 left of the right") << 0 << 200 << false;
        QTest::addRow("first at 0") << 0 << 0 << true;
        QTest::addRow("first negative") << 0 << -1 << false;
        QTest::addRow("first unchanged") << 0 << 45 << false;
        QTest::addRow("left 51 left of the right") << 1 << 199 << true;
        QTest::addRow("left 50 left of the right") << 1 << 200 << false;
        QTest::addRow("left negative") << 1 << -10 << false;
        QTest::addRow("right 51 right of the others") << 2 << 96 << true;
        QTest::addRow("right 50 right of the others") << 2 << 95 << false;
        QTest::addRow("right at the last place") << 2 << 295 << true;
        QTest::addRow("right at width - 4") << 2 << 296 << false;
    }

    void indentSetters() {
        QFETCH(int, id);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        QSignalSpy drags(&ruler(), &TanlRuler::OnIndentDrag);
        const QList<int> before{ruler().IndentFirst(), ruler().IndentLeft(), ruler().IndentRight()};
        if (id == 0)
            ruler().SetIndentFirst(value);
        else if (id == 1)
            ruler().SetIndentLeft(value);
        else
            ruler().SetIndentRight(value);
        QList<int> expected = before;
        if (accepted)
            expected[id] = value;
        QCOMPARE((QList<int>{ruler().IndentFirst(), ruler().IndentLeft(), ruler().IndentRight()}),
                 expected);
        QCOMPARE(ruler().IndentBlock()->x(), ruler().IndentLeft());
        // Outside a drag no drag event.
        QCOMPARE(drags.count(), 0);
    }

    void marginSetters_data() {
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<int>>("indents");
        // Width 300, borders 5, margins 30 and 20; indents 45, 45, 250.
        QTest::addRow("left wider") << true << 40 << true << QList<int>{55, 55, 250};
        QTest::addRow("left to 0") << true << 0 << true << QList<int>{15, 15, 250};
        QTest::addRow("left negative") << true << -1 << false << QList<int>{45, 45, 250};
        QTest::addRow("left up to the right margin")
            << true << 270 << true << QList<int>{45, 45, 250};
        QTest::addRow("left past the right margin")
            << true << 271 << false << QList<int>{45, 45, 250};
        QTest::addRow("right wider") << false << 30 << true << QList<int>{45, 45, 240};
        QTest::addRow("right past the left margin")
            << false << 261 << false << QList<int>{45, 45, 250};
    }

    void marginSetters() {
        QFETCH(bool, left);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        QFETCH(QList<int>, indents);
        const int before = left ? ruler().MarginLeft() : ruler().MarginRight();
        if (left)
            ruler().SetMarginLeft(value);
        else
            ruler().SetMarginRight(value);
        QCOMPARE(left ? ruler().MarginLeft() : ruler().MarginRight(), accepted ? value : before);
        // The markers move with the margin as far as their own guards let them.
        QCOMPARE((QList<int>{ruler().IndentFirst(), ruler().IndentLeft(), ruler().IndentRight()}),
                 indents);
    }

    void indentSteps_data() {
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("firstAfter");
        QTest::addColumn<int>("leftAfter");
        // Right marker at 250.
        QTest::addRow("increase, left 55 from the right is refused")
            << true << 150 << 195 << 160 << 195;
        QTest::addRow("increase both") << true << 100 << 60 << 110 << 70;
        QTest::addRow("decrease both") << false << 100 << 60 << 90 << 50;
        QTest::addRow("decrease, first at 5 is refused") << false << 5 << 60 << 5 << 50;
    }

    void indentSteps() {
        QFETCH(bool, increase);
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, firstAfter);
        QFETCH(int, leftAfter);
        setIndents(first, left, 250);
        QSignalSpy changes(&ruler(), &TanlRuler::OnIndentChange);
        if (increase)
            ruler().IncIndent();
        else
            ruler().DecIndent();
        QCOMPARE(ruler().IndentFirst(), firstAfter);
        QCOMPARE(ruler().IndentLeft(), leftAfter);
        QCOMPARE(ids(changes), QList<int>{TanlRuler::BlockIndent});
    }

    void scale_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<QList<int>>("numberX");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("largeX");
        // Left margin 100: the margin line at 105; the scale runs from 5 to 294.
        QTest::addRow("numbers") << 1 << true << QList<int>{25, 65, 145, 185, 225, 265}
                                 << QStringList{"2", "1", "1", "2", "3", "4"}
                                 << QList<int>{5, 45, 85, 125, 165, 205, 245, 285};
        QTest::addRow("factor 5") << 5 << true << QList<int>{25, 65, 145, 185, 225, 265}
                                  << QStringList{"10", "5", "5", "10", "15", "20"}
                                  << QList<int>{5, 45, 85, 125, 165, 205, 245, 285};
        // Without numbers, a large tick stands at every number's place, the margin line too.
        QTest::addRow("ticks only")
            << 1 << false << QList<int>{} << QStringList{}
            << QList<int>{5, 25, 45, 65, 85, 105, 125, 145, 165, 185, 205, 225, 245, 265, 285};
    }

    void scale() {
        QFETCH(int, factor);
        QFETCH(bool, numbers);
        QFETCH(QList<int>, numberX);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, largeX);
        ruler().SetMarginLeft(100);
        ruler().SetFactor(factor);
        ruler().SetShowNumbers(numbers);
        QList<int> numberAt, largeAt, smallAt;
        QStringList shown;
        for (const RulerScaleMark &mark : ruler().ScaleMarks()) {
            if (mark.kind == RulerScaleMark::Number) {
                numberAt.append(mark.x);
                shown.append(mark.text);
            } else if (mark.kind == RulerScaleMark::LargeTick) {
                largeAt.append(mark.x);
            } else {
                smallAt.append(mark.x);
            }
        }
        QCOMPARE(numberAt, numberX);
        QCOMPARE(shown, texts);
        QVERIFY(!shown.contains(QStringLiteral("0")));
        QCOMPARE(largeAt, largeX);
        // Small ticks at the quarters: 10 and 30 pixels past every number, on both sides.
        for (int x : smallAt)
            QCOMPARE(std::abs(x - 105) % 20, 10);
        QCOMPARE(smallAt.first(), 15);
        QCOMPARE(smallAt.last(), 275);
    }

    void marginHandleColour_data() {
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("margin");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::addRow("left margin") << true << 30 << QPalette::Button;
        QTest::addRow("left margin 0") << true << 0 << QPalette::Dark;
        QTest::addRow("right margin") << false << 20 << QPalette::Button;
        QTest::addRow("right margin 0") << false << 0 << QPalette::Dark;
    }

    void marginHandleColour() {
        QFETCH(bool, left);
        QFETCH(int, margin);
        QFETCH(QPalette::ColorRole, role);
        QPalette palette = ruler().palette();
        palette.setColor(QPalette::Button, QColor(200, 200, 200));
        palette.setColor(QPalette::Dark, QColor(100, 100, 100));
        palette.setColor(QPalette::Base, Qt::white);
        ruler().setPalette(palette);
        if (left)
            ruler().SetMarginLeft(margin);
        else
            ruler().SetMarginRight(margin);
        ruler().SetShowIndents(false);
        const QImage image = ruler().grab().toImage();
        const int line = left ? 5 + margin : 300 - 5 - margin;
        // The handle: the pixel before the line and the line itself, above the scale.
        for (int x : {line - 1, line})
            QCOMPARE(image.pixelColor(x, 6), palette.color(role));
        // Away from the handle the margin band is shaded and the face is the window colour.
        const int inside = left ? line + 20 : line - 20;
        QCOMPARE(image.pixelColor(inside, 6), QColor(Qt::white));
        if (margin > 3) {
            const int band = left ? line - 3 : line + 2;
            QCOMPARE(image.pixelColor(band, 6), palette.color(QPalette::Dark));
        }
    }

    void markerDrag_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QList<int>>("pointer");
        QTest::addColumn<QList<int>>("indents");
        QTest::addColumn<QList<int>>("dragIds");
        // Pointer positions in ruler x; the marker is held at its middle (4), the wanted x
        // snapped to 10 toward zero.
        QTest::addRow("first-line marker")
            << 0 << QList<int>{80, 127} << QList<int>{120, 45, 250} << QList<int>{0, 0};
        QTest::addRow("left marker stops 60 from the right")
            << 1 << QList<int>{150, 194, 214, 240} << QList<int>{45, 190, 250} << QList<int>{1, 1};
        QTest::addRow("right marker stops 55 from the others")
            << 2 << QList<int>{200, 104, 94} << QList<int>{45, 45, 100} << QList<int>{2, 2};
        QTest::addRow("block moves both")
            << 3 << QList<int>{100, 154} << QList<int>{150, 150, 250} << QList<int>{1, 0, 1, 0};
        QTest::addRow("off the ruler to the left")
            << 1 << QList<int>{-30} << QList<int>{45, 45, 250} << QList<int>{};
    }

    void markerDrag() {
        QFETCH(int, id);
        QFETCH(QList<int>, pointer);
        QFETCH(QList<int>, indents);
        QFETCH(QList<int>, dragIds);
        QSignalSpy clicks(&ruler(), &TanlRuler::OnIndentClick);
        QSignalSpy drags(&ruler(), &TanlRuler::OnIndentDrag);
        QSignalSpy changes(&ruler(), &TanlRuler::OnIndentChange);
        QList<int> withGrab;
        for (int x : pointer)
            withGrab.append(x + 4);
        dragMarker(id, withGrab, false);
        QVERIFY(ruler().IsDragging());
        QCOMPARE(ids(changes), QList<int>{});
        send(marker(id), QEvent::MouseButtonRelease, 4, 3);
        QVERIFY(!ruler().IsDragging());
        QCOMPARE((QList<int>{ruler().IndentFirst(), ruler().IndentLeft(), ruler().IndentRight()}),
                 indents);
        QCOMPARE(ruler().IndentBlock()->x(), ruler().IndentLeft());
        QCOMPARE(ids(clicks), QList<int>{id});
        QCOMPARE(ids(drags), dragIds);
        QCOMPARE(ids(changes), QList<int>{id});
    }

    void blockDragWithOneMarkerRefused() {
        setIndents(40, 100, 250);
        RulerMarker *block = ruler().IndentBlock();
        dragMarker(TanlRuler::BlockIndent, {100 + 4 + 90}, false);
        QCOMPARE(ruler().IndentLeft(), 190);
        QCOMPARE(ruler().IndentFirst(), 130);
        // Past the left marker's guard the first-line marker still moves, and stays with the
        // pointer however often it moves there.
        for (int i = 0; i < 3; ++i) {
            send(block, QEvent::MouseMove, 20, 3);
            QCOMPARE(ruler().IndentLeft(), 190);
            QCOMPARE(ruler().IndentFirst(), 140);
        }
        // Back to the left both move, 60 apart as when the drag began...
        send(block, QEvent::MouseMove, 64 + 4 - 190, 3);
        QCOMPARE(ruler().IndentLeft(), 60);
        QCOMPARE(ruler().IndentFirst(), 0);
        // ...until the first-line marker meets the ruler's edge; the left one goes on.
        send(block, QEvent::MouseMove, 44 + 4 - 60, 3);
        QCOMPARE(ruler().IndentLeft(), 40);
        QCOMPARE(ruler().IndentFirst(), 0);
        send(block, QEvent::MouseButtonRelease, 4, 3);
        QVERIFY(!ruler().IsDragging());
    }

    void doubleClickStartsNoDrag() {
        QSignalSpy doubles(&ruler(), &TanlRuler::OnIndentDblClick);
        QSignalSpy clicks(&ruler(), &TanlRuler::OnIndentClick);
        QSignalSpy changes(&ruler(), &TanlRuler::OnIndentChange);
        ruler().SetRichedit(m_edit);
        // What the window system delivers for a double click: press, release, double click,
        // release.
        RulerMarker *right = ruler().RightIndentMarker();
        send(right, QEvent::MouseButtonPress, 4, 3);
        send(right, QEvent::MouseButtonRelease, 4, 3);
        send(right, QEvent::MouseButtonDblClick, 4, 3);
        QVERIFY(!ruler().IsDragging());
        send(right, QEvent::MouseButtonRelease, 4, 3);
        QCOMPARE(ids(doubles), QList<int>{TanlRuler::RightIndent});
        // The first click of the pair is a click of its own; the second starts nothing.
        QCOMPARE(ids(clicks), QList<int>{TanlRuler::RightIndent});
        QCOMPARE(ids(changes), QList<int>{TanlRuler::RightIndent});
        QVERIFY(!ruler().IsDragging());
        send(ruler().RightIndentMarker(), QEvent::MouseMove, -100, 3);
        QCOMPARE(ruler().IndentRight(), 250);
        auto *lines = m_edit->findChild<RulerGuideLines *>();
        QVERIFY(lines);
        QVERIFY(lines->lines().isEmpty());
    }

    void marginDrag_data() {
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("margin");
        QTest::addColumn<QList<int>>("indents");
        // Margin lines at 35 and 275.
        QTest::addRow("left margin wider") << true << 33 << 100 << 90 << QList<int>{105, 105, 250};
        QTest::addRow("left margin to 0") << true << 37 << 2 << 0 << QList<int>{15, 15, 250};
        QTest::addRow("right margin wider") << false << 277 << 250 << 40 << QList<int>{45, 45, 230};
        QTest::addRow("right margin past its guard")
            << false << 275 << 0 << 20 << QList<int>{45, 45, 250};
    }

    void marginDrag() {
        QFETCH(bool, left);
        QFETCH(int, press);
        QFETCH(int, to);
        QFETCH(int, margin);
        QFETCH(QList<int>, indents);
        ruler().SetRichedit(m_edit);
        auto *lines = m_edit->findChild<RulerGuideLines *>();
        QVERIFY(lines);
        QSignalSpy clicks(&ruler(), &TanlRuler::OnMarginClick);
        QSignalSpy changes(&ruler(), &TanlRuler::OnMarginChange);
        const int id = left ? 0 : 1;
        send(&ruler(), QEvent::MouseButtonPress, press, 12);
        QCOMPARE(ids(clicks), QList<int>{id});
        // The guide line stands at the margin line, moved by the ruler's and control's places.
        const int offset = 20 - 5;
        QCOMPARE(lines->lines(), QList<int>{(left ? 35 : 275) + offset});
        send(&ruler(), QEvent::MouseMove, to, 12);
        const int line = left ? 5 + margin : 295 - margin;
        QCOMPARE(lines->lines(), QList<int>{line + offset});
        send(&ruler(), QEvent::MouseButtonRelease, to, 12, Qt::RightButton);
        QCOMPARE(left ? ruler().MarginLeft() : ruler().MarginRight(), margin);
        QCOMPARE((QList<int>{ruler().IndentFirst(), ruler().IndentLeft(), ruler().IndentRight()}),
                 indents);
        QCOMPARE(ids(changes), QList<int>{id});
        QVERIFY(lines->lines().isEmpty());
        QVERIFY(lines->isHidden());
    }

    void marginCursorAndPressAway() {
        QSignalSpy clicks(&ruler(), &TanlRuler::OnMarginClick);
        send(&ruler(), QEvent::MouseMove, 37, 12, Qt::NoButton);
        QCOMPARE(ruler().cursor().shape(), Qt::SizeHorCursor);
        send(&ruler(), QEvent::MouseMove, 38, 12, Qt::NoButton);
        QCOMPARE(ruler().cursor().shape(), Qt::ArrowCursor);
        send(&ruler(), QEvent::MouseButtonPress, 38, 12);
        QVERIFY(!ruler().IsDragging());
        send(&ruler(), QEvent::MouseButtonRelease, 38, 12);
        // Without handlers the margins stay put.
        ruler().SetShowMarginHandlers(false);
        send(&ruler(), QEvent::MouseButtonPress, 35, 12);
        QVERIFY(!ruler().IsDragging());
        QCOMPARE(clicks.count(), 0);
    }

    void guideLineInvertsAndLeavesNothingBehind() {
        ruler().SetRichedit(m_edit);
        QCOMPARE(ruler().Richedit(), m_edit);
        const QImage before = m_edit->grab().toImage();
        RulerMarker *first = ruler().FirstIndentMarker();
        send(first, QEvent::MouseButtonPress, 4, 3);
        auto *lines = m_edit->findChild<RulerGuideLines *>();
        QVERIFY(lines);
        // At the marker's middle, moved by the ruler's left (20) less the control's (5).
        const int x = 45 + 4 + 15;
        QCOMPARE(lines->lines(), QList<int>{x});
        QCOMPARE(lines->geometry(), m_edit->contentsRect());
        const QImage during = m_edit->grab().toImage();
        const int column = x + m_edit->contentsRect().left();
        int inverted = 0;
        for (int y = 0; y < before.height(); ++y) {
            if (during.pixel(column, y) != before.pixel(column, y)) {
                QCOMPARE(during.pixel(column, y) & 0xffffff, ~before.pixel(column, y) & 0xffffff);
                ++inverted;
            }
        }
        // A dotted line: some pixels inverted, not all; none beside it.
        QVERIFY(inverted > 10);
        QVERIFY(inverted < before.height());
        for (int y = 0; y < before.height(); ++y)
            QCOMPARE(during.pixel(column + 1, y), before.pixel(column + 1, y));
        send(first, QEvent::MouseMove, 60 + 4 - 45, 3);
        QCOMPARE(lines->lines(), QList<int>{60 + 4 + 15});
        send(first, QEvent::MouseButtonRelease, 60 - 60, 3);
        QVERIFY(lines->lines().isEmpty());
        QCOMPARE(m_edit->grab().toImage(), before);
    }

    void guideLinesToggleLikeExclusiveOr() {
        RulerGuideLines lines(*m_edit);
        lines.toggle(10);
        lines.toggle(20);
        QCOMPARE(lines.lines(), (QList<int>{10, 20}));
        QVERIFY(!lines.isHidden());
        lines.toggle(10);
        QCOMPARE(lines.lines(), QList<int>{20});
        lines.toggle(20);
        QVERIFY(lines.isHidden());
    }

    void richeditReplacedDuringADrag() {
        ruler().SetRichedit(m_edit);
        auto *lines = m_edit->findChild<RulerGuideLines *>();
        send(ruler().FirstIndentMarker(), QEvent::MouseButtonPress, 4, 3);
        QCOMPARE(lines->lines().size(), 1);
        QTextEdit other(m_window.get());
        ruler().SetRichedit(&other);
        // The old control is given back untouched; the drag goes on over the new one.
        QVERIFY(!m_edit->findChild<RulerGuideLines *>());
        auto *moved = other.findChild<RulerGuideLines *>();
        QVERIFY(moved);
        QCOMPARE(moved->lines().size(), 1);
        send(ruler().FirstIndentMarker(), QEvent::MouseButtonRelease, 4, 3);
        QVERIFY(moved->lines().isEmpty());
        ruler().SetRichedit(nullptr);
        QVERIFY(!other.findChild<RulerGuideLines *>());
        // Without a control every drag still works.
        dragMarker(TanlRuler::FirstIndent, {4 + 100});
        QCOMPARE(ruler().IndentFirst(), 100);
    }

    void accessibleValues() {
        ruler().setAccessibleName(QStringLiteral("Adjust Indent"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&ruler());
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Adjust Indent"));
        QCOMPARE(face->childCount(), 5);
        const QStringList names{"First Line Indent", "Left Indent", "Right Indent", "Left Margin",
                                "Right Margin"};
        const QList<int> values{45, 45, 250, 30, 20};
        for (int i = 0; i < 5; ++i) {
            QAccessibleInterface *item = face->child(i);
            QVERIFY(item);
            QCOMPARE(item->text(QAccessible::Name), names.at(i));
            QCOMPARE(item->role(), QAccessible::Slider);
            QCOMPARE(item->parent(), face);
            QCOMPARE(face->indexOfChild(item), i);
            QVERIFY(item->valueInterface());
            QCOMPARE(item->valueInterface()->currentValue().toInt(), values.at(i));
            QCOMPARE(item->text(QAccessible::Value), QString::number(values.at(i)));
        }
        // A value set from outside goes through the guard and is reported like a drag's end.
        QSignalSpy changes(&ruler(), &TanlRuler::OnIndentChange);
        QSignalSpy marginChanges(&ruler(), &TanlRuler::OnMarginChange);
        face->child(1)->valueInterface()->setCurrentValue(100);
        QCOMPARE(ruler().IndentLeft(), 100);
        face->child(1)->valueInterface()->setCurrentValue(220);
        QCOMPARE(ruler().IndentLeft(), 100);
        QCOMPARE(ids(changes), QList<int>{TanlRuler::LeftIndent});
        face->child(4)->valueInterface()->setCurrentValue(30);
        QCOMPARE(ruler().MarginRight(), 30);
        QCOMPARE(ids(marginChanges), QList<int>{TanlRuler::RightMargin});
    }

    void markersForIndentsRoundTrip_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addRow("none") << 0 << 0 << 0;
        QTest::addRow("first line in") << 1 << 0 << 0;
        QTest::addRow("hanging") << 36 << -36 << 0;
        QTest::addRow("both sides") << 10 << 7 << 20;
        QTest::addRow("odd points") << 13 << 29 << 31;
        QTest::addRow("negative first") << -5 << 5 << 2;
    }

    void markersForIndentsRoundTrip() {
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, right);
        // Markers placed for a paragraph give its indents back unchanged.
        const RulerIndentMarkers markers = RulerMarkersForIndents(first, left, right, 48, 48, 816);
        const RulerParagraphIndents indents = RulerIndentsForMarkers(markers, 48, 48, 816);
        QCOMPARE(indents.first, first);
        QCOMPARE(indents.leftFromEdge, first + left);
        QCOMPARE(indents.right, right);
    }

    void indentsForMarkers_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("points");
        // Pixels past the left margin line and its 2 pixels; a pixel no whole point reaches
        // gives the points it holds, truncated toward zero.
        QTest::addRow("0") << 0 << 0;
        QTest::addRow("1 from 1 point") << 1 << 1;
        QTest::addRow("3 reached by none") << 3 << 2;
        QTest::addRow("40") << 40 << 30;
        QTest::addRow("-1 from -1 point") << -1 << -1;
        QTest::addRow("-3 reached by none") << -3 << -2;
    }

    void indentsForMarkers() {
        QFETCH(int, pixels);
        QFETCH(int, points);
        const RulerParagraphIndents indents =
            RulerIndentsForMarkers({50 + pixels, 50 + pixels, 700}, 48, 48, 816);
        QCOMPARE(indents.first, points);
        QCOMPARE(indents.leftFromEdge, points);
    }
};

QUILLET_TEST_MAIN(tst_TanlRuler)
#include "tst_tanlruler.moc"
