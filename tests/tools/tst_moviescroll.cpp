#include "recordingshell.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "tools/aboutboxdlg.h"
#include "tools/moviemarkup.h"
#include "tools/moviescroll.h"

#include <QImage>
#include <QtTest>

struct Expected {
    QString text;
    bool centered = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int size = 0; // 0: unset
    QString face;
    QColor color;

    // Rows of the table read as "text, then what the tags did".
    static Expected line(const QString &text) {
        Expected e;
        e.text = text;
        return e;
    }
    Expected &center() {
        centered = true;
        return *this;
    }
    Expected &withBold() {
        bold = true;
        return *this;
    }
    Expected &withItalic() {
        italic = true;
        return *this;
    }
    Expected &withUnderline() {
        underline = true;
        return *this;
    }
    Expected &withSize(int points) {
        size = points;
        return *this;
    }
    Expected &withFace(const QString &name) {
        face = name;
        return *this;
    }
    Expected &withColor(const QColor &c) {
        color = c;
        return *this;
    }
};
Q_DECLARE_METATYPE(Expected)

// The credits scroller: its markup read line by line, and the scrolling itself.
class tst_MovieScroll : public QObject {
    Q_OBJECT

private slots:
    void parsesALine_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("which");
        QTest::addColumn<Expected>("expected");

