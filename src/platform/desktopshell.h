#pragma once

#include "platform/shell.h"

// The shell of the running program: programs start detached (QProcess), documents and addresses
// go to the desktop's handlers (QDesktopServices, xdg-open), wave files play through ALSA. An
// application entry (".desktop") starts the program its Exec line names.
class DesktopShell : public Shell {
public:
    int LaunchFile(const QString &file, const QString &parameters, const QString &folder,
                   ShowState show) override;
    bool openUrl(const QUrl &url) override;
    bool playWave(const QString &file) override;
};
