#include "convert/rtfconvert.h"
#include "platform/filenames.h"

#include <QFile>
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
    for (int i = 1; i < argc; ++i) {
        if (!IsUsableFileName(argv[i])) {
            err << "quillet-convert: " << UnusableFileNameText(QFile::decodeName(argv[i])) << '\n';
            return RtfConvert::InputFailed;
        }
    }
    return RtfConvert::run(app.arguments().mid(1), err, isatty(fileno(stderr)) != 0);
}
