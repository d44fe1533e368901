#pragma once

#include <QString>
#include <QUrl>

// The desktop shell as the program uses it: start a program or open a document, open a web or
// mail address, play a wave file. An interface so that tests can record the requests instead of
// starting anything (see RecordingShell); the program uses DesktopShell.
class Shell {
public:
    // The window state asked for a started program. Desktop shells here give no way to impose
    // it, so it is accepted and passed on to nothing.
    enum class ShowState { Normal, Minimized, Maximized, Hidden };

    virtual ~Shell() = default;

    // Starts `file` when it is a program (an executable file, or a bare name found on PATH),
    // otherwise opens it with the desktop's application for it; a "scheme:..." address (http:,
    // mailto:) is opened as an address. `parameters`, when not empty, reaches the program as ONE
    // argument, whole, whatever blanks or length it has; `folder` (empty: none) becomes its
    // working folder. Documents ignore both. Answers a result code: above 32 means success;
    // 2 the file does not exist, 5 it cannot be started or opened, 31 no application opens it.
    virtual int LaunchFile(const QString &file, const QString &parameters, const QString &folder,
                           ShowState show) = 0;

    // Opens an address (http:, https:, mailto:, file:) with the desktop's handler; false when
    // none took it.
    virtual bool openUrl(const QUrl &url) = 0;

    // Plays a wave file to its end and only then returns. Returns at once, without a sound, when
    // the file cannot be decoded or no sound device can be opened. True when it played.
    virtual bool playWave(const QString &file) = 0;

    static constexpr int kFileNotFound = 2;
    static constexpr int kAccessDenied = 5;
    static constexpr int kNoAssociation = 31;
    static constexpr int kSuccess = 42;
    static bool succeeded(int resultCode) { return resultCode > 32; }
};
