#include "widgets/commandtoolbutton.h"

#include <QAction>

CommandToolButton::CommandToolButton(QAction *command, QWidget *parent)
    : QToolButton(parent) {
    setDefaultAction(command);
}

void CommandToolButton::nextCheckState() {
    m_clicking = true;
    QToolButton::nextCheckState();
    m_clicking = false;
}

void CommandToolButton::checkStateSet() {
    QAction *command = defaultAction();
    const bool fromOutside = !m_clicking && command && command->isCheckable() &&
                             command->isEnabled() && isChecked() != command->isChecked();
    if (!fromOutside) {
        QToolButton::checkStateSet();
        return;
    }
    // The mark was set on the button alone: the command runs once the setter has returned, and
    // its state then sets the mark again.
    if (m_triggerQueued)
        return;
    m_triggerQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_triggerQueued = false;
            if (QAction *action = defaultAction()) {
                setChecked(action->isChecked());
                action->trigger();
            }
        },
        Qt::QueuedConnection);
}
