#include "ruler/rulervalueaccessible.h"

#include "ruler/rulermarker.h"
#include "ruler/tanlruler.h"

#include <QWidget>

RulerValueAccessible::RulerValueAccessible(TanlRuler *ruler, int item, QAccessibleInterface *parent)
    : m_ruler(ruler)
    , m_item(item)
    , m_parent(parent) {}

QString RulerValueAccessible::itemName(int item) {
    switch (item) {
    case TanlRuler::FirstIndentValue:
        return QStringLiteral("First Line Indent");
    case TanlRuler::LeftIndentValue:
        return QStringLiteral("Left Indent");
    case TanlRuler::RightIndentValue:
        return QStringLiteral("Right Indent");
    case TanlRuler::LeftMarginValue:
        return QStringLiteral("Left Margin");
    default:
        return QStringLiteral("Right Margin");
    }
}

bool RulerValueAccessible::isValid() const {
    return !m_ruler.isNull();
}

QWindow *RulerValueAccessible::window() const {
    return m_parent ? m_parent->window() : nullptr;
}

QString RulerValueAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return itemName(m_item);
    case QAccessible::Value:
        return m_ruler ? QString::number(m_ruler->Value(m_item)) : QString();
    default:
        return {};
    }
}

QRect RulerValueAccessible::rect() const {
    if (!m_ruler)
        return {};
    const TanlRuler &r = *m_ruler;
    QRect area;
    switch (m_item) {
    case TanlRuler::FirstIndentValue:
        area = r.FirstIndentMarker()->geometry();
        break;
    case TanlRuler::LeftIndentValue:
        area = r.LeftIndentMarker()->geometry();
        break;
    case TanlRuler::RightIndentValue:
        area = r.RightIndentMarker()->geometry();
        break;
    case TanlRuler::LeftMarginValue:
        area = QRect(r.BorderLeft(), 0, r.MarginLeft(), r.height());
        break;
    default:
        area = QRect(r.width() - r.BorderRight() - r.MarginRight(), 0, r.MarginRight(), r.height());
        break;
    }
    return QRect(r.mapToGlobal(area.topLeft()), area.size());
}

QAccessible::State RulerValueAccessible::state() const {
    QAccessible::State state;
    if (!m_ruler || !m_ruler->isVisible())
        state.invisible = true;
    if (m_ruler && !m_ruler->isEnabled())
        state.disabled = true;
    return state;
}

void *RulerValueAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return nullptr;
}

QVariant RulerValueAccessible::currentValue() const {
    return m_ruler ? m_ruler->Value(m_item) : 0;
}

void RulerValueAccessible::setCurrentValue(const QVariant &value) {
    if (m_ruler && !m_ruler->IsDragging())
        m_ruler->ApplyValue(m_item, value.toInt());
}

QVariant RulerValueAccessible::maximumValue() const {
    return m_ruler ? m_ruler->width() : 0;
}

QVariant RulerValueAccessible::minimumValue() const {
    return 0;
}

QVariant RulerValueAccessible::minimumStepSize() const {
    return m_ruler ? m_ruler->RulerTab() : 1;
}
