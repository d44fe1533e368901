#include "widgets/arrowbuttonaccessible.h"

#include "widgets/tarrowbutton.h"

namespace {
QAccessibleInterface *arrowButtonFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("TArrowButton") && object && object->isWidgetType())
        return new ArrowButtonAccessible(static_cast<TArrowButton *>(object));
    return nullptr;
}
} // namespace

ArrowButtonAccessible::ArrowButtonAccessible(TArrowButton *button)
    : QAccessibleWidget(button, QAccessible::Button) {}

void ArrowButtonAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(arrowButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessible::State ArrowButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = static_cast<TArrowButton *>(widget())->isPressed();
    return state;
}

QStringList ArrowButtonAccessible::actionNames() const {
    return {pressAction()};
}

void ArrowButtonAccessible::doAction(const QString &actionName) {
    if (actionName == pressAction())
        static_cast<TArrowButton *>(widget())->click();
}
