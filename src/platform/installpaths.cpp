#include "platform/installpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString installed(const QString &programFolder, const char *relative) {
    return QDir::cleanPath(programFolder + QLatin1Char('/') + QString::fromUtf8(relative));
}

} // namespace

namespace InstallPaths {

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString dataFolder(const QString &programFolder) {
    if (QFileInfo(QDir(programFolder).filePath(QLatin1String(HelpFileName))).isFile())
        return programFolder;
    const QString data = installed(programFolder, QUILLET_RELATIVE_DATADIR);
    return QFileInfo(data).isDir() ? data : programFolder;
}

bool isInstalled(const QString &programFolder) {
    return dataFolder(programFolder) != programFolder;
}

QString ownFilesFolder(const QString &programFolder) {
    return isInstalled(programFolder) ? QString() : programFolder;
}

QString helpFile(const QString &programFolder) {
    return QDir(dataFolder(programFolder)).filePath(QLatin1String(HelpFileName));
}

QString converterFolder(const QString &programFolder) {
    return installed(programFolder, QUILLET_RELATIVE_CONVERTERDIR);
}

} // namespace InstallPaths
