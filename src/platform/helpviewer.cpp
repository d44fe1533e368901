#include "platform/helpviewer.h"

#include "platform/installpaths.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

QString HelpViewer::defaultHelpFile() {
    return InstallPaths::helpFile(InstallPaths::programFolder());
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
