#include "widgets/spinboxaccessible.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

SpinBoxAccessible *SpinBoxAccessible::create(QAbstractSpinBox *box) {
    auto *edit = box->findChild<QLineEdit *>();
    return edit ? new SpinBoxAccessible(box, edit) : nullptr;
}

SpinBoxAccessible::SpinBoxAccessible(QAbstractSpinBox *box, QLineEdit *edit)
    : LineEditAccessible(box, edit, QAccessible::SpinBox) {}

QAbstractSpinBox *SpinBoxAccessible::box() const {
    return static_cast<QAbstractSpinBox *>(widget());
}

void *SpinBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return LineEditAccessible::interface_cast(type);
}

QString SpinBoxAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return box()->text();
    return LineEditAccessible::text(type);
}

void SpinBoxAccessible::setText(QAccessible::Text type, const QString &text) {
    if (type == QAccessible::Value)
        edit()->setText(text);
    else
        LineEditAccessible::setText(type, text);
}

QVariant SpinBoxAccessible::currentValue() const {
    return box()->property("value");
}

void SpinBoxAccessible::setCurrentValue(const QVariant &value) {
    box()->setProperty("value", value);
}

QVariant SpinBoxAccessible::maximumValue() const {
    return box()->property("maximum");
}

QVariant SpinBoxAccessible::minimumValue() const {
    return box()->property("minimum");
}

QVariant SpinBoxAccessible::minimumStepSize() const {
    return box()->property("singleStep");
}

QStringList SpinBoxAccessible::actionNames() const {
    return {increaseAction(), decreaseAction()};
}

void SpinBoxAccessible::doAction(const QString &actionName) {
    if (!box()->isEnabled())
        return;
    if (actionName == increaseAction())
        box()->stepUp();
    else if (actionName == decreaseAction())
        box()->stepDown();
}

QStringList SpinBoxAccessible::keyBindingsForAction(const QString &actionName) const {
    Q_UNUSED(actionName);
    return {};
}
