#include "editor/sidepanel/termlistbox.h"
#include "editor/sidepanel/termpopup.h"
#include "testenvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// The term box's list operations, its leaving signal, and the popup menu's enabled items.
class tst_TermListBox : public QObject {
    Q_OBJECT

private slots:
    void keepsTermsInOrder() {
        TermListBox box;
        box.setTerms({"Dear Sir", "Yours"});
        box.addTerm(QString());
        box.addTerm(QStringLiteral("two\r\nlines"));
        QCOMPARE(box.terms(), (QStringList{"Dear Sir", "Yours", "", "two\r\nlines"}));
        QCOMPARE(box.count(), 4);
        QCOMPARE(box.item(3)->text(), QStringLiteral("two\nlines"));

        QVERIFY(!box.selectedTerm());
        box.deleteSelectedTerm(); // none selected: nothing
        QCOMPARE(box.count(), 4);

        box.setCurrentRow(1);
        QCOMPARE(box.selectedTerm(), std::optional<QString>(QStringLiteral("Yours")));
        box.deleteSelectedTerm();
        QCOMPARE(box.terms(), (QStringList{"Dear Sir", "", "two\r\nlines"}));

        box.clearTerms();
        QVERIFY(box.terms().isEmpty());
    }

    void tabSkipsIt() {
        TermListBox box;
        QCOMPARE(box.focusPolicy(), Qt::ClickFocus);
        QCOMPARE(box.accessibleName(), QStringLiteral("Text Term Box"));
    }

    void tellsWhenLeft() {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *box = new TermListBox;
        auto *other = new QLineEdit;
        layout->addWidget(box);
        layout->addWidget(other);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy left(box, &TermListBox::exited);
        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
        other->setFocus(Qt::PopupFocusReason);
        QCOMPARE(left.count(), 0);
        box->setFocus(Qt::MouseFocusReason);
        other->setFocus(Qt::ActiveWindowFocusReason);
        QCOMPARE(left.count(), 0);
        box->setFocus(Qt::MouseFocusReason);
        other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(left.count(), 1);
    }

    void popupItems_data() {
        QTest::addColumn<bool>("termListFocused");
        QTest::addColumn<bool>("copyEnabled");
        QTest::addColumn<bool>("termListVisible");
        QTest::addColumn<QString>("enabled"); // initials of the enabled items
        // c: Cut, C: Copy, p: Paste, s: Select All, a: Add to Term Box, d: Delete Term,
        // t: Clear Text Term List, f: Clear File ListBox
        QTest::addRow("term box, memo selection") << true << true << true << "dtf";
        QTest::addRow("term box, no selection") << true << false << true << "dtf";
        QTest::addRow("memo with selection, term box shown") << false << true << true << "cCpsatf";
        QTest::addRow("memo without selection") << false << false << true << "psatf";
        QTest::addRow("memo, term box hidden") << false << true << false << "cCpstf";
    }
    void popupItems() {
        QFETCH(bool, termListFocused);
        QFETCH(bool, copyEnabled);
        QFETCH(bool, termListVisible);
        QFETCH(QString, enabled);
        const TermPopupItems items =
            prepareTermPopup(termListFocused, copyEnabled, termListVisible);
        QString actual;
        const std::pair<bool, char> flags[] = {
            {items.cut, 'c'},           {items.copy, 'C'},         {items.paste, 'p'},
            {items.selectAll, 's'},     {items.addToTermBox, 'a'}, {items.deleteTerm, 'd'},
            {items.clearTermList, 't'}, {items.clearFileList, 'f'}};
        for (const auto &[on, initial] : flags)
            if (on)
                actual += QLatin1Char(initial);
        QCOMPARE(actual, enabled);
    }
};

QUILLET_TEST_MAIN(tst_TermListBox)
#include "tst_termlistbox.moc"
