#include "testenvironment.h"
#include "widgets/lineeditaccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleValueInterface>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

class TestLineEditAccessible : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LineEditAccessible::install(); }

    // A screen reader reads a one-line box, its caret, selection and the word at the caret,
    // also at the end of the text, where the caret stands while the user types on.
    void readByAssistiveTechnology() {
        QComboBox box;
        box.setEditable(true);
        box.setAccessibleName(QStringLiteral("Font Size"));
        box.lineEdit()->setText(QStringLiteral("12 pt  "));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box.lineEdit());
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("12 pt  "));
        QAccessibleTextInterface *text = accessible->textInterface();
        QVERIFY(text);
        QCOMPARE(text->characterCount(), 7);
        QCOMPARE(text->text(3, 5), QStringLiteral("pt"));
        QCOMPARE(text->text(-4, 99), QStringLiteral("12 pt  "));
        int start = 0;
        int end = 0;
        QCOMPARE(text->textAtOffset(1, QAccessible::WordBoundary, &start, &end),
                 QStringLiteral("12"));
        for (int offset : {5, 6, 7, -1}) {
            text->textAtOffset(offset, QAccessible::WordBoundary, &start, &end);
            text->textAtOffset(offset, QAccessible::SentenceBoundary, &start, &end);
        }
        QCOMPARE(std::pair(start, end), std::pair(7, 7));
        text->setSelection(0, 3, 5);
        QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("pt"));
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(3, 5));
        text->setCursorPosition(1);
        QCOMPARE(text->cursorPosition(), 1);
        QCOMPARE(text->selectionCount(), 0);
    }

    // The tool bar's font size box: value, limits, steps and its text, read at the caret at the
    // end as a screen reader does (Qt's own interface never returned there).
    void spinBoxReadAndSteppedByAssistiveTechnology() {
        QSpinBox box;
        box.setRange(1, 1638);
        box.setValue(12);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&box);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::SpinBox);
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("12"));
        QAccessibleTextInterface *text = accessible->textInterface();
        QVERIFY(text);
        int start = 0;
        int end = 0;
        QCOMPARE(text->textAtOffset(2, QAccessible::WordBoundary, &start, &end), QString());
        QCOMPARE(text->textAtOffset(0, QAccessible::WordBoundary, &start, &end),
                 QStringLiteral("12"));
        QAccessibleValueInterface *value = accessible->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 12);
        QCOMPARE(value->maximumValue().toInt(), 1638);
        value->setCurrentValue(14);
        QCOMPARE(box.value(), 14);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(box.value(), 15);
    }

    // Edits go through the box's own editing: its validator still decides.
    void editedThroughTheBox() {
        QLineEdit edit;
        edit.setValidator(new QIntValidator(1, 999, &edit));
        edit.setText(QStringLiteral("12"));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&edit);
        QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
        QVERIFY(editable);
        editable->insertText(2, QStringLiteral("4"));
        QCOMPARE(edit.text(), QStringLiteral("124"));
        editable->insertText(0, QStringLiteral("x"));
        QCOMPARE(edit.text(), QStringLiteral("124"));
        editable->deleteText(0, 1);
        QCOMPARE(edit.text(), QStringLiteral("24"));
        // A password is never read out.
        edit.setValidator(nullptr);
        edit.setEchoMode(QLineEdit::Password);
        edit.setText(QStringLiteral("secret"));
        QCOMPARE(accessible->textInterface()->text(0, 6), QStringLiteral("******"));
        QVERIFY(accessible->state().passwordEdit);
    }
};

QUILLET_TEST_MAIN(TestLineEditAccessible)
#include "tst_lineeditaccessible.moc"
