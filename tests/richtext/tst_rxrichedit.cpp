#include "richtext/rtf/longwords.h"
#include "richtext/rtf/richtextformat.h"
#include "richtext/rxdocumentlayout.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFocusEvent>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>
#include <memory>

// The rich text control's contract, driven without a window: positions, whole-text reads,
// selection, undo, plain-text switch, character and paragraph format (and how underlines are
// drawn), find.
class TestRxRichEdit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void positionsCountParagraphBreakAsOne();
    void textAroundAnOffsetForAssistiveTechnology_data();
    void textAroundAnOffsetForAssistiveTechnology();
    void linesCountParagraphsAndEndEveryLineWithCrLf_data();
    void linesCountParagraphsAndEndEveryLineWithCrLf();
    void selectRangeClampsToTheText_data();
    void selectRangeClampsToTheText();
    void selectRangeWithoutScrollKeepsTheView();
    void selTextReplacementIsOneUndoStepAndStaysSelected();
    void selTextTakesTheFirstReplacedCharactersFormat();
    void caretLineAndColumnFollowDisplayLines();
    void caretLineFollowsEditsBeforeIt();
    void editsWhileTheLayoutIsUnderWayLeaveEveryParagraphLaidOut();
    void selectionAndFocusLeaveTheLayoutToTheBackground();
    void pointsFindTheirParagraphWhileTheLayoutIsUnderWay();
    void paragraphsWrittenFromRightToLeftKeepTheirDirection();
    void rightToLeftTextAtTheEndOfALargeLoadIsFound();
    void textWithALongWordWrapsAnywhere_data();
    void textWithALongWordWrapsAnywhere();
    void pastingALongWordWrapsAnywhere();
    void heldNotificationsArriveOnceOnRelease();
    void plainTextSwitchKeepsTextAndDropsFormat();
    void plainTextSwitchDropsPicturesAndLists();
    void loadKeepsTheControlsFontAndNotifiesOnce();
    void linesAddAppendsAParagraph();
    void documentStaysTheSameObjectAndReportsModifiedChanges();
    void modifiedFlagFollowsEditsNotLoads();
    void undoLimitBoundsHowFarUndoGoes();
    void undoLimitZeroSwitchesUndoOff();

    void styleFlagsAndConsistencyOverMixedSelection();
    void insertionFormatAppliesToTheNextTypedCharacter();
    void underlineTypesRoundTripInTheModel_data();
    void underlineTypesRoundTripInTheModel();
    void underlineTypesAreDrawnInTheViewAndOnThePage_data();
    void underlineTypesAreDrawnInTheViewAndOnThePage();
    void automaticColourIsTheAbsenceOfOne();
    void faceNameIsCutTo31Characters();
    void fontCopiesInAndOut();
    void scriptAndProtectedAreAttributes();

    void paragraphAlignmentAndIndentsRoundTrip();
    void numberingAppliesTheIndentRule_data();
    void numberingAppliesTheIndentRule();
    void numberingContinuesTheListAbove();
    void lineSpacingRule();

    void findForwardBackwardAndWithinRange();
    void findNextSelectsOrReportsNotFound();
    void replaceAllStopsWhenReplacementContainsTheSearchText();
    void formatChangesAreIgnoredInPlainText();

private:
    std::unique_ptr<TRxRichEdit> m_edit;
};

void TestRxRichEdit::init() {
    m_edit = std::make_unique<TRxRichEdit>();
    m_edit->resize(400, 300);
}

void TestRxRichEdit::cleanup() {
    m_edit.reset();
}

void TestRxRichEdit::textAroundAnOffsetForAssistiveTechnology_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const QString plain = QStringLiteral("Hello world. Again");
    const int word = QAccessible::WordBoundary;
    const int sentence = QAccessible::SentenceBoundary;
    // The caret stands at 8.
    QTest::newRow("word inside") << plain << 7 << word << "world" << 6 << 11;
    QTest::newRow("space between words") << plain << 5 << word << " " << 5 << 6;
    QTest::newRow("last word") << plain << 17 << word << "Again" << 13 << 18;
    QTest::newRow("sentence inside") << plain << 3 << sentence << "Hello world. " << 0 << 13;
    // Where the caret is while the user types on, and where no word follows: these never came
    // back.
    QTest::newRow("word at the end") << plain << 18 << word << "" << 18 << 18;
    QTest::newRow("sentence at the end") << plain << 18 << sentence << "" << 18 << 18;
    QTest::newRow("end named -1") << plain << -1 << word << "" << 18 << 18;
    QTest::newRow("trailing spaces")
        << QStringLiteral("Hello world  ") << 12 << word << "  " << 11 << 13;
    QTest::newRow("after the last paragraph")
        << QStringLiteral("One.\r\n\r\n") << 5 << sentence << "\n"
        << 5 << 6;
    QTest::newRow("caret named -2") << plain << -2 << word << "world" << 6 << 11;
    QTest::newRow("line at the end")
        << plain << 18 << int(QAccessible::LineBoundary) << plain << 0 << 18;
    QTest::newRow("past the end") << plain << 40 << word << "" << -1 << -1;
}

void TestRxRichEdit::textAroundAnOffsetForAssistiveTechnology() {
    QFETCH(QString, content);
    QFETCH(int, offset);
    QFETCH(int, boundary);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    m_edit->SetText(content);
    m_edit->SelectRange(8, 8, false);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_edit.get());
    QVERIFY(accessible && accessible->textInterface());
    int from = 0;
    int to = 0;
    QCOMPARE(accessible->textInterface()->textAtOffset(
                 offset, QAccessible::TextBoundaryType(boundary), &from, &to),
             text);
    QCOMPARE(std::pair(from, to), std::pair(start, end));
}

