#pragma once

#include <QString>
#include <array>

// The four most recent files of the File menu, newest first. A slot without a file is empty and
// hidden; it never turns into an entry, neither on the menu nor through the stored settings.
class TRecentFiles {
public:
    static constexpr int Count = 4;

    // Puts a path on top and moves the others one place down, dropping the fourth. A path that
    // is already listed keeps its place; leading and trailing blanks are not part of a path, and
    // a blank path is never listed. Answers whether the list changed.
    bool AddRecentFile(const QString &path);

    // The path of slot 0..3 (0 the newest), empty when the slot holds no file.
    const QString &path(int slot) const { return m_paths.at(slot); }
    bool isUsed(int slot) const { return !m_paths.at(slot).isEmpty(); }
    // Any slot holds a file: the separator before the items is shown.
    bool anyUsed() const;

    // The item's caption: "&", the digit, a blank and the path ("&1 /home/a.rtf"); an empty slot
    // shows its design caption ("&1 name").
    QString caption(int slot) const;
    // The caption as a menu item shows it: an "&" of the path is doubled so that it is not taken
    // for the item's accelerator.
    QString menuText(int slot) const;

    // The stored form of a slot: the caption without the "&" and the digit, so a blank and the
    // path; an empty slot stores the empty string, which reading skips.
    QString storedValue(int slot) const;
    // The path a stored value names, empty when it names none.
    static QString pathOfStoredValue(const QString &value);

private:
    std::array<QString, Count> m_paths;
};
