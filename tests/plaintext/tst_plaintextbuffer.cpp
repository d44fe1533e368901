#include "plaintext/plaintextbuffer.h"
#include "plaintext/plaintexthistory.h"
#include "testenvironment.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>

// The text model of text mode: its line index through loads and edits, find, and the undo
// history on top of it.
class TestPlainTextBuffer : public QObject {
    Q_OBJECT

private slots:
    void loadsLines_data();
    void loadsLines();
    void editsKeepTheLineIndex();
    void find_data();
    void find();
    void undoRedoRestoresTextAndSelection();
    void typingJoinsOneStepGroupsAndLimit();
};

namespace {

// Checks every line of the buffer against the reference text split at '\n'.
void compareLines(const PlainTextBuffer &buffer, const QString &reference) {
    QCOMPARE(buffer.toString(), reference);
    QCOMPARE(buffer.length(), reference.size());
    const QStringList lines = reference.split(QLatin1Char('\n'));
    QCOMPARE(buffer.lineCount(), lines.size());
    int start = 0;
    for (int line = 0; line < lines.size(); ++line) {
        QCOMPARE(buffer.lineStart(line), start);
        QCOMPARE(buffer.lineLength(line), lines[line].size());
        QCOMPARE(buffer.lineText(line), lines[line]);
        QCOMPARE(buffer.lineOf(start), line);
        QCOMPARE(buffer.lineOf(start + int(lines[line].size())), line);
        start += int(lines[line].size()) + 1;
    }
}

} // namespace

void TestPlainTextBuffer::loadsLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one line") << "abc"
                              << "abc";
    QTest::newRow("ends with a break") << "abc\n"
                                       << "abc\n";
    QTest::newRow("only breaks") << "\n\n\n"
                                 << "\n\n\n";
    QTest::newRow("CR LF and CR") << "a\r\nb\rc\r\r\n"
                                  << "a\nb\nc\n\n";
    QTest::newRow("bare CRs") << "\r\r\r"
                              << "\n\n\n";
    QTest::newRow("surrogates and tabs")
        << QStringLiteral("\U0001F600\tx\ny") << QStringLiteral("\U0001F600\tx\ny");
}

void TestPlainTextBuffer::loadsLines() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    PlainTextBuffer buffer;
    buffer.setText(text);
    compareLines(buffer, stored);
    // Out-of-range positions and lines are clamped, never read past the text.
    QCOMPARE(buffer.lineOf(-5), 0);
    QCOMPARE(buffer.lineOf(buffer.length() + 5), buffer.lineCount() - 1);
    QCOMPARE(buffer.at(buffer.length()), QChar());
    QCOMPARE(buffer.text(-3, buffer.length() + 3), stored);
}

void TestPlainTextBuffer::editsKeepTheLineIndex() {
    // Random replacements (across the gap, over line breaks, at both ends) against a QString.
    QRandomGenerator rng(20);
    PlainTextBuffer buffer;
    QString reference = QStringLiteral("first\nsecond\n\nthird line\r\nlast");
    buffer.setText(reference);
    reference.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QString pieces[] = {QString(),
                              QStringLiteral("x"),
                              QStringLiteral("\n"),
                              QStringLiteral("ab\ncd"),
                              QStringLiteral("\n\n"),
                              QStringLiteral("r\r\ns"),
                              QStringLiteral("long text without break")};
    for (int round = 0; round < 3000; ++round) {
        const int start = int(rng.bounded(reference.size() + 1));
        const int end =
            start + int(rng.bounded(std::min<qsizetype>(8, reference.size() - start + 1)));
        const QString &piece = pieces[rng.bounded(7)];
        const int inserted = buffer.replace(start, end, piece);
        QString normal = piece;
        normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        reference.replace(start, end - start, normal);
        QCOMPARE(inserted, normal.size());
        if (round % 50 == 0 || reference.size() < 40)
            compareLines(buffer, reference);
    }
    compareLines(buffer, reference);
    int longest = 0;
    for (const QString &line : reference.split(QLatin1Char('\n')))
        longest = std::max(longest, int(line.size()));
    QVERIFY(buffer.longestLine() >= longest);
}