void TestRxRichEdit::positionsCountParagraphBreakAsOne() {
    m_edit->SetText(QStringLiteral("ab\r\ncd\ref\ngh"));
    QCOMPARE(m_edit->TextLength(), 11);
    QCOMPARE(m_edit->Text(), QStringLiteral("ab\r\ncd\r\nef\r\ngh"));
    QCOMPARE(m_edit->GetTextLen(), 14);
    m_edit->SelectRange(3, 7);
    QCOMPARE(m_edit->SelText(), QStringLiteral("cd\r\ne"));
    QCOMPARE(m_edit->TextRange(1, 4), QStringLiteral("b\r\nc"));
}

void TestRxRichEdit::linesCountParagraphsAndEndEveryLineWithCrLf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("linesText");
    QTest::addRow("empty") << QString() << 0 << QString();
    QTest::addRow("one line without break") << "abc" << 1 << "abc\r\n";
    QTest::addRow("one line with break") << "abc\r\n" << 1 << "abc\r\n";
    QTest::addRow("empty line inside") << "a\r\n\r\nb" << 3 << "a\r\n\r\nb\r\n";
    QTest::addRow("only a break") << "\r\n" << 1 << "\r\n";
}

void TestRxRichEdit::linesCountParagraphsAndEndEveryLineWithCrLf() {
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, linesText);
    m_edit->Lines().SetText(text);
    QCOMPARE(m_edit->Lines().Count(), count);
    QCOMPARE(m_edit->Lines().Text(), linesText);
    if (count > 0)
        QCOMPARE(m_edit->Lines().Strings(0), text.section(QStringLiteral("\r\n"), 0, 0));
    QCOMPARE(m_edit->Lines().Strings(count), QString());
}

void TestRxRichEdit::selectRangeClampsToTheText_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addRow("inside") << 2 << 5 << 2 << 3;
    QTest::addRow("end past the end") << 4 << 100 << 4 << 6;
    QTest::addRow("both past the end") << 50 << 60 << 10 << 0;
    QTest::addRow("reversed") << 5 << 2 << 2 << 3;
    QTest::addRow("negative start") << -3 << 2 << 0 << 2;
}

void TestRxRichEdit::selectRangeClampsToTheText() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    m_edit->SetText(QStringLiteral("0123456789"));
    m_edit->SelectRange(start, end, true);
    QCOMPARE(m_edit->SelStart(), selStart);
    QCOMPARE(m_edit->SelLength(), selLength);
}

void TestRxRichEdit::selectRangeWithoutScrollKeepsTheView() {
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines << QStringLiteral("line %1").arg(i);
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    m_edit->show();
    m_edit->SelectRange(0, 0, true);
    m_edit->SelectRange(m_edit->TextLength(), m_edit->TextLength(), false);
    QCOMPARE(m_edit->verticalScrollBar()->value(), 0);
    m_edit->SelectRange(m_edit->TextLength(), m_edit->TextLength(), true);
    QVERIFY(m_edit->verticalScrollBar()->value() > 0);
}

void TestRxRichEdit::selTextReplacementIsOneUndoStepAndStaysSelected() {
    m_edit->SetText(QStringLiteral("hello world"));
    QVERIFY(!m_edit->CanUndo());
    m_edit->SelectRange(6, 11);
    m_edit->SetSelText(QStringLiteral("big\r\nplanet"));
    QCOMPARE(m_edit->Text(), QStringLiteral("hello big\r\nplanet"));
    QCOMPARE(m_edit->SelStart(), 6);
    QCOMPARE(m_edit->SelLength(), 10); // the line break counts one
    QCOMPARE(m_edit->SelText(), QStringLiteral("big\r\nplanet"));
    QVERIFY(m_edit->Modified());
    QVERIFY(m_edit->CanUndo());
    m_edit->Undo();
    QCOMPARE(m_edit->Text(), QStringLiteral("hello world"));
    QVERIFY(!m_edit->CanUndo());
    QVERIFY(m_edit->CanRedo());
    m_edit->Redo();
    QCOMPARE(m_edit->Text(), QStringLiteral("hello big\r\nplanet"));
}

