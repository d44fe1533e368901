#pragma once

#include <QString>
#include <QStringList>

// The desktop's mail program, reached through the freedesktop `xdg-email` command: it opens the
// user's mail program with a new message filled in. Answers Simple MAPI result codes, the
// program's own way of reporting a send. The command is looked up on PATH at each send.
class XdgEmail {
public:
    struct Message {
        QString subject;
        QString body;
        // A file to attach (empty: none).
        QString attachment;
        QString recipient;
    };

    // Simple MAPI result codes this hand-over can give.
    static constexpr int Success = 0;
    static constexpr int UserAbort = 1; // also: no mail service at all
    static constexpr int Failure = 2;
    static constexpr int AttachmentNotFound = 11;
    static constexpr int AttachmentOpenFailure = 12;

    // Starts `xdg-email` for the message and waits until it has handed the message over. Some
    // mail programs keep the command running until their window closes: after `waitMilliseconds`
    // it counts as handed over and runs on by itself.
    static int send(const Message &message, int waitMilliseconds = 5000);

    // The command's arguments for a message; each value is one argument, never a shell string.
    static QStringList arguments(const Message &message);

    // The Simple MAPI code for an exit code of the command (0 done, 1 bad arguments, 2 a file
    // does not exist, 3 no mail program found, 4 the mail program failed).
    static int resultForExitCode(int exitCode);
};
