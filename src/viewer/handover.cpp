#include "viewer/handover.h"

#include <QProcess>

bool launchProgram(const QString &program, const QStringList &arguments) {
    return QProcess::startDetached(program, arguments);
}