void TestRxRichEdit::selTextTakesTheFirstReplacedCharactersFormat() {
    m_edit->SetText(QStringLiteral("boldplain"));
    m_edit->SelectRange(0, 4);
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    m_edit->SelectRange(0, 9);
    m_edit->SetSelText(m_edit->SelText().toUpper());
    QCOMPARE(m_edit->Text(), QStringLiteral("BOLDPLAIN"));
    QVERIFY(m_edit->SelAttributes().Consistent().testFlag(TRxTextAttributes::caBold));
    QVERIFY(m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
}

void TestRxRichEdit::caretLineAndColumnFollowDisplayLines() {
    m_edit->SetText(QStringLiteral("first\r\nsecond line"));
    m_edit->SelectRange(0, 0);
    QCOMPARE(m_edit->CaretLine(), 0);
    QCOMPARE(m_edit->CaretColumn(), 0);
    m_edit->SelectRange(2, 9); // the selection's end counts
    QCOMPARE(m_edit->CaretLine(), 1);
    QCOMPARE(m_edit->CaretColumn(), 3);

    // A paragraph wrapped over several display lines counts each of them.
    m_edit->show();
    m_edit->SetWordWrap(true);
    const QString word = QStringLiteral("wrapping ");
    m_edit->SetText(word.repeated(60) + QStringLiteral("\r\nlast"));
    m_edit->SelectRange(m_edit->TextLength(), m_edit->TextLength());
    QVERIFY(m_edit->CaretLine() > 1);
    QCOMPARE(m_edit->CaretColumn(), 4);
    m_edit->SetWordWrap(false);
    QCOMPARE(m_edit->CaretLine(), 1);
}

void TestRxRichEdit::caretLineFollowsEditsBeforeIt() {
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("line %1").arg(i);
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    const auto lineAtEnd = [this] {
        m_edit->SelectRange(m_edit->TextLength(), m_edit->TextLength());
        return m_edit->CaretLine();
    };
    QCOMPARE(lineAtEnd(), 49);
    m_edit->SelectRange(0, 0);
    QCOMPARE(m_edit->CaretLine(), 0);
    m_edit->SetSelText(QStringLiteral("new\r\nlines\r\n"));
    QCOMPARE(lineAtEnd(), 51);
    m_edit->SelectRange(0, 10); // "new", "lines" and their breaks
    m_edit->ClearSelection();
    QCOMPARE(lineAtEnd(), 49);
    m_edit->SelectRange(30, 30);
    const int middle = m_edit->CaretLine();
    m_edit->SelectRange(2, 2);
    m_edit->SetSelText(QStringLiteral("\r\n"));
    m_edit->SelectRange(31, 31);
    QCOMPARE(m_edit->CaretLine(), middle + 1);
    m_edit->Undo();
    QCOMPARE(lineAtEnd(), 49);
}

// A selection over two paragraphs made Qt finish the whole layout on every repaint of it (each
// selection change and focus change): seconds for long documents, with the window dead.
void TestRxRichEdit::selectionAndFocusLeaveTheLayoutToTheBackground() {
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
    m_edit->SetText(QString(50000, QLatin1Char('\n')));
    auto *layout = dynamic_cast<TRxDocumentLayout *>(m_edit->document()->documentLayout());
    QVERIFY(layout);
    QVERIFY(!layout->LayoutFinished());
    m_edit->SelectRange(0, 1, true);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(m_edit.get(), &in);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(m_edit.get(), &out);
    m_edit->viewport()->repaint();
    QVERIFY(!layout->LayoutFinished());
    QCOMPARE(m_edit->SelStart(), 0);
    QCOMPARE(m_edit->SelLength(), 1);
    // The rest is laid out between events, to the last paragraph.
    QTRY_VERIFY_WITH_TIMEOUT(layout->LayoutFinished(), 60000);
    const QTextDocument *document = m_edit->document();
    QVERIFY(layout->blockBoundingRect(document->lastBlock()).top() >
            layout->blockBoundingRect(document->findBlockByNumber(49000)).bottom());
    QCOMPARE(layout->frameBoundingRect(document->rootFrame()).height(),
             layout->documentSize().height());
}

// Qt's hit test takes paragraphs not laid out yet for height 0 at the top: a point between two
// paragraphs found the last one, and the underline painting walked back from there.
void TestRxRichEdit::pointsFindTheirParagraphWhileTheLayoutIsUnderWay() {
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("line %1").arg(i);
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    m_edit->viewport()->repaint();
    const QTextDocument *document = m_edit->document();
    auto *layout = dynamic_cast<TRxDocumentLayout *>(document->documentLayout());
    QVERIFY(layout && !layout->LayoutFinished());
    const QRectF third = layout->blockBoundingRect(document->findBlockByNumber(2));
    for (const qreal y : {0.0, 1.0, third.top() + 1, third.bottom() - 1}) {
        const int hit = layout->hitTest(QPointF(third.left() + 1, y), Qt::FuzzyHit);
        QVERIFY2(document->findBlock(hit).blockNumber() <= 2, qPrintable(QString::number(y)));
        QVERIFY(TRxDocumentLayout::FirstBlockReaching(*document, y).blockNumber() <= 2);
    }
    QCOMPARE(TRxDocumentLayout::FirstBlockReaching(*document, third.top() + 1).blockNumber(), 2);
    QVERIFY(!layout->LayoutFinished());
}

void TestRxRichEdit::editsWhileTheLayoutIsUnderWayLeaveEveryParagraphLaidOut() {
    // Long enough that the layout after a load is still under way when the edits come.
    QStringList lines;
    for (int i = 0; i < 4000; ++i)
        lines << QStringLiteral("paragraph %1 of a text long enough to be laid out lazily").arg(i);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
    const auto check = [this] {
        const QTextDocument *document = m_edit->document();
        const QAbstractTextDocumentLayout *layout = document->documentLayout();
        QVERIFY(layout->documentSize().height() > 4000 * 5);
        const QRectF middle = layout->blockBoundingRect(document->findBlockByNumber(2000));
        const QRectF last = layout->blockBoundingRect(document->lastBlock());
        QVERIFY(middle.height() > 0);
        QVERIFY(last.height() > 0);
        QVERIFY(last.top() > middle.bottom());
    };
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    m_edit->SetSelText(QStringLiteral("typed "));
    check();
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    m_edit->SelectRange(0, 9, false);
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    check();
    // Far from the top: the caret laid out the text up to it, an edit there comes next.
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    const int deep = m_edit->document()->findBlockByNumber(3000).position();
    m_edit->SelectRange(deep, deep, false);
    m_edit->SetSelText(QStringLiteral("typed "));
    check();
}

void TestRxRichEdit::paragraphsWrittenFromRightToLeftKeepTheirDirection() {
    const auto direction = [this](int block) {
        return m_edit->document()->findBlockByNumber(block).textDirection();
    };
    m_edit->SetText(QStringLiteral("abc\r\n\u05E9\u05DC\u05D5\u05DD abc\r\n123"));
    QCOMPARE(direction(0), Qt::LeftToRight);
    QCOMPARE(direction(1), Qt::RightToLeft);
    QCOMPARE(direction(2), Qt::LeftToRight);
    // Latin only, then right-to-left text typed, undone and redone.
    m_edit->SetText(QStringLiteral("abc\r\ndef"));
    QCOMPARE(direction(1), Qt::LeftToRight);
    m_edit->SelectRange(4, 4);
    m_edit->SetSelText(QStringLiteral("\u0645\u0631\u062D\u0628\u0627 "));
    QCOMPARE(direction(1), Qt::RightToLeft);
    m_edit->Undo();
    QCOMPARE(direction(1), Qt::LeftToRight);
    m_edit->Redo();
    QCOMPARE(direction(1), Qt::RightToLeft);
    // A right-to-left paragraph that was deleted comes back with its direction.
    m_edit->SetText(QStringLiteral("abc\r\n\u05D0\u05D1"));
    m_edit->SelectRange(3, 6);
    m_edit->ClearSelection();
    QCOMPARE(m_edit->Text(), QStringLiteral("abc"));
    m_edit->Undo();
    QCOMPARE(direction(1), Qt::RightToLeft);
}

void TestRxRichEdit::rightToLeftTextAtTheEndOfALargeLoadIsFound() {
    // A load far larger than any typed change, with one right-to-left paragraph at its end.
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 5000; ++i)
        rtf += "Latin text only here\\par\n";
    rtf += "\\u1513?\\u1500?\\u1493?\\u1501? abc}";
    QBuffer buffer(&rtf);
    buffer.open(QIODevice::ReadOnly);
    m_edit->Lines().LoadFromStream(buffer);
    const QTextDocument *doc = m_edit->document();
    QVERIFY(doc->characterCount() > 100000);
    QCOMPARE(doc->lastBlock().text(), QStringLiteral("\u05E9\u05DC\u05D5\u05DD abc"));
    QCOMPARE(doc->lastBlock().textDirection(), Qt::RightToLeft);
    QCOMPARE(doc->firstBlock().textDirection(), Qt::LeftToRight);
}

