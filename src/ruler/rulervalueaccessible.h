#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class TanlRuler;

// One indent or margin of the ruler as assistive technology sees it: a slider named after it,
// valued in ruler pixels. Setting the value moves it through the ruler's guarded setter and
// reports the change as the end of a drag would. Owned by the ruler's interface.
class RulerValueAccessible : public QAccessibleInterface, public QAccessibleValueInterface {
public:
    RulerValueAccessible(TanlRuler *ruler, int item, QAccessibleInterface *parent);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return m_parent; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Slider; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // The names the items go by, in the ruler's value order.
    static QString itemName(int item);

private:
    QPointer<TanlRuler> m_ruler;
    int m_item;
    QAccessibleInterface *m_parent;
};
