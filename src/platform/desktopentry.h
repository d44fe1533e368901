#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A freedesktop application entry (a ".desktop" file), as far as starting its program and
// showing its icon need it. The desktop's own way to link a program; run locations may name one.
class DesktopEntry {
public:
    QString name;
    QString exec;
    QString icon;
    QString type;

    // Reads the "[Desktop Entry]" group of a file; nullopt when it is not an entry that starts a
    // program (no such group, or no Exec key).
    static std::optional<DesktopEntry> read(const QString &path);
    static std::optional<DesktopEntry> parse(const QByteArray &text);

    // The program and its arguments that start this entry with `file` (empty: without a file).
    // Field codes are expanded as the specification of these entries says, each argument kept
    // whole; no shell ever sees the line. Empty when Exec cannot be split (an open quote).
    QStringList commandLine(const QString &file) const;

    // Splits an Exec value into its arguments with the entry format's quoting rules; nullopt on
    // an unterminated quote.
    static std::optional<QStringList> splitExec(const QString &exec);
};