// Qt measures the rest of a word for every line the word fills before it breaks it anywhere,
// so a word of a million characters took minutes to lay out; text holding a word of
// LongWords::MinimumLength characters or more is wrapped anywhere instead.
void TestRxRichEdit::textWithALongWordWrapsAnywhere_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("anywhere");
    const QString word(LongWords::MinimumLength, QLatin1Char('x'));
    QTest::addRow("ordinary text") << QStringLiteral("short words") << false;
    QTest::addRow("a word one character short")
        << QString(LongWords::MinimumLength - 1, QLatin1Char('x')) << false;
    QTest::addRow("a long word in the second paragraph")
        << QStringLiteral("short words\r\n") + word << true;
    QTest::addRow("a long run parted by a blank")
        << word.left(word.size() / 2) + QLatin1Char(' ') + word.mid(word.size() / 2) << false;
    QTest::addRow("a long run parted by a tab")
        << word.left(word.size() / 2) + QLatin1Char('\t') + word.mid(word.size() / 2) << false;
}

void TestRxRichEdit::textWithALongWordWrapsAnywhere() {
    QFETCH(QString, text);
    QFETCH(bool, anywhere);
    m_edit->show();
    m_edit->SetText(text);
    const QTextOption::WrapMode expected =
        anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    QCOMPARE(m_edit->document()->defaultTextOption().wrapMode(), expected);
    QCOMPARE(m_edit->wordWrapMode(), expected);
    // The next text decides again.
    m_edit->SetText(QStringLiteral("short words"));
    QCOMPARE(m_edit->document()->defaultTextOption().wrapMode(),
             QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void TestRxRichEdit::pastingALongWordWrapsAnywhere() {
    m_edit->show();
    m_edit->SetText(QStringLiteral("short words"));
    m_edit->SelectRange(11, 11);
    m_edit->SetSelText(QLatin1Char(' ') + QString(LongWords::MinimumLength, QLatin1Char('x')));
    QCOMPARE(m_edit->document()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    const QTextLayout *layout = m_edit->document()->lastBlock().layout();
    m_edit->document()->documentLayout()->blockBoundingRect(m_edit->document()->lastBlock());
    QVERIFY(layout->lineCount() > 1);
    QVERIFY(layout->lineAt(0).naturalTextWidth() <= m_edit->viewport()->width());
}

void TestRxRichEdit::heldNotificationsArriveOnceOnRelease() {
    m_edit->SetText(QStringLiteral("one two"));
    QSignalSpy changes(m_edit.get(), &TRxRichEdit::OnChange);
    QSignalSpy selections(m_edit.get(), &TRxRichEdit::OnSelectionChange);
    m_edit->HoldNotifications();
    m_edit->ReleaseNotifications();
    QCOMPARE(changes.count(), 0);
    QCOMPARE(selections.count(), 0);
    m_edit->HoldNotifications();
    m_edit->SelectRange(0, 3);
    m_edit->HoldNotifications();
    m_edit->SetSelText(QStringLiteral("three"));
    m_edit->SetPlainText(true);
    m_edit->ReleaseNotifications();
    QCOMPARE(changes.count(), 0);
    QCOMPARE(selections.count(), 0);
    m_edit->ReleaseNotifications();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(selections.count(), 1);
    // An unmatched release changes nothing.
    m_edit->ReleaseNotifications();
    m_edit->SelectRange(1, 1);
    QCOMPARE(selections.count(), 2);
}

void TestRxRichEdit::plainTextSwitchKeepsTextAndDropsFormat() {
    m_edit->SetText(QStringLiteral("one\r\ntwo"));
    m_edit->SelectRange(0, 3);
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsItalic);
    m_edit->Paragraph().SetAlignment(TRxParaAttributes::taCenter);
    m_edit->SetModified(false);
    m_edit->SelectRange(1, 2);
    m_edit->SetPlainText(true);
    QVERIFY(m_edit->PlainText());
    QCOMPARE(m_edit->Text(), QStringLiteral("one\r\ntwo"));
    QCOMPARE(m_edit->SelStart(), 1);
    QVERIFY(!m_edit->Modified());
    m_edit->SelectAll();
    QCOMPARE(m_edit->SelAttributes().Consistent(), TRxTextAttributes::caAll);
    QVERIFY(!m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsItalic));
    QCOMPARE(m_edit->Paragraph().Alignment(), int(TRxParaAttributes::taLeftJustify));
    m_edit->SetPlainText(false);
    QCOMPARE(m_edit->Text(), QStringLiteral("one\r\ntwo"));
}

void TestRxRichEdit::plainTextSwitchDropsPicturesAndLists() {
    m_edit->SetText(QStringLiteral("ab\r\nitem"));
    auto *data = new QMimeData;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
    m_edit->SelectRange(1, 1);
    m_edit->PasteFromClipboard();
    QCOMPARE(m_edit->TextLength(), 8); // the picture is one character
    m_edit->SelectRange(5, 5);
    m_edit->Paragraph().SetNumbering(TRxParaAttributes::nsBullet);
    m_edit->SetPlainText(true);
    QCOMPARE(m_edit->Text(), QStringLiteral("ab\r\nitem"));
    m_edit->SelectRange(4, 4);
    QCOMPARE(m_edit->Paragraph().Numbering(), 0);
    QCOMPARE(m_edit->Paragraph().LeftIndent(), 0);
    // Pasting a picture in plain text inserts nothing.
    QApplication::clipboard()->setImage(picture);
    m_edit->PasteFromClipboard();
    QCOMPARE(m_edit->Text(), QStringLiteral("ab\r\nitem"));
}

void TestRxRichEdit::loadKeepsTheControlsFontAndNotifiesOnce() {
    QFont font(QStringLiteral("Monospace"), 13);
    m_edit->setFont(font);
    QSignalSpy changes(m_edit.get(), &TRxRichEdit::OnChange);
    QSignalSpy selections(m_edit.get(), &TRxRichEdit::OnSelectionChange);
    m_edit->SelectRange(0, 0);
    m_edit->SetText(QStringLiteral("one\r\ntwo"));
    QCOMPARE(changes.count(), 1);
    m_edit->SelectAll();
    QCOMPARE(m_edit->SelAttributes().Name(), QFontInfo(font).family().isEmpty()
                                                 ? font.family()
                                                 : m_edit->document()->defaultFont().family());
    QCOMPARE(m_edit->SelAttributes().Size(), 13);
    const int before = selections.count();
    m_edit->SetText(QStringLiteral("three"));
    QCOMPARE(selections.count(), before + 1);
    QCOMPARE(m_edit->SelStart(), 0);
}

void TestRxRichEdit::linesAddAppendsAParagraph() {
    m_edit->Lines().Add(QStringLiteral("first"));
    QCOMPARE(m_edit->Lines().Count(), 1);
    m_edit->Lines().Add(QStringLiteral("second"));
    QCOMPARE(m_edit->Lines().Text(), QStringLiteral("first\r\nsecond\r\n"));
    m_edit->SetText(QStringLiteral("a\r\n"));
    m_edit->Lines().Add(QStringLiteral("b"));
    QCOMPARE(m_edit->Lines().Count(), 2);
    QCOMPARE(m_edit->Lines().Strings(1), QStringLiteral("b"));
    m_edit->Lines().Clear();
    QCOMPARE(m_edit->Lines().Count(), 0);
}

void TestRxRichEdit::documentStaysTheSameObjectAndReportsModifiedChanges() {
    // Callers connect to the document's signals once, when the window is made.
    QTextDocument *document = m_edit->document();
    QSignalSpy modified(document, &QTextDocument::modificationChanged);
    m_edit->SetText(QStringLiteral("abc"));
    modified.clear();
    m_edit->SelectRange(3, 3);
    m_edit->SetSelText(QStringLiteral("d"));
    QCOMPARE(modified.count(), 1);
    QCOMPARE(modified.last().at(0).toBool(), true);
    m_edit->SetText(QStringLiteral("new"));
    QCOMPARE(m_edit->document(), document);
    QVERIFY(!m_edit->Modified());
    QCOMPARE(modified.last().at(0).toBool(), false);
    m_edit->SetPlainText(true);
    m_edit->SetPlainText(false);
    QCOMPARE(m_edit->document(), document);
}

void TestRxRichEdit::modifiedFlagFollowsEditsNotLoads() {
    m_edit->SetText(QStringLiteral("abc"));
    QVERIFY(!m_edit->Modified());
    m_edit->SelectRange(3, 3);
    m_edit->SetSelText(QStringLiteral("d"));
    QVERIFY(m_edit->Modified());
    m_edit->SetModified(false);
    QVERIFY(!m_edit->Modified());
    m_edit->SetModified(true);
    QVERIFY(m_edit->Modified());
}

void TestRxRichEdit::undoLimitBoundsHowFarUndoGoes() {
    m_edit->SetUndoLimit(3);
    m_edit->SetText(QString());
    for (const char *piece : {"a", " b", " c", " d", " e"}) {
        m_edit->SelectRange(m_edit->TextLength(), m_edit->TextLength());
        m_edit->SetSelText(QString::fromLatin1(piece));
    }
    int undone = 0;
    while (m_edit->CanUndo()) {
        m_edit->Undo();
        ++undone;
    }
    QCOMPARE(undone, 3);
    QCOMPARE(m_edit->Text(), QStringLiteral("a b"));
    m_edit->Redo();
    QCOMPARE(m_edit->Text(), QStringLiteral("a b c"));
}

void TestRxRichEdit::undoLimitZeroSwitchesUndoOff() {
    m_edit->SetUndoLimit(0);
    m_edit->SetText(QStringLiteral("abc"));
    m_edit->SelectRange(0, 1);
    m_edit->SetSelText(QStringLiteral("x"));
    QVERIFY(!m_edit->CanUndo());
    m_edit->Undo();
    QCOMPARE(m_edit->Text(), QStringLiteral("xbc"));
}

void TestRxRichEdit::styleFlagsAndConsistencyOverMixedSelection() {
    m_edit->SetText(QStringLiteral("italic plain"));
    m_edit->SelectRange(0, 6);
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsItalic);
    m_edit->SelectRange(0, 12);
    TRxTextAttributes attributes = m_edit->SelAttributes();
    // Reads answer for the first character, uniformity for the whole selection.
    QCOMPARE(attributes.Style(), TRxTextAttributes::FontStyles(TRxTextAttributes::fsItalic));
    TRxTextAttributes::ConsistentAttributes consistent = attributes.Consistent();
    QVERIFY(!consistent.testFlag(TRxTextAttributes::caItalic));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caBold));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caSize));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caFace));
    // Bold written with the flags as read makes all four uniform.
    attributes.SetStyle(attributes.Style() | TRxTextAttributes::fsBold);
    consistent = attributes.Consistent();
    QVERIFY(consistent.testFlag(TRxTextAttributes::caItalic));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caBold));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caUnderline));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caStrikeOut));

    // Size and colour differences show in their own flags only.
    m_edit->SelectRange(7, 12);
    attributes.SetSize(20);
    attributes.SetColor(Qt::red);
    m_edit->SelectAll();
    consistent = attributes.Consistent();
    QVERIFY(!consistent.testFlag(TRxTextAttributes::caSize));
    QVERIFY(!consistent.testFlag(TRxTextAttributes::caColor));
    QVERIFY(consistent.testFlag(TRxTextAttributes::caBold));
}

