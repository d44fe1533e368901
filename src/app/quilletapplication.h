#pragma once

#include <QApplication>

class Prompts;

// The application object. Its event dispatch catches an error that a handler let escape and
// shows it through the general error report (platform/errorreport.h), so that a handler that
// forgot to run inside the report still does not end the program. Handlers are meant to run
// inside ErrorReport::run; this is only the safety net.
class QuilletApplication : public QApplication {
    Q_OBJECT

public:
    // `prompts` shows the report and must outlive the application object.
    QuilletApplication(int &argc, char **argv, Prompts &prompts);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompts &m_prompts;
};
