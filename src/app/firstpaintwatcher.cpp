#include "app/firstpaintwatcher.h"

#include <QEvent>
#include <QTimer>

FirstPaintWatcher::FirstPaintWatcher(QObject *window, std::function<void()> painted)
    : QObject(window)
    , m_painted(std::move(painted)) {
    window->installEventFilter(this);
}

bool FirstPaintWatcher::eventFilter(QObject *watched, QEvent *event) {
    if (!m_done && event->type() == QEvent::Paint) {
        m_done = true;
        watched->removeEventFilter(this);
        // Queued, so that the paint (and its flush to the screen) completes first.
        QTimer::singleShot(0, this, [this] { m_painted(); });
    }
    return QObject::eventFilter(watched, event);
}
