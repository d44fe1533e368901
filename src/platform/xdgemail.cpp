#include "platform/xdgemail.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QStringList XdgEmail::arguments(const Message &message) {
    QStringList arguments{QStringLiteral("--utf8")};
    if (!message.subject.isEmpty())
        arguments << QStringLiteral("--subject") << message.subject;
    if (!message.body.isEmpty())
        arguments << QStringLiteral("--body") << message.body;
    if (!message.attachment.isEmpty())
        arguments << QStringLiteral("--attach") << message.attachment;
    if (!message.recipient.isEmpty())
        arguments << message.recipient;
    return arguments;
}

int XdgEmail::resultForExitCode(int exitCode) {
    switch (exitCode) {
    case 0:
        return Success;
    case 2:
        return AttachmentNotFound;
    case 3:
        return UserAbort;
    default:
        return Failure;
    }
}

int XdgEmail::send(const Message &message, int waitMilliseconds) {
    if (!message.attachment.isEmpty()) {
        const QFileInfo file(message.attachment);
        if (!file.isFile())
            return AttachmentNotFound;
        if (!file.isReadable())
            return AttachmentOpenFailure;
    }
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return UserAbort;

    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments(message));
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return UserAbort;
    }
    if (!process->waitForFinished(waitMilliseconds)) {
        // Still running: the mail program has the message. It is left to finish on its own.
        process->setParent(QCoreApplication::instance());
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return Success;
    }
    const int result = process->exitStatus() == QProcess::NormalExit
                           ? resultForExitCode(process->exitCode())
                           : Failure;
    delete process;
    return result;
}
