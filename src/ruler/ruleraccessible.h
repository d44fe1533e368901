#pragma once

#include <QAccessibleWidget>
#include <QList>

class TanlRuler;

// What assistive technology sees of the ruler: a group named after the ruler whose children are
// its three indents and two margins, each a slider with its position in ruler pixels as value,
// which a screen reader reads and may set as a drag would.
class RulerAccessible : public QAccessibleWidget {
public:
    explicit RulerAccessible(TanlRuler *ruler);
    ~RulerAccessible() override;

    // Registers the factory that gives every ruler this interface; once is enough.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    TanlRuler *ruler() const;

    // The items by their registry ids, as the registry may have let them go first at exit.
    mutable QList<QAccessible::Id> m_children;
};