void TestPlainTextBuffer::find_data() {
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<int>("found");
    // "Cat catalog\ncat. CAT"
    //  0123456789012 345678
    QTest::newRow("first, any case") << "cat" << 0 << -1 << false << false << false << 0;
    QTest::newRow("first, matching case") << "cat" << 0 << -1 << true << false << false << 4;
    QTest::newRow("whole word skips catalog") << "cat" << 1 << -1 << false << true << false << 12;
    QTest::newRow("backward, any case") << "cat" << 0 << -1 << false << false << true << 17;
    QTest::newRow("backward, whole word, case") << "cat" << 0 << -1 << true << true << true << 12;
    QTest::newRow("over a line break") << "g\ncat" << 0 << -1 << false << false << false << 10;
    QTest::newRow("range end cuts a match")
        << "catalog" << 0 << 10 << false << false << false << -1;
    QTest::newRow("not there") << "dog" << 0 << -1 << false << false << false << -1;
    QTest::newRow("empty needle") << "" << 0 << -1 << false << false << false << -1;
}

void TestPlainTextBuffer::find() {
    QFETCH(QString, needle);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(bool, backward);
    QFETCH(int, found);
    PlainTextBuffer buffer;
    // Built by edits, so that the gap lies inside the text.
    buffer.setText(u"Cat CAT");
    buffer.replace(4, 4, u"catalog\ncat. ");
    QCOMPARE(buffer.toString(), QStringLiteral("Cat catalog\ncat. CAT"));
    QCOMPARE(buffer.find(needle, from, to < 0 ? buffer.length() : to,
                         matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive, wholeWord, backward),
             found);
}

void TestPlainTextBuffer::undoRedoRestoresTextAndSelection() {
    PlainTextBuffer buffer;
    buffer.setText(u"one\ntwo\nthree");
    PlainTextHistory history;
    history.replace(buffer, 2, 6, QStringLiteral("X\nY\nZ"), 6, 2);
    history.replace(buffer, 0, 0, QStringLiteral(">"), 0, 0);
    QCOMPARE(buffer.toString(), QStringLiteral(">onX\nY\nZo\nthree"));
    QCOMPARE(history.undo(buffer), std::make_pair(0, 0));
    QCOMPARE(history.undo(buffer), std::make_pair(6, 2));
    compareLines(buffer, QStringLiteral("one\ntwo\nthree"));
    QVERIFY(!history.canUndo());
    QCOMPARE(history.redo(buffer), std::make_pair(7, 7));
    QCOMPARE(history.redo(buffer).second, 1);
    compareLines(buffer, QStringLiteral(">onX\nY\nZo\nthree"));
    // A new edit after an undo drops what could be redone.
    history.undo(buffer);
    history.replace(buffer, 0, 0, QStringLiteral("#"), 0, 0);
    QVERIFY(!history.canRedo());
}

void TestPlainTextBuffer::typingJoinsOneStepGroupsAndLimit() {
    PlainTextBuffer buffer;
    PlainTextHistory history;
    for (int i = 0; i < 5; ++i)
        history.replace(buffer, i, i, QStringLiteral("a"), i, i, true);
    // Typing elsewhere starts a new step.
    history.replace(buffer, 0, 0, QStringLiteral("b"), 0, 0, true);
    history.undo(buffer);
    QCOMPARE(buffer.toString(), QStringLiteral("aaaaa"));
    history.undo(buffer);
    QCOMPARE(buffer.toString(), QString());
    QVERIFY(!history.canUndo());

    history.beginGroup();
    history.replace(buffer, 0, 0, QStringLiteral("1"), 0, 0);
    history.beginGroup();
    history.replace(buffer, 1, 1, QStringLiteral("2"), 1, 1);
    history.endGroup();
    history.replace(buffer, 0, 1, QStringLiteral("3"), 2, 2);
    history.endGroup();
    QCOMPARE(buffer.toString(), QStringLiteral("32"));
    history.undo(buffer);
    QCOMPARE(buffer.toString(), QString());
    QVERIFY(!history.canUndo());

    history.setLimit(2);
    for (int i = 0; i < 4; ++i)
        history.replace(buffer, i, i, QString::number(i), i, i);
    history.undo(buffer);
    history.undo(buffer);
    QVERIFY(!history.canUndo());
    QCOMPARE(buffer.toString(), QStringLiteral("01"));
    history.setLimit(0);
    history.replace(buffer, 0, 0, QStringLiteral("z"), 0, 0);
    QVERIFY(!history.canUndo());
}

QUILLET_TEST_MAIN(TestPlainTextBuffer)
#include "tst_plaintextbuffer.moc"
