#pragma once

#include <QAccessibleWidget>

class TArrowButton;

// What assistive technology sees of an arrow button: a push button whose press action does what
// a click on its triangle does.
class ArrowButtonAccessible : public QAccessibleWidget {
public:
    explicit ArrowButtonAccessible(TArrowButton *button);

    // Registers the factory that gives every arrow button this interface; once is enough.
    static void install();

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