void TestRxRichEdit::insertionFormatAppliesToTheNextTypedCharacter() {
    m_edit->SetText(QStringLiteral("ab"));
    m_edit->SelectRange(2, 2);
    const int size = m_edit->SelAttributes().Size();
    m_edit->SelAttributes().SetSize(size + 3);
    QCOMPARE(m_edit->SelAttributes().Size(), size + 3);
    m_edit->show();
    m_edit->setFocus();
    QTest::keyClicks(m_edit.get(), QStringLiteral("C"));
    QCOMPARE(m_edit->Text(), QStringLiteral("abC"));
    m_edit->SelectRange(2, 3);
    QCOMPARE(m_edit->SelAttributes().Size(), size + 3);
    m_edit->SelectRange(0, 1);
    QCOMPARE(m_edit->SelAttributes().Size(), size);
}

void TestRxRichEdit::underlineTypesRoundTripInTheModel_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("qtStyle");
    QTest::addRow("none") << 0 << int(QTextCharFormat::NoUnderline);
    QTest::addRow("solid") << 1 << int(QTextCharFormat::SingleUnderline);
    // Qt's own line stays off under words-only text; the view draws it word by word.
    QTest::addRow("word") << 2 << int(QTextCharFormat::NoUnderline);
    QTest::addRow("double") << 3 << int(QTextCharFormat::SingleUnderline);
    QTest::addRow("dotted") << 4 << int(QTextCharFormat::DotLine);
    QTest::addRow("wave") << 5 << int(QTextCharFormat::WaveUnderline);
}

