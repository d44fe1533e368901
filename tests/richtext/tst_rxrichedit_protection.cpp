#include "richtext/rtf/richtextformat.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <memory>

// User edits of protected text go through OnProtectChange, whatever way they come: typing,
// deleting, cutting, pasting, dropping, input methods, replacing the selection.
class TestRxRichEditProtection : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingInsideProtectedTextIsRefused();
    void typingAtTheEdgeIsAllowedAndNotProtected_data();
    void typingAtTheEdgeIsAllowedAndNotProtected();
    void deletingKeysThatReachProtectedTextAreRefused_data();
    void deletingKeysThatReachProtectedTextAreRefused();
    void handlerMayRemoveTheMarkerItself();
    void handlerMayAllowTheEdit();
    void cutAndSelectionReplacementAreChecked();
    void pasteIsCheckedAndPastedTextIsNotProtected();
    void dropIsChecked_data();
    void dropIsChecked();
    void inputMethodCommitIsChecked();
    void keyPressHandlerSeesTheKeyFirst();

private:
    void typeAt(int position, const QString &text);
    void sendDrop(int position, const QString &text);

    std::unique_ptr<TRxRichEdit> m_edit;
    // "before " 0-6, the marker 7-20, " after" 21-26.
    const QString m_text = QStringLiteral("before <<Page Break>> after");
    int m_asked = 0;
    QList<QPair<int, int>> m_ranges;
    std::function<void(bool &)> m_answer;
};

void TestRxRichEditProtection::init() {
    m_edit = std::make_unique<TRxRichEdit>();
    m_edit->resize(400, 200);
    m_edit->show();
    m_edit->activateWindow();
    m_edit->setFocus();
    m_edit->SetText(m_text);
    m_edit->SelectRange(7, 21);
    m_edit->SelAttributes().SetProtected(true);
    m_edit->SelectRange(0, 0);
    m_asked = 0;
    m_ranges.clear();
    m_answer = nullptr;
    connect(m_edit.get(), &TRxRichEdit::OnProtectChange, this,
            [this](int start, int end, bool &allow) {
                ++m_asked;
                m_ranges.append({start, end});
                QVERIFY(!allow);
                if (m_answer)
                    m_answer(allow);
            });
}

void TestRxRichEditProtection::cleanup() {
    m_edit.reset();
}

void TestRxRichEditProtection::typeAt(int position, const QString &text) {
    m_edit->SelectRange(position, position);
    QTest::keyClicks(m_edit.get(), text);
}

void TestRxRichEditProtection::sendDrop(int position, const QString &text) {
    QTextCursor at(m_edit->document());
    at.setPosition(position);
    const QPoint point = m_edit->cursorRect(at).center();
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_edit->viewport(), &enter);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_edit->viewport(), &drop);
}

void TestRxRichEditProtection::typingInsideProtectedTextIsRefused() {
    typeAt(12, QStringLiteral("xy"));
    QCOMPARE(m_edit->Text(), m_text);
    QCOMPARE(m_asked, 2);
    QCOMPARE(m_ranges.first(), qMakePair(12, 12));
    // Return would split the marker.
    QTest::keyClick(m_edit.get(), Qt::Key_Return);
    QCOMPARE(m_edit->Text(), m_text);
}

void TestRxRichEditProtection::typingAtTheEdgeIsAllowedAndNotProtected_data() {
    QTest::addColumn<int>("position");
    QTest::addRow("just before the marker") << 7;
    QTest::addRow("just after the marker") << 21;
}

void TestRxRichEditProtection::typingAtTheEdgeIsAllowedAndNotProtected() {
    QFETCH(int, position);
    typeAt(position, QStringLiteral("xy"));
    QCOMPARE(m_asked, 0);
    QString expected = m_text;
    expected.insert(position, QStringLiteral("xy"));
    QCOMPARE(m_edit->Text(), expected);
    m_edit->SelectRange(position, position + 2);
    QVERIFY(m_edit->SelAttributes().Consistent().testFlag(TRxTextAttributes::caProtected));
    QVERIFY(!m_edit->SelAttributes().Protected());
}

void TestRxRichEditProtection::deletingKeysThatReachProtectedTextAreRefused_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("refused");
    QTest::addRow("delete before the marker") << 7 << 7 << int(Qt::Key_Delete) << true;
    QTest::addRow("backspace after the marker") << 21 << 21 << int(Qt::Key_Backspace) << true;
    QTest::addRow("backspace before the marker") << 7 << 7 << int(Qt::Key_Backspace) << false;
    QTest::addRow("delete after the marker") << 21 << 21 << int(Qt::Key_Delete) << false;
    QTest::addRow("delete a selection overlapping it") << 3 << 9 << int(Qt::Key_Delete) << true;
    QTest::addRow("backspace on the selected marker") << 7 << 21 << int(Qt::Key_Backspace) << true;
}

