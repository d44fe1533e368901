#pragma once

#include "tools/systeminfo.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>
#include <functional>

class Prompts;
class Shell;
class QWidget;

// The about box component `AboutBoxDlg1`: holds what the box shows (product name, copyright,
// the credits and how they scroll) and builds, shows and destroys a new about form on each
// Execute.
class TAboutBoxDlg : public QObject {
    Q_OBJECT

public:
    TAboutBoxDlg(Prompts &prompts, Shell &shell, QObject *parent = nullptr);

    QString ProductName;
    QString Copyright;
    QStringList MovieText;
    bool UseMovie = false;
    QColor BackCol = Qt::black;
    QFont AFont;
    QColor AFontColor = Qt::white;
    bool aShadow = true;

    int MovieSpeed() const { return m_movieSpeed; }
    // Milliseconds per pixel; a value of 0 or less, or of 100 or more, stores 50.
    void SetMovieSpeed(int milliseconds);

    // Where the information button's facts come from; tests give fixed ones.
    std::function<SystemInfo()> GatherSystemInfo = &SystemInfo::gather;

    // Builds the about form, shows it modally and destroys it when it closes.
    void Execute(QWidget *parent);

private:
    Prompts &m_prompts;
    Shell &m_shell;
    int m_movieSpeed = 40;
};
