#include "platform/desktopshell.h"

#include "platform/desktopentry.h"
#include "platform/waveplayer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// "http://...", "mailto:..." but not "C:\..." nor a relative path with a colon further on.
bool looksLikeAddress(const QString &text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch() && !QFileInfo::exists(text);
}

// An application entry starts the program of its Exec line, with the parameter string in the
// place of its file field code.
int launchEntry(const QString &path, const QString &parameters, const QString &folder) {
    const auto entry = DesktopEntry::read(path);
    if (!entry)
        return Shell::kAccessDenied;
    QStringList command = entry->commandLine(parameters);
    if (command.isEmpty())
        return Shell::kAccessDenied;
    const QString program = command.takeFirst();
    const QString found =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(found).isExecutable())
        return Shell::kFileNotFound;
    return QProcess::startDetached(found, command, folder) ? Shell::kSuccess : Shell::kAccessDenied;
}

} // namespace

int DesktopShell::LaunchFile(const QString &file, const QString &parameters, const QString &folder,
                             ShowState) {
    if (file.isEmpty())
        return kFileNotFound;
    if (looksLikeAddress(file))
        return openUrl(QUrl(file)) ? kSuccess : kNoAssociation;

    QString program;
    const QFileInfo info(file);
    if (info.isFile() && info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return launchEntry(info.absoluteFilePath(), parameters, folder);
    if (info.exists()) {
        if (info.isFile() && info.isExecutable())
            program = info.absoluteFilePath();
    } else if (!file.contains(QLatin1Char('/'))) {
        program = QStandardPaths::findExecutable(file);
        if (program.isEmpty())
            return kFileNotFound;
    } else {
        return kFileNotFound;
    }

    if (!program.isEmpty()) {
        QStringList arguments;
        if (!parameters.isEmpty())
            arguments.append(parameters);
        return QProcess::startDetached(program, arguments, folder) ? kSuccess : kAccessDenied;
    }
    if (!info.isReadable())
        return kAccessDenied;
    return openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kSuccess : kNoAssociation;
}

bool DesktopShell::openUrl(const QUrl &url) {
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool DesktopShell::playWave(const QString &file) {
    return PlayWaveFile(file) == WavePlayback::Played;
}
