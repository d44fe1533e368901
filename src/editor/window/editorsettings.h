#pragma once

#include "platform/namedmutex.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class SettingsStore;

// The editor window's values under the per-user settings key, as plain data, and the two
// procedures that read them at the window's creation and write them at its destruction. The
// window applies what was read to its controls and gathers what is written from them.
namespace EditorSettings {

inline const QString InstanceMutex = QStringLiteral("MutexForCheckingInstances");

constexpr QSize DesignSize(829, 494);
constexpr QSize MinimumSize(500, 300);
inline const QString DefaultBulletsStyle = QStringLiteral("NsBullet");
inline const QString DefaultUScoreType = QStringLiteral("UsSolid");
// The font name of an empty "FontStyle", and the font the editing area takes without one.
inline const QString EmptyFontStyleFont = QStringLiteral("Times New Roman");
inline const QString AbsentFontStyleFont = QStringLiteral("Courier");
constexpr int DefaultFontSize = 12;
constexpr int MinimumFontSize = 4;
// The largest size the editing area lays out; a stored size above it is no size.
constexpr int MaximumFontSize = 1638;
enum ListBoxStatus { NoList = 0, FileList = 1, TermBox = 2 };
enum WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

} // namespace EditorSettings

// What the reading found. Reading goes value by value in a fixed order and stops silently at the
// first value it cannot use; every field after that point keeps its "not read" state, which
// leaves the window as its form made it.
struct EditorSettingsRead {
    // The key existed and no other editor process runs: the values were looked at.
    bool read = false;
    // "Top", "Left", "Width", "Height"; the size is raised to the minimum.
    std::optional<QRect> bounds;
    std::optional<int> windowState; // 0, 1 or 2
    // The paths of "LastFile1" to "LastFile4", oldest first, empty slots left out.
    QStringList recentFiles;
    std::optional<QString> toolBarPic;
    // "NoSplash", "NoTV": the check marks of their View items; false when absent.
    bool noSplash = false;
    bool noTV = false;
    std::optional<QString> bulletsStyle; // "NsBullet" when absent
    std::optional<QString> uScoreType;   // "UsSolid" when absent
    // "FontStyle" was looked at; when it is absent (nullopt) the editing area takes "Courier",
    // and an empty stored value reads as "Times New Roman".
    bool fontStyleReached = false;
    std::optional<QString> fontStyle;
    // "FontSize" as stored (the kept size text); absent: nullopt.
    std::optional<QString> fontSize;
    std::optional<int> listBoxStatus; // 0, 1 or 2
};

// What the writing stores, gathered from the window.
struct EditorSettingsValues {
    int windowState = EditorSettings::Normal;
    // The window's bounds; not written while the window is maximized.
    QRect bounds;
    // The stored form of the recent-file slots, newest first (TRecentFiles::storedValue).
    QStringList recentSlots;
    QString toolBarPic;
    bool noSplash = false;
    bool noTV = false;
    QString bulletsStyle;
    QString uScoreType;
    QString fontStyle;
    QString fontSize;
    int listBoxStatus = EditorSettings::FileList;
};

// Reads the key of `store` (reloaded first). Nothing is read when the key does not exist, or
// when `claimInstance` (which claims "MutexForCheckingInstances") says another editor process
// holds the name or fails.
EditorSettingsRead ReadEditorSettings(SettingsStore &store,
                                      const std::function<NamedMutex::Claim()> &claimInstance);

// Writes every value in a fixed order, creating the key when missing. Throws StoreError on the
// first write the store refuses; the values written before it stay.
void WriteEditorSettings(SettingsStore &store, const EditorSettingsValues &values);

// The point size a stored "FontSize" text stands for: 12 when it is empty, not a whole decimal
// number, below 4 or above the largest size.
int FontSizePoints(const QString &text);

// "ListBoxStatus" as the side panel takes it: anything but 0, 1 or 2 counts as 0.
int ListBoxStatusOf(int stored);
