#include "ruler/ruleraccessible.h"

#include "ruler/rulervalueaccessible.h"
#include "ruler/tanlruler.h"

namespace {
QAccessibleInterface *rulerFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("TanlRuler") && object && object->isWidgetType())
        return new RulerAccessible(static_cast<TanlRuler *>(object));
    return nullptr;
}
} // namespace

RulerAccessible::RulerAccessible(TanlRuler *ruler)
    : QAccessibleWidget(ruler, QAccessible::Grouping) {}

RulerAccessible::~RulerAccessible() {
    for (QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
}

void RulerAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(rulerFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

TanlRuler *RulerAccessible::ruler() const {
    return static_cast<TanlRuler *>(widget());
}

int RulerAccessible::childCount() const {
    return TanlRuler::ValueCount;
}

QAccessibleInterface *RulerAccessible::child(int index) const {
    if (index < 0 || index >= TanlRuler::ValueCount)
        return nullptr;
    if (m_children.isEmpty()) {
        auto *self = const_cast<RulerAccessible *>(this);
        for (int item = 0; item < TanlRuler::ValueCount; ++item) {
            // Registered, so that clients know the items by id; this interface deletes them.
            m_children.append(QAccessible::registerAccessibleInterface(
                new RulerValueAccessible(ruler(), item, self)));
        }
    }
    return QAccessible::accessibleInterface(m_children.at(index));
}

int RulerAccessible::indexOfChild(const QAccessibleInterface *child) const {
    for (int i = 0; i < m_children.size(); ++i) {
        if (QAccessible::accessibleInterface(m_children.at(i)) == child)
            return i;
    }
    return -1;
}

QAccessibleInterface *RulerAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface *item = child(i);
        if (item->rect().contains(x, y))
            return item;
    }
    return nullptr;
}
