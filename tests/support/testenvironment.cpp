#include "testenvironment.h"

#include <QDir>
#include <QTemporaryDir>

namespace {
QTemporaryDir *g_root = nullptr;
}

namespace TestEnvironment {

QString isolate() {
    if (!g_root) {
        g_root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/quillet-test-XXXXXX"));
        const QString base = g_root->path();
        for (const char *sub : {"config", "data", "runtime", "machine"})
            QDir(base).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(base + QStringLiteral("/runtime"), QFileDevice::ReadOwner |
                                                                     QFileDevice::WriteOwner |
                                                                     QFileDevice::ExeOwner);
        qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", (base + QStringLiteral("/runtime")).toLocal8Bit());
        qputenv("QUILLET_MACHINE_STORE",
                (base + QStringLiteral("/machine/machine.reg")).toLocal8Bit());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return g_root->path();
}

QString root() {
    return g_root ? g_root->path() : QString();
}

} // namespace TestEnvironment
