#include "editor/texttools/texttools.h"
#include "platform/usererror.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

class tst_TextTools : public QObject {
    Q_OBJECT

private slots:
    void wordCount_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::addRow("empty") << "" << 0;
        QTest::addRow("one word") << "word" << 1;
        QTest::addRow("apostrophe inside") << "don't" << 1;
        QTest::addRow("hyphen splits") << "e-mail" << 2;
        QTest::addRow("decimal point splits") << "3.14" << 2;
        QTest::addRow("accent inside") << QStringLiteral("café au lait") << 3;
        QTest::addRow("lone accented letter") << QStringLiteral("é") << 1;
        QTest::addRow("line breaks and tabs") << "one\r\ntwo\tthree  four\r\n" << 4;
        QTest::addRow("brackets split, braces join") << "a[b]c {x}" << 4;
        QTest::addRow("typographic apostrophe joins") << QStringLiteral("don’t") << 1;
        QTest::addRow("dash between spaces is a word") << QStringLiteral("a – b") << 3;
        QTest::addRow("no-break space joins") << QStringLiteral("10\u00a0km") << 1;
        QTest::addRow("greek words") << QStringLiteral("καλή μέρα") << 2;
        QTest::addRow("punctuation only") << "... !? --" << 0;
    }
    void wordCount() {
        QFETCH(QString, text);
        QFETCH(int, words);
        QCOMPARE(WordCount(text), words);
    }

    void wordCountText() {
        QCOMPARE(WordCountText(1), QStringLiteral("1 words"));
        QCOMPARE(WordCountText(0), QStringLiteral("0 words"));
        QCOMPARE(WordCountText(12345), QStringLiteral("12345 words"));
    }

    void caseConversion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addRow("ascii") << "Hello World 42"
                               << "hello world 42"
                               << "HELLO WORLD 42";
        QTest::addRow("accents stay") << QStringLiteral("Élan café") << QStringLiteral("Élan café")
                                      << QStringLiteral("ÉLAN CAFé");
        QTest::addRow("line breaks stay") << "A\r\nb"
                                          << "a\r\nb"
                                          << "A\r\nB";
    }
    void caseConversion() {
        QFETCH(QString, text);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QCOMPARE(LowercaseAZ(text), lower);
        QCOMPARE(UppercaseAZ(text), upper);
    }

    void capitalRuns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<TextRange>>("runs");
        QTest::addRow("none") << "hello" << QList<TextRange>{};
        QTest::addRow("runs") << "ABc DE" << QList<TextRange>{{0, 2}, {4, 6}};
        QTest::addRow("line break counts one") << "a\r\nBC" << QList<TextRange>{{2, 4}};
        QTest::addRow("break between capitals splits")
            << "A\r\nB" << QList<TextRange>{{0, 1}, {2, 3}};
        QTest::addRow("accented capitals are not enlarged")
            << QStringLiteral("ÉA") << QList<TextRange>{{1, 2}};
    }
    void capitalRuns() {
        QFETCH(QString, text);
        QFETCH(QList<TextRange>, runs);
        QCOMPARE(CapitalRuns(text), runs);
    }

    void sizeBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points"); // -1: conversion error
        QTest::addRow("number") << "12" << 12;
        QTest::addRow("spaces around") << " 9 " << 9;
        QTest::addRow("unit") << "12pt" << -1;
        QTest::addRow("empty") << "" << -1;
        QTest::addRow("fraction") << "10.5" << -1;
    }
    void sizeBox() {
        QFETCH(QString, text);
        QFETCH(int, points);
        if (points >= 0) {
            QCOMPARE(SizeBoxPoints(text), points);
            return;
        }
        try {
            SizeBoxPoints(text);
            QFAIL("no error");
        } catch (const UserError &e) {
            QCOMPARE(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }

    void letterStyleCaret() {
        QCOMPARE(LetterStyleCaret(10, 3), 7);
        QCOMPARE(LetterStyleCaret(3, 3), 0);
        QCOMPARE(LetterStyleCaret(5, 0), 5);
        QCOMPARE(LetterStyleCaret(1, 4), 0); // before the text: the start
    }

    // Typing A, B, c: the size rises before A and falls before c; control keys lower it too.
    void letterStyleTyping_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("deltas");
        QTest::addRow("A B c") << "ABc" << QList<int>{3, 0, -3};
        QTest::addRow("small letters only") << "abc" << QList<int>{0, 0, 0};
        QTest::addRow("capital then Return") << "A\r" << QList<int>{3, -3};
        QTest::addRow("accented capital is not a capital")
            << QStringLiteral("ÉA1") << QList<int>{0, 3, -3};
    }
    void letterStyleTyping() {
        QFETCH(QString, keys);
        QFETCH(QList<int>, deltas);
        bool capsEnlarged = false;
        QList<int> got;
        for (const QChar key : keys)
            got.append(LetterStyleKeyDelta(key, capsEnlarged));
        QCOMPARE(got, deltas);
    }

    void notFoundText() {
        QCOMPARE(NotFoundText(QStringLiteral("needle")),
                 QStringLiteral("Text \"needle\" not found."));
    }

    void dialogOffMatch_data() {
        QTest::addColumn<QRect>("dialog");
        QTest::addColumn<QPoint>("match");
        QTest::addColumn<QPoint>("after");
        QTest::addColumn<int>("top"); // -1: stays
        const QRect screen(0, 0, 1000, 800);
        Q_UNUSED(screen);
        QTest::addRow("apart") << QRect(600, 100, 300, 150) << QPoint(100, 400) << QPoint(150, 400)
                               << -1;
        QTest::addRow("covers the match, room above")
            << QRect(50, 350, 300, 150) << QPoint(100, 400) << QPoint(150, 400) << 400 - 20 - 150;
        QTest::addRow("covers the point below the end")
            << QRect(140, 410, 300, 150) << QPoint(100, 400) << QPoint(150, 400) << 400 - 20 - 150;
        QTest::addRow("no room above: below the match")
            << QRect(50, 50, 300, 150) << QPoint(100, 100) << QPoint(150, 100) << 140;
        QTest::addRow("no room anywhere")
            << QRect(0, 0, 300, 790) << QPoint(100, 100) << QPoint(150, 100) << -1;
    }
    void dialogOffMatch() {
        QFETCH(QRect, dialog);
        QFETCH(QPoint, match);
        QFETCH(QPoint, after);
        QFETCH(int, top);
        const std::optional<int> got =
            DialogTopOffMatch(dialog, match, after, QRect(0, 0, 1000, 800));
        QCOMPARE(got.value_or(-1), top);
    }
};

QUILLET_TEST_MAIN(tst_TextTools)
#include "tst_texttools.moc"
