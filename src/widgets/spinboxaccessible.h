#pragma once

#include "widgets/lineeditaccessible.h"

class QAbstractSpinBox;

// What assistive technology sees of a spin box: its value, limits and steps, the increase and
// decrease actions, and its text read as LineEditAccessible reads a box (Qt's own spin box
// interface reads it with the search that never returns for the word at the end).
class SpinBoxAccessible : public LineEditAccessible, public QAccessibleValueInterface {
public:
    // None for a spin box without its text box.
    static SpinBoxAccessible *create(QAbstractSpinBox *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    SpinBoxAccessible(QAbstractSpinBox *box, QLineEdit *edit);
    QAbstractSpinBox *box() const;
};
