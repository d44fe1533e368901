#include "widgets/tarrowbuttonaccessible.h"

#include "widgets/tarrowbutton.h"

namespace {
QAccessibleInterface *arrowButtonFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("TArrowButton") && object && object->isWidgetType())
        return new TArrowButtonAccessible(static_cast<TArrowButton *>(object));
    return nullptr;
}
} // namespace

TArrowButtonAccessible::TArrowButtonAccessible(TArrowButton *button)
    : QAccessibleWidget(button, QAccessible::Button) {}

void TArrowButtonAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(arrowButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessible::State TArrowButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = static_cast<TArrowButton *>(widget())->isPressed();
    return state;
}

QStringList TArrowButtonAccessible::actionNames() const {
    return {pressAction()};
}

void TArrowButtonAccessible::doAction(const QString &actionName) {
    if (actionName == pressAction() && widget()->isEnabled())
        emit static_cast<TArrowButton *>(widget())->clicked();
}
