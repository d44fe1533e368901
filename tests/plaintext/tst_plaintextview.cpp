#include "plaintext/plaintextview.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

// Text mode's viewport-only view, driven by keys and the mouse without a window around it.
class TestPlainTextView : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typingAndEditingKeys();
    void movingAndSelectingKeys_data();
    void movingAndSelectingKeys();
    void undoRedoAndModified();
    void clipboard();
    void mouseSetsAndExtendsTheSelection();
    void wordWrapKeepsTheCaretInView();
    void millionsOfLinesScrollToTheCaret();
    void readAndEditedByAssistiveTechnology();

private:
    std::unique_ptr<PlainTextView> m_view;
};

void TestPlainTextView::init() {
    m_view = std::make_unique<PlainTextView>();
    m_view->resize(400, 300);
    m_view->show();
    m_view->setFocus();
}

void TestPlainTextView::cleanup() {
    m_view.reset();
}

void TestPlainTextView::typingAndEditingKeys() {
    PlainTextView &view = *m_view;
    QSignalSpy changed(&view, &PlainTextView::textChanged);
    QTest::keyClicks(&view, QStringLiteral("ab\tc"));
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClicks(&view, QStringLiteral("de"));
    QCOMPARE(view.text(), QStringLiteral("ab\tc\nde"));
    QCOMPARE(view.buffer().lineCount(), 2);
    QCOMPARE(changed.count(), 7);
    // Backspace at a line's start joins it to the line above; Delete at a line's end too.
    QTest::keyClick(&view, Qt::Key_Home);
    QTest::keyClick(&view, Qt::Key_Backspace);
    QCOMPARE(view.text(), QStringLiteral("ab\tcde"));
    QCOMPARE(view.position(), 4);
    QTest::keyClick(&view, Qt::Key_Delete);
    QCOMPARE(view.text(), QStringLiteral("ab\tce"));
    // Typing over a selection replaces it; control characters are not typed.
    view.select(0, 2);
    QTest::keyClicks(&view, QStringLiteral("X"));
    QTest::keyClick(&view, Qt::Key_Escape);
    QCOMPARE(view.text(), QStringLiteral("X\tce"));
    QCOMPARE(view.buffer().lineCount(), 1);
    // Backspace and Delete at the ends of the text change nothing.
    view.select(0, 0);
    QTest::keyClick(&view, Qt::Key_Backspace);
    view.select(view.length(), view.length());
    QTest::keyClick(&view, Qt::Key_Delete);
    QCOMPARE(view.text(), QStringLiteral("X\tce"));
}

void TestPlainTextView::movingAndSelectingKeys_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    // "alpha beta\n\nlonger line here\nend"
    //  0123456789 1 2345678901234567 8901
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int control = Qt::ControlModifier;
    QTest::newRow("right") << 0 << int(Qt::Key_Right) << none << 1 << 1;
    QTest::newRow("shift right") << 0 << int(Qt::Key_Right) << shift << 0 << 1;
    QTest::newRow("ctrl right, word end") << 0 << int(Qt::Key_Right) << control << 5 << 5;
    QTest::newRow("ctrl left, word start") << 8 << int(Qt::Key_Left) << control << 6 << 6;
    QTest::newRow("left at start") << 0 << int(Qt::Key_Left) << none << 0 << 0;
    QTest::newRow("down over empty line") << 3 << int(Qt::Key_Down) << none << 11 << 11;
    QTest::newRow("down to shorter line") << 20 << int(Qt::Key_Down) << none << 32 << 32;
    QTest::newRow("up from first line") << 3 << int(Qt::Key_Up) << none << 0 << 0;
    QTest::newRow("down from last line") << 30 << int(Qt::Key_Down) << none << 32 << 32;
    QTest::newRow("up at column 0") << 29 << int(Qt::Key_Up) << none << 12 << 12;
    QTest::newRow("end") << 14 << int(Qt::Key_End) << none << 28 << 28;
    QTest::newRow("shift home") << 14 << int(Qt::Key_Home) << shift << 14 << 12;
    QTest::newRow("ctrl end") << 0 << int(Qt::Key_End) << control << 32 << 32;
    QTest::newRow("ctrl shift home") << 20 << int(Qt::Key_Home) << (control | shift) << 20 << 0;
    QTest::newRow("select all") << 5 << int(Qt::Key_A) << control << 0 << 32;
}

void TestPlainTextView::movingAndSelectingKeys() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, anchor);
    QFETCH(int, position);
    m_view->setText(u"alpha beta\n\nlonger line here\nend");
    m_view->select(start, start);
    QTest::keyClick(m_view.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_view->anchor(), anchor);
    QCOMPARE(m_view->position(), position);
}

