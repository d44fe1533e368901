#pragma once

#include <QObject>
#include <functional>

// Calls a function once, as soon as a window has finished its first paint. The start-up uses it
// to time itself and to quit at once when asked to (QUILLET_QUIT_AFTER_SHOW).
class FirstPaintWatcher : public QObject {
    Q_OBJECT

public:
    // Watches `window`; `painted` runs from the event loop right after the first paint event.
    FirstPaintWatcher(QObject *window, std::function<void()> painted);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_painted;
    bool m_done = false;
};