        const auto row = [](const char *name, QStringList lines, int which, Expected expected) {
            QTest::addRow("%s", name) << lines << which << expected;
        };
        const auto L = &Expected::line;
        row("plain", {QStringLiteral("Thanks")}, 0, L(QStringLiteral("Thanks")));
        row("centred and bold", {QStringLiteral("[center][b]Title")}, 0,
            L(QStringLiteral("Title")).center().withBold());
        row("tag after the text applies to the line", {QStringLiteral("Title[b]")}, 0,
            L(QStringLiteral("Title")).withBold());
        row("styles add up", {QStringLiteral("[i]a[u]b[b]")}, 0,
            L(QStringLiteral("ab")).withBold().withItalic().withUnderline());
        row("size", {QStringLiteral("[size=14]Big")}, 0, L(QStringLiteral("Big")).withSize(14));
        row("size is reset on the next line",
            {QStringLiteral("[size=14]Big"), QStringLiteral("small")}, 1,
            L(QStringLiteral("small")));
        row("last size wins", {QStringLiteral("[size=14]a[size=20]b")}, 0,
            L(QStringLiteral("ab")).withSize(20));
        row("size not a number is ignored", {QStringLiteral("[size=big]x")}, 0,
            L(QStringLiteral("x")));
        row("font", {QStringLiteral("[font=Arial]x")}, 0,
            L(QStringLiteral("x")).withFace(QStringLiteral("Arial")));
        row("colour decimal: red in the low byte", {QStringLiteral("[color=255]Red")}, 0,
            L(QStringLiteral("Red")).withColor(QColor(255, 0, 0)));
        row("colour hexadecimal", {QStringLiteral("[color=$FF0000]Blue")}, 0,
            L(QStringLiteral("Blue")).withColor(QColor(0, 0, 255)));
        row("tags are case-sensitive", {QStringLiteral("[Color=255]Red")}, 0,
            L(QStringLiteral("Red")));
        row("colour not a number is ignored", {QStringLiteral("[color=red]x")}, 0,
            L(QStringLiteral("x")));
        row("unknown tag is ignored", {QStringLiteral("[blink]x")}, 0, L(QStringLiteral("x")));
        row("a closing bracket outside a tag is dropped", {QStringLiteral("a]b")}, 0,
            L(QStringLiteral("ab")));
        row("an open tag hides the rest of the line", {QStringLiteral("a[b")}, 0,
            L(QStringLiteral("a")));
        row("an open tag carries into the next line",
            {QStringLiteral("a[b"), QStringLiteral("b]next")}, 1,
            L(QStringLiteral("next")).withBold());
        row("the carried tag drops what the line before collected",
            {QStringLiteral("a[cen"), QStringLiteral("center]x")}, 1,
            L(QStringLiteral("x")).center());
        row("an opening bracket inside a tag is dropped", {QStringLiteral("[[b]x")}, 0,
            L(QStringLiteral("x")).withBold());
        row("empty line", {QString()}, 0, L(QString()));
    }

    void parsesALine() {
        QFETCH(QStringList, lines);
        QFETCH(int, which);
        QFETCH(Expected, expected);
        MovieMarkup markup;
        MovieLine line;
        for (int i = 0; i <= which; ++i)
            line = markup.parseLine(lines.at(i));
        QCOMPARE(line.text, expected.text);
        QCOMPARE(line.centered, expected.centered);
        QCOMPARE(line.bold, expected.bold);
        QCOMPARE(line.italic, expected.italic);
        QCOMPARE(line.underline, expected.underline);
        QCOMPARE(line.size.value_or(0), expected.size);
        QCOMPARE(line.face.value_or(QString()), expected.face);
        QCOMPARE(line.color.value_or(QColor()), expected.color);
    }

    void lineFontStartsFromTheDefault() {
        QFont base(QStringLiteral("Courier New"));
        base.setPointSize(9);
        MovieMarkup markup;
        const QFont big = markup.parseLine(QStringLiteral("[size=14][b]Big")).font(base);
        QCOMPARE(big.pointSize(), 14);
        QVERIFY(big.bold());
        const QFont small = markup.parseLine(QStringLiteral("small")).font(base);
        QCOMPARE(small.pointSize(), 9);
        QVERIFY(!small.bold());
    }

    void movieSpeedIsKeptInRange_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("stored");
        QTest::addRow("0") << 0 << 50;
        QTest::addRow("negative") << -5 << 50;
        QTest::addRow("150") << 150 << 50;
        QTest::addRow("100") << 100 << 50;
        QTest::addRow("99") << 99 << 99;
        QTest::addRow("1") << 1 << 1;
    }

    void movieSpeedIsKeptInRange() {
        QFETCH(int, set);
        QFETCH(int, stored);
        ScriptedPrompts prompts;
        RecordingShell shell;
        TAboutBoxDlg dialog(prompts, shell);
        QCOMPARE(dialog.MovieSpeed(), 40);
        dialog.SetMovieSpeed(set);
        QCOMPARE(dialog.MovieSpeed(), stored);
    }

    void startsBelowTheBottomAndMovesAPixelPerStep() {
        TMovieScroll scroll;
        scroll.resize(200, 100);
        scroll.SetScrollText({QStringLiteral("one")});
        QCOMPARE(scroll.TopPosition(), 101);
        QVERIFY(scroll.IsRunning());
        QCOMPARE(scroll.TimerInterval(), 40);
        scroll.Step();
        scroll.Step();
        QCOMPARE(scroll.TopPosition(), 99);
        // Resizing starts the text again from below the bottom edge.
        scroll.resize(200, 60);
        scroll.Render();
        QCOMPARE(scroll.TopPosition(), 61);
    }

    void emptyLineAdvancesByTheHeightOfW() {
        TMovieScroll scroll;
        scroll.resize(100, 40);
        scroll.SetShadow(false);
        scroll.SetScrollText({QString(), QStringLiteral("W")});
        scroll.Render();
        // Put the text's top at 0: the W of the second line starts one line height further down.
        for (int i = 0; i < 41; ++i)
            scroll.Step();
        QCOMPARE(scroll.TopPosition(), 0);
        const QImage image = scroll.Render().toImage();
        const int lineHeight = QFontMetrics(scroll.DefaultFont(), &image).height();
        int firstInk = -1;
        for (int y = 0; y < image.height() && firstInk < 0; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != scroll.BackColor()) {
                    firstInk = y;
                    break;
                }
            }
        }
        QVERIFY(firstInk >= lineHeight);
        QVERIFY(firstInk < 2 * lineHeight);
    }

    void drawsInTheTagsColourOverItsShadow() {
        TMovieScroll scroll;
        scroll.resize(120, 40);
        QFont font = scroll.DefaultFont();
        font.setPixelSize(30);
        scroll.SetDefaultFont(font, Qt::white);
        scroll.SetScrollText({QStringLiteral("[color=255]\u2588\u2588")});
        scroll.Render();
        for (int i = 0; i < 41; ++i)
            scroll.Step();
        const QImage image = scroll.Render().toImage();
        int red = 0;
        int grey = 0;
        int white = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c == QColor(255, 0, 0);
                grey += c == QColor(128, 128, 128);
                white += c == QColor(255, 255, 255);
            }
        }
        QVERIFY(red > 0);
        QVERIFY(grey > 0); // the shadow shows right and below
        QCOMPARE(white, 0);
    }

    void withoutLoopEndsWithTheCompleteText() {
        TMovieScroll scroll;
        scroll.resize(200, 100);
        scroll.SetScrollText({QStringLiteral("one"), QStringLiteral("two")});
        int steps = 0;
        while (scroll.IsRunning() && steps < 1000) {
            scroll.Step();
            ++steps;
        }
        QVERIFY(!scroll.IsRunning());
        QVERIFY(scroll.IsComplete());
        // "The End" in bold 20-point type in the middle: ink around the centre, none at the top.
        const QImage image = scroll.Render().toImage();
        bool inkInMiddle = false;
        for (int x = 0; x < image.width(); ++x)
            inkInMiddle = inkInMiddle || image.pixelColor(x, 50) != QColor(Qt::black);
        QVERIFY(inkInMiddle);
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixelColor(x, 2), QColor(Qt::black));
    }

    void withLoopComesBackFromTheBottom() {
        TMovieScroll scroll;
        scroll.resize(200, 100);
        scroll.SetLoop(true);
        scroll.SetScrollText({QStringLiteral("one"), QStringLiteral("two")});
        int lowest = scroll.TopPosition();
        for (int i = 0; i < 400; ++i) {
            scroll.Step();
            lowest = std::min(lowest, scroll.TopPosition());
        }
        QVERIFY(scroll.IsRunning());
        QVERIFY(!scroll.IsComplete());
        QVERIFY(lowest < 0);
        QVERIFY(scroll.TopPosition() > lowest);
    }
};

QUILLET_TEST_MAIN(tst_MovieScroll)
#include "tst_moviescroll.moc"
