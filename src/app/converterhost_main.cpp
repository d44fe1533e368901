#include "convert/converterhost.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

// quillet-converter-host import|export NAME FILE [MODULE]: one conversion through a converter
// library, in a process of its own (see convert/converterhost.h).
int main(int argc, char *argv[]) {
    // Converters may lay text out, which needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    return ConverterHost::run(app.arguments().mid(1), err);
}
