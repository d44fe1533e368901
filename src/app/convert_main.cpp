#include "convert/rtfconvert.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

// quillet-convert IN OUT: converts between RTF and plain text, or prints to PDF, without a window.
int main(int argc, char *argv[]) {
    // Text layout needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    return RtfConvert::run(app.arguments().mid(1), err, isatty(fileno(stderr)) != 0);
}
