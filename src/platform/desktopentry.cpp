#include "platform/desktopentry.h"

#include <QFile>

namespace {

// The escapes every string value of an entry may hold.
QString unescapeValue(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            // Escapes of the Exec quoting ("\"", "\$") stay for the splitter.
            out.append(QLatin1Char('\\'));
            out.append(next);
        }
    }
    return out;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString &path) {
    QFile file(path);
    // An entry is a few lines; anything far larger is not one.
    constexpr qint64 MaximumSize = 1 << 20;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumSize)
        return std::nullopt;
    return parse(file.read(MaximumSize));
}

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray &text) {
    DesktopEntry entry;
    bool inGroup = false;
    bool seenGroup = false;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            seenGroup = seenGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Type"))
            entry.type = value;
    }
    if (!seenGroup || entry.exec.isEmpty())
        return std::nullopt;
    return entry;
}

std::optional<QStringList> DesktopEntry::splitExec(const QString &exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                current.append(exec.at(++i));
            } else {
                current.append(c);
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inArgument = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.append(current);
    return arguments;
}

QStringList DesktopEntry::commandLine(const QString &file) const {
    const auto split = splitExec(exec);
    if (!split || split->isEmpty())
        return {};
    QStringList result;
    for (const QString &argument : *split) {
        // A field code standing alone may become several arguments or none.
        if (argument == QLatin1String("%f") || argument == QLatin1String("%F") ||
            argument == QLatin1String("%u") || argument == QLatin1String("%U")) {
            if (!file.isEmpty())
                result.append(file);
            continue;
        }
        if (argument == QLatin1String("%i")) {
            if (!icon.isEmpty())
                result << QStringLiteral("--icon") << icon;
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            const QChar c = argument.at(i);
            if (c != QLatin1Char('%') || i + 1 == argument.size()) {
                expanded.append(c);
                continue;
            }
            const QChar code = argument.at(++i);
            if (code == QLatin1Char('%'))
                expanded.append(QLatin1Char('%'));
            else if (code == QLatin1Char('c'))
                expanded.append(name);
            else if (code == QLatin1Char('f') || code == QLatin1Char('u'))
                expanded.append(file);
            // Deprecated and unknown codes are dropped.
        }
        result.append(expanded);
    }
    if (result.isEmpty() || result.first().isEmpty())
        return {};
    return result;
}
