#include "editor/sidepanel/termfile.h"

#include "platform/installpaths.h"
#include "platform/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace TermFile {

namespace {

QString joined(const QStringList &terms) {
    QString text;
    for (const QString &term : terms) {
        text += term;
        text += QLatin1Char('\n');
    }
    // Paragraph and line separators of the editing area are line breaks on disk as well.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// Windows-1252 unless it cannot hold the text, or its bytes would be read back as UTF-8.
TextFormat formatFor(const QString &text) {
    TextFormat format;
    format.lineBreak = LineBreak::CRLF;
    format.encoding = TextEncoding::Windows1252;
    TextFormat used;
    const QByteArray bytes = EncodeText(text, format, &used);
    const bool misread = used.encoding == TextEncoding::Windows1252 &&
                         DetectTextFormat(bytes).encoding == TextEncoding::Utf8 &&
                         QString::fromLatin1(bytes) != QString::fromUtf8(bytes);
    if (used.encoding != TextEncoding::Windows1252 || misread)
        format.encoding = TextEncoding::Utf8;
    return format;
}

QString dataFolder(const QString &dataHome) {
    return QDir(dataHome).filePath(QStringLiteral("quillet"));
}

} // namespace

QStringList parse(const QByteArray &bytes) {
    const qsizetype end = bytes.indexOf('\0');
    const QByteArray body = end < 0 ? bytes : bytes.left(end);
    if (body.isEmpty())
        return {};
    QString text = DecodeText(body, DetectTextFormat(body));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

QByteArray format(const QStringList &terms) {
    const QString text = joined(terms);
    return EncodeText(text, formatFor(text));
}

QStringList load(const QString &path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

std::optional<QString> save(const QString &path, const QStringList &terms) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot create file \"%1\". The folder cannot be created.").arg(path);
    const QString text = joined(terms);
    const TextFileSaveResult result = SaveTextFile(path, text, formatFor(text));
    if (result.error)
        return QStringLiteral("Cannot create file \"%1\". %2").arg(path, result.error->reason);
    return std::nullopt;
}

QString writePath(const QString &programFolder, const QString &dataHome) {
    const QFileInfo folder(programFolder);
    if (!programFolder.isEmpty() && folder.isDir() && folder.isWritable())
        return QDir(programFolder).filePath(QLatin1String(FileName));
    return QDir(dataFolder(dataHome)).filePath(QLatin1String(FileName));
}

QString readPath(const QString &programFolder, const QString &dataHome) {
    return readPath(programFolder, dataHome, programFolder);
}

QString readPath(const QString &programFolder, const QString &dataHome,
                 const QString &shippedFolder) {
    const QString written = writePath(programFolder, dataHome);
    if (QFileInfo::exists(written))
        return written;
    const QString installed = QDir(shippedFolder).filePath(QLatin1String(FileName));
    if (!shippedFolder.isEmpty() && QFileInfo(installed).isFile())
        return installed;
    return written;
}

QString dataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString defaultWritePath() {
    return writePath(InstallPaths::ownFilesFolder(QCoreApplication::applicationDirPath()),
                     dataHome());
}

QString defaultReadPath() {
    const QString program = QCoreApplication::applicationDirPath();
    return readPath(InstallPaths::ownFilesFolder(program), dataHome(),
                    InstallPaths::dataFolder(program));
}

} // namespace TermFile
