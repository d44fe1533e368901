#include "testenvironment.h"
#include "widgets/tarrowbutton.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>

class TestArrowButton : public QObject {
    Q_OBJECT

private slots:
    // A screen reader's press does what a click does, and nothing while the button is disabled.
    void pressedByAssistiveTechnology() {
        TArrowButton button;
        button.setAccessibleName(QStringLiteral("Showing next pages"));
        button.show();
        int clicks = 0;
        connect(&button, &TArrowButton::clicked, [&clicks] { ++clicks; });
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&button);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Button);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Showing next pages"));
        QAccessibleActionInterface *action = accessible->actionInterface();
        QVERIFY(action);
        QCOMPARE(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 1);
        button.setEnabled(false);
        QVERIFY(accessible->state().disabled);
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 1);
    }
};

QUILLET_TEST_MAIN(TestArrowButton)
#include "tst_arrowbutton.moc"
