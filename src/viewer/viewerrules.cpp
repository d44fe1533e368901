#include "viewer/viewerrules.h"

#include "platform/textfile.h"

#include <QFileInfo>

QStringList viewerTextFilters() {
    return {QStringLiteral(
                "All Text Files (*.txt *.log *.ini *.bat *.inf *.tmp *.pas *.dpr *.cpp *.vba)"),
            QStringLiteral("All Files (*)")};
}

QStringList viewerHandOverFilters() {
    return {QStringLiteral("Text Files (*.txt)"),
            QStringLiteral("*.log"),
            QStringLiteral("*.ini"),
            QStringLiteral("*.bat"),
            QStringLiteral("*.inf"),
            QStringLiteral("*.tmp"),
            QStringLiteral("*.pas"),
            QStringLiteral("*.dpr"),
            QStringLiteral("*.cpp"),
            QStringLiteral("*.vba")};
}

bool droppedFileStaysInViewer(int sizeKB) {
    return sizeKB <= 64;
}

namespace {

QString asShown(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString firstLineBreak(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            return QStringLiteral("\n");
        if (text.at(i) == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                return QStringLiteral("\r\n");
            return QStringLiteral("\r");
        }
    }
    return QStringLiteral("\n");
}

} // namespace

QByteArray dataFileBytesForSave(const QString &shown, const QByteArray &loaded) {
    TextFormat format;
    format.dataFile = true;
    const QString loadedText = DecodeText(loaded, format);
    if (shown == asShown(loadedText))
        return loaded;
    QString text = shown;
    const QString lineBreak = firstLineBreak(loadedText);
    if (lineBreak != QLatin1String("\n"))
        text.replace(QLatin1Char('\n'), lineBreak);
    return EncodeText(text, format);
}

QString fileNamePart(const QString &path) {
    return QFileInfo(path).fileName();
}

QString folderPart(const QString &path) {
    if (path.isEmpty())
        return {};
    return QFileInfo(path).absolutePath();
}
