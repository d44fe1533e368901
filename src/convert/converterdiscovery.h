#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// Finding the installed text converters in the read-only machine store, for one direction: the
// file-dialog filter ("Name|*.ext;*.ext|...") and the display names in the same order, so that
// filter entry k (counted from 1) belongs to name k - 1. Besides the registered converters there is
// always "Rich Text Format", and the word processor's own two converters when its folder holds
// them. Nothing is kept between calls; the store is only read.
namespace Convert {

enum class Direction { Import, Export };

inline const QString ConvertersKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\");
inline const QString WordPadKey =
    QStringLiteral("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\WORDPAD.EXE");

// "Import" or "Export", the key word of the direction in key paths.
QString directionKeyWord(Direction direction);
// The key holding one subkey per registered converter of the direction.
QString directionKey(Direction direction);

// The folder of the word processor's program up to and including its last "\" or ":" (or "/",
// the separator of this platform); empty when it is not registered.
QString GetWordPadDir(const SettingsStore &machine);
QString GetConverterFilter(const SettingsStore &machine, Direction direction);
// Appends the display names to `list`; false when there is no list or the store failed.
bool GetConverterNames(const SettingsStore &machine, Direction direction, QStringList *list);

// The display name of the registered converter whose extensions take the file's, for scripted
// conversions; empty when none does. RTF and plain text never go through a converter.
QString converterForFile(const SettingsStore &machine, Direction direction,
                         const QString &fileName);

} // namespace Convert