void TestRxRichEditProtection::deletingKeysThatReachProtectedTextAreRefused() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, key);
    QFETCH(bool, refused);
    m_edit->SelectRange(start, end);
    QTest::keyClick(m_edit.get(), Qt::Key(key));
    QCOMPARE(m_asked, refused ? 1 : 0);
    QCOMPARE(m_edit->Text() == m_text, refused);
}

void TestRxRichEditProtection::handlerMayRemoveTheMarkerItself() {
    // As the page-break guard does on Yes: cut the selected marker from inside the handler.
    m_answer = [this](bool &) {
        if (m_edit->SelText() == QLatin1String("<<Page Break>>"))
            m_edit->CutToClipboard();
    };
    m_edit->SelectRange(7, 21);
    QTest::keyClick(m_edit.get(), Qt::Key_Delete);
    QCOMPARE(m_asked, 1);
    QCOMPARE(m_edit->Text(), QStringLiteral("before  after"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<<Page Break>>"));
}

void TestRxRichEditProtection::handlerMayAllowTheEdit() {
    m_answer = [](bool &allow) { allow = true; };
    typeAt(12, QStringLiteral("x"));
    QCOMPARE(m_asked, 1);
    QCOMPARE(m_edit->Text(), QStringLiteral("before <<Pagxe Break>> after"));
}

void TestRxRichEditProtection::cutAndSelectionReplacementAreChecked() {
    m_edit->SelectRange(0, 9);
    m_edit->CutToClipboard();
    QCOMPARE(m_edit->Text(), m_text);
    m_edit->SetSelText(QStringLiteral("x"));
    QCOMPARE(m_edit->Text(), m_text);
    m_edit->ClearSelection();
    QCOMPARE(m_edit->Text(), m_text);
    QCOMPARE(m_asked, 3);
    m_edit->SelectRange(0, 6);
    m_edit->SetSelText(QStringLiteral("AFTER"));
    QCOMPARE(m_asked, 3);
    QCOMPARE(m_edit->Text(), QStringLiteral("AFTER <<Page Break>> after"));
}

void TestRxRichEditProtection::pasteIsCheckedAndPastedTextIsNotProtected() {
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    m_edit->SelectRange(10, 10);
    m_edit->PasteFromClipboard();
    QCOMPARE(m_edit->Text(), m_text);
    QTest::keyClick(m_edit.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_edit->Text(), m_text);
    QCOMPARE(m_asked, 2);
    m_edit->SelectRange(21, 21);
    m_edit->PasteFromClipboard();
    QCOMPARE(m_edit->Text(), QStringLiteral("before <<Page Break>>clip after"));
    m_edit->SelectRange(21, 25);
    QVERIFY(!m_edit->SelAttributes().Protected());
}

void TestRxRichEditProtection::dropIsChecked_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("refused");
    QTest::addRow("inside the marker") << 12 << true;
    QTest::addRow("outside the marker") << 3 << false;
}

void TestRxRichEditProtection::dropIsChecked() {
    QFETCH(int, position);
    QFETCH(bool, refused);
    sendDrop(position, QStringLiteral("drop"));
    QCOMPARE(m_asked, refused ? 1 : 0);
    QCOMPARE(m_edit->Text() == m_text, refused);
    QCOMPARE(m_edit->Text().contains(QLatin1String("drop")), !refused);
}

void TestRxRichEditProtection::inputMethodCommitIsChecked() {
    m_edit->SelectRange(12, 12);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("ü"));
    QApplication::sendEvent(m_edit.get(), &commit);
    QCOMPARE(m_edit->Text(), m_text);
    QCOMPARE(m_asked, 1);
    m_edit->SelectRange(2, 2);
    QInputMethodEvent allowed;
    allowed.setCommitString(QStringLiteral("ü"));
    QApplication::sendEvent(m_edit.get(), &allowed);
    QCOMPARE(m_edit->Text(), QStringLiteral("beüfore <<Page Break>> after"));
}

void TestRxRichEditProtection::keyPressHandlerSeesTheKeyFirst() {
    QList<QChar> seen;
    connect(m_edit.get(), &TRxRichEdit::OnKeyPress, this, [&seen](QChar &key) {
        seen.append(key);
        if (key == u'q')
            key = QChar(); // swallowed
        else if (key == u'a')
            key = u'A';
    });
    typeAt(0, QStringLiteral("aqb"));
    QTest::keyClick(m_edit.get(), Qt::Key_Backspace);
    QCOMPARE(seen, (QList<QChar>{u'a', u'q', u'b', u'\b'}));
    QCOMPARE(m_edit->Text(), QStringLiteral("A") + m_text);
}

QUILLET_TEST_MAIN(TestRxRichEditProtection)
#include "tst_rxrichedit_protection.moc"
