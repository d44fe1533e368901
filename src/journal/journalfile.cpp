#include "journal/journalfile.h"

#include <QCryptographicHash>
#include <QHash>

namespace {

constexpr char Magic[] = "QUILLET-JOURNAL 1";

QByteArray modeName(JournalEntry::Mode mode) {
    return mode == JournalEntry::Mode::Text ? "text" : "rtf";
}

QByteArray encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? "windows-1252" : "utf-8";
}

QByteArray lineBreakName(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CRLF:
        return "crlf";
    case LineBreak::CR:
        return "cr";
    case LineBreak::LF:
        break;
    }
    return "lf";
}

QByteArray digest(const QByteArray &content) {
    return QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex();
}

} // namespace

namespace JournalFile {

QByteArray encode(const JournalEntry &entry) {
    QByteArray out = QByteArray(Magic) + '\n';
    const auto line = [&out](const char *key, const QByteArray &value) {
        out += key;
        out += ": ";
        out += value;
        out += '\n';
    };
    line("name", entry.documentName.toUtf8().toPercentEncoding(" /"));
    line("line", entry.firstLine.toUtf8().toPercentEncoding(" /"));
    line("mode", modeName(entry.mode));
    line("encoding", encodingName(entry.textFormat.encoding));
    line("bom", entry.textFormat.byteOrderMark ? "1" : "0");
    line("linebreak", lineBreakName(entry.textFormat.lineBreak));
    line("datafile", entry.textFormat.dataFile ? "1" : "0");
    line("caret", QByteArray::number(entry.caret));
    line("time", entry.time.toUTC().toString(Qt::ISODateWithMs).toLatin1());
    line("length", QByteArray::number(entry.content.size()));
    line("sha1", digest(entry.content));
    out += '\n';
    out += entry.content;
    return out;
}

std::optional<JournalEntry> decode(const QByteArray &bytes, QString *reason) {
    const auto fail = [reason](const QString &why) -> std::optional<JournalEntry> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const qsizetype headerEnd = bytes.indexOf("\n\n");
    if (!bytes.startsWith(QByteArray(Magic) + '\n') || headerEnd < 0)
        return fail(QStringLiteral("not a journal"));
    QHash<QByteArray, QByteArray> values;
    const QList<QByteArray> lines = bytes.left(headerEnd).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(": ");
        if (colon <= 0)
            return fail(QStringLiteral("damaged header"));
        values.insert(lines[i].left(colon), lines[i].mid(colon + 2));
    }
    for (const char *key : {"name", "line", "mode", "encoding", "bom", "linebreak", "datafile",
                            "caret", "time", "length", "sha1"}) {
        if (!values.contains(key))
            return fail(QStringLiteral("damaged header"));
    }

    bool ok = false;
    const qint64 length = values.value("length").toLongLong(&ok);
    const QByteArray content = bytes.mid(headerEnd + 2);
    if (!ok || length != content.size())
        return fail(QStringLiteral("incomplete content"));
    if (digest(content) != values.value("sha1"))
        return fail(QStringLiteral("damaged content"));

    JournalEntry entry;
    entry.documentName = QString::fromUtf8(QByteArray::fromPercentEncoding(values.value("name")));
    entry.firstLine = QString::fromUtf8(QByteArray::fromPercentEncoding(values.value("line")));
    const QByteArray mode = values.value("mode");
    if (mode != "rtf" && mode != "text")
        return fail(QStringLiteral("unknown mode"));
    entry.mode = mode == "text" ? JournalEntry::Mode::Text : JournalEntry::Mode::Rtf;
    entry.textFormat.encoding =
        values.value("encoding") == "windows-1252" ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    entry.textFormat.byteOrderMark = values.value("bom") == "1";
    const QByteArray lineBreak = values.value("linebreak");
    entry.textFormat.lineBreak = lineBreak == "crlf" ? LineBreak::CRLF
                                 : lineBreak == "cr" ? LineBreak::CR
                                                     : LineBreak::LF;
    entry.textFormat.dataFile = values.value("datafile") == "1";
    entry.caret = qMax(0, values.value("caret").toInt());
    entry.time =
        QDateTime::fromString(QString::fromLatin1(values.value("time")), Qt::ISODateWithMs);
    if (entry.documentName.isEmpty() || !entry.time.isValid())
        return fail(QStringLiteral("damaged header"));
    entry.content = content;
    return entry;
}

} // namespace JournalFile
