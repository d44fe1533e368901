#include "platform/helpviewer.h"

#include "platform/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

QString HelpViewer::defaultHelpFile() {
    const QString name = QStringLiteral("Quillet.html");
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    if (QFileInfo(beside).isFile())
        return beside;
    // Installed: the program in <prefix>/bin, its data in <prefix>/share/quillet.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/../share/quillet/") + name);
    if (QFileInfo(installed).isFile())
        return installed;
    const QString data = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                QStringLiteral("quillet/") + name);
    return data.isEmpty() ? beside : data;
}

bool HelpViewer::showContents() {
    return open(QString());
}

bool HelpViewer::showTopic(int context) {
    return open(QStringLiteral("context-%1").arg(context));
}

bool HelpViewer::open(const QString &fragment) {
    if (m_helpFile.isEmpty() || !QFileInfo(m_helpFile).isFile())
        return false;
    QUrl url = QUrl::fromLocalFile(QFileInfo(m_helpFile).absoluteFilePath());
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return m_shell.openUrl(url);
}
