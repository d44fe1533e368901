#include "app/startup.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int runQuillet(int argc, char *argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quillet Vado"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Untitled - Quillet Vado"));
    window.show();
    // Lets the smoke test and the start-up benchmark quit once the first paint is done.
    if (qEnvironmentVariableIsSet("QUILLET_QUIT_AFTER_SHOW"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
