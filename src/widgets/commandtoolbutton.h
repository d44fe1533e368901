#pragma once

#include <QToolButton>

// A tool button for one command. A click runs the command, which decides the check mark; a
// Toggle from an accessibility client (which only sets the button's mark) runs the command the
// same way instead of flipping the mark alone.
class CommandToolButton : public QToolButton {
    Q_OBJECT

public:
    explicit CommandToolButton(QAction *command, QWidget *parent = nullptr);

protected:
    void nextCheckState() override;
    void checkStateSet() override;

private:
    bool m_clicking = false;
    bool m_triggerQueued = false;
};
