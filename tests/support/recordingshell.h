#pragma once

#include "platform/shell.h"

#include <QList>

// A Shell for tests: records every request and starts, opens and plays nothing. The answers are
// set in advance (success by default).
class RecordingShell : public Shell {
public:
    struct Launch {
        QString file;
        QString parameters;
        QString folder;
        ShowState show = ShowState::Normal;
    };

    int launchResult = kSuccess;
    bool openUrlResult = true;
    bool playWaveResult = true;

    QList<Launch> launches;
    QList<QUrl> urls;
    QStringList waves;

    int LaunchFile(const QString &file, const QString &parameters, const QString &folder,
                   ShowState show) override {
        launches.append(Launch{file, parameters, folder, show});
        return launchResult;
    }
    bool openUrl(const QUrl &url) override {
        urls.append(url);
        return openUrlResult;
    }
    bool playWave(const QString &file) override {
        waves.append(file);
        return playWaveResult;
    }
};