void TestPlainTextView::undoRedoAndModified() {
    PlainTextView &view = *m_view;
    view.setText(u"one\ntwo");
    QVERIFY(!view.isModified());
    QVERIFY(!view.canUndo());
    view.select(4, 7);
    view.replaceSelection(QStringLiteral("2\r\n3"), true);
    QCOMPARE(view.text(), QStringLiteral("one\n2\n3"));
    QCOMPARE(view.selectionStart(), 4);
    QCOMPARE(view.selectionEnd(), 7);
    QVERIFY(view.isModified());
    // Typing over the selection and on is one step.
    QTest::keyClicks(&view, QStringLiteral("xy"));
    QCOMPARE(view.text(), QStringLiteral("one\nxy"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("one\n2\n3"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("one\ntwo"));
    QCOMPARE(view.selectionStart(), 4);
    QCOMPARE(view.selectionEnd(), 7);
    view.redo();
    QCOMPARE(view.text(), QStringLiteral("one\n2\n3"));
    view.setModified(false);
    // A load forgets the history.
    view.setText(u"new");
    QVERIFY(!view.canUndo());
    QVERIFY(!view.canRedo());
    QVERIFY(!view.isModified());
}

void TestPlainTextView::clipboard() {
    PlainTextView &view = *m_view;
    view.setText(u"cut me\nkeep");
    view.select(0, 7);
    QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("cut me\n"));
    QCOMPARE(view.text(), QStringLiteral("keep"));
    view.select(4, 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("\r\nA\rB"));
    view.paste();
    QCOMPARE(view.text(), QStringLiteral("keep\nA\nB"));
    QCOMPARE(view.position(), view.length());
    view.undo();
    QCOMPARE(view.text(), QStringLiteral("keep"));
}

void TestPlainTextView::mouseSetsAndExtendsTheSelection() {
    PlainTextView &view = *m_view;
    view.setText(u"first line\nsecond line\nthird");
    QWidget *area = view.viewport();
    const int row = view.fontMetrics().lineSpacing();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(1, row + row / 2));
    QCOMPARE(view.position(), 11);
    QCOMPARE(view.anchor(), 11);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 2 * row + row / 2));
    QCOMPARE(view.anchor(), 11);
    QCOMPARE(view.position(), 23);
    // Below the last line: the end of the text.
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(300, 280));
    QCOMPARE(view.position(), view.length());
    QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(5, row + row / 2));
    QCOMPARE(view.selectedText(), QStringLiteral("second"));
}

void TestPlainTextView::wordWrapKeepsTheCaretInView() {
    PlainTextView &view = *m_view;
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("word%1 ").arg(i).repeated(20) + QLatin1Char('\n');
    view.setText(text);
    QVERIFY(view.horizontalScrollBar()->maximum() > 0);
    view.setWordWrap(true);
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
    // Down moves by shown rows: within the first line while it wraps.
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(view.caretLine(), 0);
    QVERIFY(view.position() > 0);
    view.select(view.length(), view.length());
    // The last line wraps into several rows: the view shows it with fewer than its page of lines.
    QVERIFY(view.firstVisibleLine() > 0);
    QVERIFY(view.firstVisibleLine() < view.buffer().lineCount() - 1);
    view.setWordWrap(false);
    QCOMPARE(view.caretLine(), 40);
    QCOMPARE(view.caretColumn(), 0);
}

void TestPlainTextView::millionsOfLinesScrollToTheCaret() {
    PlainTextView &view = *m_view;
    view.setText(QString(QStringLiteral("ab\n")).repeated(1000000));
    QCOMPARE(view.buffer().lineCount(), 1000001);
    view.select(view.length() - 1, view.length() - 1);
    QCOMPARE(view.caretLine(), 999999);
    QCOMPARE(view.caretColumn(), 2);
    QVERIFY(view.firstVisibleLine() > 999000);
    QVERIFY(view.firstVisibleLine() <= 999999);
    view.grab();
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(view.buffer().lineCount(), 1000002);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view.firstVisibleLine(), 0);
}

// A screen reader reads the text, the caret and the selection, and edits as typing would.
void TestPlainTextView::readAndEditedByAssistiveTechnology() {
    PlainTextView &view = *m_view;
    view.setAccessibleName(QStringLiteral("Text"));
    view.setText(QStringLiteral("first\nsecond\n"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&view);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Text"));
    QVERIFY(accessible->state().multiLine);
    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 13);
    QCOMPARE(text->text(6, 12), QStringLiteral("second"));
    QCOMPARE(text->text(-5, 99), QStringLiteral("first\nsecond\n"));
    // The word at the end of the text (the caret's place while typing on) is answered.
    int wordStart = 0;
    int wordEnd = 0;
    QCOMPARE(text->textAtOffset(13, QAccessible::WordBoundary, &wordStart, &wordEnd), QString());
    QCOMPARE(std::pair(wordStart, wordEnd), std::pair(13, 13));
    QCOMPARE(text->textAtOffset(7, QAccessible::WordBoundary, &wordStart, &wordEnd),
             QStringLiteral("second"));
    text->setSelection(0, 6, 12);
    QCOMPARE(view.selectedText(), QStringLiteral("second"));
    QCOMPARE(text->selectionCount(), 1);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(6, 12));
    text->setCursorPosition(3);
    QCOMPARE(text->cursorPosition(), 3);
    QCOMPARE(text->selectionCount(), 0);
    QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
    QVERIFY(editable);
    editable->replaceText(0, 5, QStringLiteral("1st"));
    QCOMPARE(view.text(), QStringLiteral("1st\nsecond\n"));
    QVERIFY(view.isModified());
    view.undo();
    QCOMPARE(view.text(), QStringLiteral("first\nsecond\n"));
}

QUILLET_TEST_MAIN(TestPlainTextView)
#include "tst_plaintextview.moc"