void TestRxRichEdit::underlineTypesRoundTripInTheModel() {
    QFETCH(int, type);
    QFETCH(int, qtStyle);
    m_edit->SetText(QStringLiteral("underline me"));
    m_edit->SelectRange(0, 9);
    m_edit->SelAttributes().SetUnderlineType(5);
    m_edit->SelAttributes().SetUnderlineType(type);
    QCOMPARE(m_edit->SelAttributes().UnderlineType(), type);
    QCOMPARE(m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsUnderline), type != 0);
    const QTextCharFormat format = m_edit->SelAttributes().Format();
    QCOMPARE(int(format.underlineStyle()), qtStyle);
    QCOMPARE(RichTextFormat::underlineType(format), type);
    // Switching the flag off through the style set clears the type; on again gives solid.
    m_edit->SelAttributes().SetStyle({});
    QCOMPARE(m_edit->SelAttributes().UnderlineType(), 0);
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsUnderline);
    QCOMPARE(m_edit->SelAttributes().UnderlineType(), 1);
}

namespace {

// The view, or the whole text drawn as a page, with an underline type on all of it.
QImage renderWithUnderline(TRxRichEdit &edit, int type, bool page) {
    edit.SelectAll();
    edit.SelAttributes().SetUnderlineType(type);
    edit.SelectRange(0, 0, false);
    if (!page)
        return edit.viewport()->grab().toImage();
    QImage image(edit.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TFormatRange range;
    range.painter = &painter;
    const int twipsPerPixel = 1440 / image.logicalDpiX();
    range.rc = QRect(QPoint(0, 0), image.size() * twipsPerPixel);
    range.rcPage = range.rc;
    edit.FormatRange(&range, true);
    return image;
}

// Where `image` differs from `plain` by a dark pixel: the bands of rows that differ, and in the
// first of them the runs of differing pixels along the row.
struct Difference {
    int bands = 0;
    int runsAlongFirstBand = 0;
};

Difference darkDifference(const QImage &image, const QImage &plain) {
    const auto differs = [&](int x, int y) {
        return image.pixel(x, y) != plain.pixel(x, y) && qGray(image.pixel(x, y)) < 128;
    };
    Difference d;
    int firstBandRow = -1;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool any = false;
        for (int x = 0; x < image.width() && !any; ++x)
            any = differs(x, y);
        if (any && !inBand) {
            ++d.bands;
            if (firstBandRow < 0)
                firstBandRow = y;
        }
        inBand = any;
    }
    if (firstBandRow < 0)
        return d;
    bool inRun = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool on = differs(x, firstBandRow);
        d.runsAlongFirstBand += on && !inRun;
        inRun = on;
    }
    return d;
}

} // namespace

void TestRxRichEdit::underlineTypesAreDrawnInTheViewAndOnThePage_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("page");
    QTest::addColumn<int>("bands");
    QTest::addColumn<int>("runs");
    for (const bool page : {false, true}) {
        const char *where = page ? "page" : "view";
        // One line under both words and the blank between them.
        QTest::addRow("solid, %s", where) << 1 << page << 1 << 1;
        // One line under each word, none under the blank.
        QTest::addRow("words only, %s", where) << 2 << page << 1 << 2;
        // Two separate lines, both under the blank too.
        QTest::addRow("double, %s", where) << 3 << page << 2 << 1;
    }
}

