#pragma once

#include <QAccessibleWidget>

class TArrowButton;

// What assistive tools see of an arrow button: a push button whose press action clicks it.
class TArrowButtonAccessible : public QAccessibleWidget {
public:
    explicit TArrowButtonAccessible(TArrowButton *button);

    // Registers the interface for every arrow button (once per process).
    static void install();

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
