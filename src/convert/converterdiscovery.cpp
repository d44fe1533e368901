#include "convert/converterdiscovery.h"

#include "platform/settingsstore.h"
#include "platform/storeerror.h"

#include <QFileInfo>
#include <optional>

namespace Convert {

namespace {

const QString WriteFile = QStringLiteral("write32.wpc");
const QString Word6File = QStringLiteral("mswd6_32.wpc");
const QString RichTextEntry = QStringLiteral("Rich Text Format");
const QString WindowsWrite = QStringLiteral("Windows Write");
const QString Word6 = QStringLiteral("Word 6.0/95");
const QString Word95ViaWordPad = QStringLiteral("Word 95 via WordPad");

struct Registered {
    QString name;
    QString pattern;
};

// A string value of a converter's key; a value of another type makes the whole entry unusable.
std::optional<QString> stringValue(const SettingsStore &machine, const QString &key,
                                   const QString &name) {
    const auto type = machine.valueType(key, name);
    if (type && *type != RegistryValue::Type::String)
        return std::nullopt;
    return machine.readString(key, name);
}

// "doc dot" gives "*.doc;*.dot"; every blank becomes a mask boundary, so two blanks leave an empty
// mask "*." between their neighbours.
QString patternOf(const QString &extensions) {
    return QStringLiteral("*.") +
           QString(extensions).replace(QLatin1Char(' '), QStringLiteral(";*."));
}

QList<Registered> registeredConverters(const SettingsStore &machine, Direction direction) {
    QList<Registered> result;
    const QString root = directionKey(direction);
    if (!machine.keyExists(root))
        return result;
    for (const QString &subKey : machine.subKeyNames(root)) {
        const QString key = root + QLatin1Char('\\') + subKey;
        if (!machine.keyExists(key))
            continue;
        const auto extensions = stringValue(machine, key, QStringLiteral("Extensions"));
        const auto name = stringValue(machine, key, QStringLiteral("Name"));
        if (!extensions || !name)
            continue;
        result.append({*name, patternOf(*extensions)});
    }
    return result;
}

// The word processor's own entries in front of the others, in the order they are put there; the
// substring tests look at everything listed before them (`listed`).
QList<Registered> wordPadEntries(const SettingsStore &machine, const QString &listed) {
    QList<Registered> front;
    const QString folder = GetWordPadDir(machine);
    if (folder.isEmpty())
        return front;
    if (!listed.contains(WindowsWrite) && QFileInfo::exists(folder + WriteFile))
        front.append({WindowsWrite, QStringLiteral("*.wri")});
    if (QFileInfo::exists(folder + Word6File)) {
        const bool word6Listed = listed.contains(Word6);
        front.append({word6Listed ? Word95ViaWordPad : Word6, QStringLiteral("*.doc")});
    }
    return front;
}

} // namespace

QString directionKeyWord(Direction direction) {
    return direction == Direction::Import ? QStringLiteral("Import") : QStringLiteral("Export");
}

QString directionKey(Direction direction) {
    return ConvertersKey + directionKeyWord(direction);
}

QString GetWordPadDir(const SettingsStore &machine) {
    if (!machine.keyExists(WordPadKey))
        return QString();
    const auto type = machine.valueType(WordPadKey, QString());
    if (!type || *type != RegistryValue::Type::String)
        return QString();
    const QString path = machine.readString(WordPadKey, QString());
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')),
                  path.lastIndexOf(QLatin1Char('/'))});
    return path.left(cut + 1);
}

QString GetConverterFilter(const SettingsStore &machine, Direction direction) {
    QString result;
    for (const Registered &entry : registeredConverters(machine, direction))
        result += entry.name + QLatin1Char('|') + entry.pattern + QLatin1Char('|');
    result.prepend(RichTextEntry + QStringLiteral("|*.rtf|"));
    // Each entry goes in front of the result as it is then, so the Word entry ends up first.
    for (const Registered &entry : wordPadEntries(machine, result))
        result.prepend(entry.name + QLatin1Char('|') + entry.pattern + QLatin1Char('|'));
    if (result.endsWith(QLatin1Char('|')))
        result.chop(1);
    return result;
}

bool GetConverterNames(const SettingsStore &machine, Direction direction, QStringList *list) {
    if (!list)
        return false;
    try {
        QStringList names;
        for (const Registered &entry : registeredConverters(machine, direction))
            names.append(entry.name);
        names.prepend(RichTextEntry);
        for (const Registered &entry : wordPadEntries(machine, names.join(QLatin1Char('\n'))))
            names.prepend(entry.name);
        list->append(names);
        return true;
    } catch (const StoreError &) {
        return false;
    }
}

QString converterForFile(const SettingsStore &machine, Direction direction,
                         const QString &fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty() || suffix.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return QString();
    const QString mask = QStringLiteral("*.") + suffix;
    QString found;
    for (const Registered &entry : registeredConverters(machine, direction)) {
        const QStringList masks = entry.pattern.split(QLatin1Char(';'));
        if (masks.contains(mask, Qt::CaseInsensitive))
            found = entry.name; // the last one, as loading a converter by name resolves it
    }
    return found;
}

} // namespace Convert