void TestRxRichEdit::underlineTypesAreDrawnInTheViewAndOnThePage() {
    QFETCH(int, type);
    QFETCH(bool, page);
    QFETCH(int, bands);
    QFETCH(int, runs);
    m_edit->resize(600, 200);
    m_edit->SetText(QStringLiteral("HH HH"));
    m_edit->SelectAll();
    m_edit->SelAttributes().SetSize(48);
    m_edit->SelAttributes().SetColor(Qt::black);
    const QImage plain = renderWithUnderline(*m_edit, 0, page);
    const QImage underlined = renderWithUnderline(*m_edit, type, page);
    const Difference d = darkDifference(underlined, plain);
    QCOMPARE(d.bands, bands);
    QCOMPARE(d.runsAlongFirstBand, runs);
}

void TestRxRichEdit::automaticColourIsTheAbsenceOfOne() {
    m_edit->SetText(QStringLiteral("colour"));
    m_edit->SelectRange(0, 6);
    QVERIFY(!m_edit->SelAttributes().Color().isValid());
    QVERIFY(!m_edit->SelAttributes().BackColor().isValid());
    m_edit->SelAttributes().SetColor(Qt::blue);
    m_edit->SelAttributes().SetBackColor(Qt::yellow);
    QCOMPARE(m_edit->SelAttributes().Color(), QColor(Qt::blue));
    QCOMPARE(m_edit->SelAttributes().BackColor(), QColor(Qt::yellow));
    m_edit->SelectRange(0, 3);
    m_edit->SelAttributes().SetColor(QColor());
    m_edit->SelAttributes().SetBackColor(QColor());
    QVERIFY(!m_edit->SelAttributes().Color().isValid());
    QVERIFY(!m_edit->SelAttributes().Format().hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!m_edit->SelAttributes().BackColor().isValid());
    m_edit->SelectRange(3, 6);
    QCOMPARE(m_edit->SelAttributes().Color(), QColor(Qt::blue));
}

void TestRxRichEdit::faceNameIsCutTo31Characters() {
    m_edit->SetText(QStringLiteral("face"));
    m_edit->SelectAll();
    m_edit->SelAttributes().SetName(QString(40, u'F'));
    QCOMPARE(m_edit->SelAttributes().Name(), QString(31, u'F'));
}

void TestRxRichEdit::fontCopiesInAndOut() {
    m_edit->SetText(QStringLiteral("font"));
    m_edit->SelectAll();
    QFont font(QStringLiteral("Serif"), 17);
    font.setBold(true);
    font.setUnderline(true);
    m_edit->SelAttributes().Assign(font);
    TRxTextAttributes attributes = m_edit->SelAttributes();
    QCOMPARE(attributes.Name(), QStringLiteral("Serif"));
    QCOMPARE(attributes.Size(), 17);
    QCOMPARE(attributes.Style(), TRxTextAttributes::fsBold | TRxTextAttributes::fsUnderline);
    const QFont back = attributes.ToFont();
    QCOMPARE(back.family(), QStringLiteral("Serif"));
    QCOMPARE(back.pointSize(), 17);
    QVERIFY(back.bold());
    QVERIFY(back.underline());
    QVERIFY(!back.italic());
}

void TestRxRichEdit::scriptAndProtectedAreAttributes() {
    m_edit->SetText(QStringLiteral("x2"));
    m_edit->SelectRange(1, 2);
    m_edit->SelAttributes().SetScriptStyle(TRxTextAttributes::ssSuperscript);
    QCOMPARE(m_edit->SelAttributes().ScriptStyle(), 2);
    m_edit->SelAttributes().SetScriptStyle(TRxTextAttributes::ssSubscript);
    QCOMPARE(m_edit->SelAttributes().ScriptStyle(), 1);
    m_edit->SelAttributes().SetProtected(true);
    QVERIFY(m_edit->SelAttributes().Protected());
    m_edit->SelectAll();
    QVERIFY(!m_edit->SelAttributes().Consistent().testFlag(TRxTextAttributes::caScript));
    QVERIFY(!m_edit->SelAttributes().Consistent().testFlag(TRxTextAttributes::caProtected));
}

void TestRxRichEdit::paragraphAlignmentAndIndentsRoundTrip() {
    m_edit->SetText(QStringLiteral("one\r\ntwo\r\nthree"));
    m_edit->SelectRange(1, 5); // touches the first two paragraphs
    TRxParaAttributes paragraph = m_edit->Paragraph();
    for (int alignment : {3, 2, 1, 0}) {
        paragraph.SetAlignment(alignment);
        QCOMPARE(paragraph.Alignment(), alignment);
    }
    paragraph.SetFirstIndent(20);
    paragraph.SetLeftIndent(15);
    paragraph.SetRightIndent(7);
    paragraph.SetSpaceBefore(6);
    paragraph.SetSpaceAfter(4);
    // Moving the first line keeps the later lines' indent relative to it.
    paragraph.SetFirstIndent(30);
    QCOMPARE(paragraph.FirstIndent(), 30);
    QCOMPARE(paragraph.LeftIndent(), 15);
    QCOMPARE(paragraph.RightIndent(), 7);
    QCOMPARE(paragraph.SpaceBefore(), 6);
    QCOMPARE(paragraph.SpaceAfter(), 4);
    const QTextBlockFormat second = m_edit->document()->findBlockByNumber(1).blockFormat();
    QCOMPARE(second.leftMargin(), RichTextFormat::pointsToUnits(45));
    QCOMPARE(second.textIndent(), -RichTextFormat::pointsToUnits(15));
    m_edit->SelectRange(12, 12);
    QCOMPARE(m_edit->Paragraph().FirstIndent(), 0);
    QCOMPARE(m_edit->Paragraph().LeftIndent(), 0);
}

void TestRxRichEdit::numberingAppliesTheIndentRule_data() {
    QTest::addColumn<int>("leftBefore");
    QTest::addColumn<int>("numbering");
    QTest::addColumn<int>("leftAfter");
    QTest::addRow("bullet raises a small indent") << 4 << 1 << 10;
    QTest::addRow("style keeps a larger indent") << 25 << 2 << 25;
    QTest::addRow("upper roman") << 0 << 6 << 10;
    QTest::addRow("none zeroes it") << 25 << 0 << 0;
}

void TestRxRichEdit::numberingAppliesTheIndentRule() {
    QFETCH(int, leftBefore);
    QFETCH(int, numbering);
    QFETCH(int, leftAfter);
    m_edit->SetText(QStringLiteral("item"));
    m_edit->Paragraph().SetFirstIndent(8);
    m_edit->Paragraph().SetLeftIndent(leftBefore);
    m_edit->Paragraph().SetNumbering(numbering);
    QCOMPARE(m_edit->Paragraph().Numbering(), numbering);
    QCOMPARE(m_edit->Paragraph().LeftIndent(), leftAfter);
    QCOMPARE(m_edit->Paragraph().FirstIndent(), 8);
    m_edit->Paragraph().SetNumbering(0);
    QCOMPARE(m_edit->Paragraph().Numbering(), 0);
    QCOMPARE(m_edit->Paragraph().LeftIndent(), 0);
    QCOMPARE(m_edit->Paragraph().FirstIndent(), 8);
}

void TestRxRichEdit::numberingContinuesTheListAbove() {
    m_edit->SetText(QStringLiteral("a\r\nb\r\nc"));
    for (int start : {0, 2, 4}) {
        m_edit->SelectRange(start, start);
        m_edit->Paragraph().SetNumbering(TRxParaAttributes::nsArabicNumbers);
    }
    const QTextBlock first = m_edit->document()->firstBlock();
    QVERIFY(first.textList());
    QCOMPARE(first.textList()->count(), 3);
    QCOMPARE(first.textList()->itemNumber(m_edit->document()->lastBlock()), 2);
}

void TestRxRichEdit::lineSpacingRule() {
    m_edit->SetText(QStringLiteral("spacing"));
    TRxParaAttributes paragraph = m_edit->Paragraph();
    QCOMPARE(paragraph.LineSpacingRule(), 0);
    QCOMPARE(paragraph.LineSpacing(), 0);
    paragraph.SetLineSpacingRule(3);
    paragraph.SetLineSpacing(12);
    QCOMPARE(paragraph.LineSpacingRule(), 3);
    QCOMPARE(paragraph.LineSpacing(), 12);
    paragraph.SetLineSpacingRule(0);
    paragraph.SetLineSpacing(0);
    QCOMPARE(paragraph.LineSpacingRule(), 0);
    QCOMPARE(paragraph.LineSpacing(), 0);
}

void TestRxRichEdit::findForwardBackwardAndWithinRange() {
    m_edit->SetText(QStringLiteral("cat Cat\r\ncatalog cat"));
    using S = TRxRichEdit;
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 0, -1, {}), 0);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 1, -1, {}), 4);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 1, -1, S::stMatchCase), 8);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 9, -1, S::stWholeWord), 16);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 1, 8, S::stMatchCase), -1);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 0, 19, {}, true), 16);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 0, 18, {}, true), 8);
    QCOMPARE(m_edit->FindText(QStringLiteral("cat"), 0, 7, {}, true), 4);
    QCOMPARE(m_edit->FindText(QStringLiteral("dog"), 0, -1, {}), -1);
    QCOMPARE(m_edit->FindText(QString(), 0, -1, {}), -1);
}

void TestRxRichEdit::findNextSelectsOrReportsNotFound() {
    m_edit->SetText(QStringLiteral("one two one"));
    QSignalSpy notFound(m_edit.get(), &TRxRichEdit::OnTextNotFound);
    m_edit->SelectRange(0, 3);
    QVERIFY(m_edit->FindNext(QStringLiteral("one"), {}));
    QCOMPARE(m_edit->SelStart(), 8);
    QCOMPARE(m_edit->SelLength(), 3);
    QVERIFY(!m_edit->FindNext(QStringLiteral("one"), {}));
    QCOMPARE(notFound.count(), 1);
    QCOMPARE(notFound.at(0).at(0).toString(), QStringLiteral("one"));
    QVERIFY(m_edit->FindNext(QStringLiteral("one"), {}, false));
    QCOMPARE(m_edit->SelStart(), 0);
}

void TestRxRichEdit::replaceAllStopsWhenReplacementContainsTheSearchText() {
    m_edit->SetText(QStringLiteral("a b a b"));
    m_edit->SelectRange(0, 0);
    QSignalSpy changes(m_edit.get(), &TRxRichEdit::OnChange);
    QSignalSpy selections(m_edit.get(), &TRxRichEdit::OnSelectionChange);
    QCOMPARE(m_edit->ReplaceAll(QStringLiteral("a"), QStringLiteral("aa"), {}), 2);
    QCOMPARE(m_edit->Text(), QStringLiteral("aa b aa b"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(selections.count(), 1);
    // The whole replacement is one undo step.
    m_edit->Undo();
    QCOMPARE(m_edit->Text(), QStringLiteral("a b a b"));

    QSignalSpy notFound(m_edit.get(), &TRxRichEdit::OnTextNotFound);
    QCOMPARE(m_edit->ReplaceAll(QStringLiteral("z"), QStringLiteral("y"), {}), 0);
    QCOMPARE(notFound.count(), 1);
}

void TestRxRichEdit::formatChangesAreIgnoredInPlainText() {
    m_edit->SetText(QStringLiteral("plain"));
    m_edit->SetPlainText(true);
    m_edit->SelectAll();
    m_edit->SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    m_edit->Paragraph().SetNumbering(1);
    QVERIFY(!m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
    QCOMPARE(m_edit->Paragraph().Numbering(), 0);
}

QUILLET_TEST_MAIN(TestRxRichEdit)
#include "tst_rxrichedit.moc"
