#include "editor/window/editorsettings.h"

#include "editor/file/recentfiles.h"
#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "platform/storeerror.h"

#include <exception>

using namespace EditorSettings;

namespace {

const QString LastFileNames[TRecentFiles::Count] = {
    QStringLiteral("LastFile1"), QStringLiteral("LastFile2"), QStringLiteral("LastFile3"),
    QStringLiteral("LastFile4")};

// Steps 3 and on; any error ends the reading where it happened, with what was read kept.
void readValues(const SettingsKey &key, EditorSettingsRead &result) {
    const int top = key.readInteger(QStringLiteral("Top"));
    const int left = key.readInteger(QStringLiteral("Left"));
    const int width = key.readInteger(QStringLiteral("Width"));
    const int height = key.readInteger(QStringLiteral("Height"));
    result.bounds =
        QRect(left, top, qMax(width, MinimumSize.width()), qMax(height, MinimumSize.height()));

    try {
        const int state = key.readInteger(QStringLiteral("WindowState"));
        result.windowState = state == Minimized || state == Maximized ? state : Normal;
    } catch (const std::exception &) {
        // A missing or unusable window state leaves the window as it is.
    }

    for (const QString &name : LastFileNames) {
        if (!key.valueExists(name))
            continue;
        const QString path = TRecentFiles::pathOfStoredValue(key.readString(name));
        if (!path.isEmpty())
            result.recentFiles.append(path);
    }

    if (key.valueExists(QStringLiteral("ToolBarPic")))
        result.toolBarPic = key.readString(QStringLiteral("ToolBarPic"));
    if (key.valueExists(QStringLiteral("NoSplash")))
        result.noSplash = key.readBool(QStringLiteral("NoSplash"));
    if (key.valueExists(QStringLiteral("NoTV")))
        result.noTV = key.readBool(QStringLiteral("NoTV"));

    result.bulletsStyle = key.valueExists(QStringLiteral("Bulletsstyle"))
                              ? key.readString(QStringLiteral("Bulletsstyle"))
                              : DefaultBulletsStyle;
    result.uScoreType = key.valueExists(QStringLiteral("UScoreType"))
                            ? key.readString(QStringLiteral("UScoreType"))
                            : DefaultUScoreType;

    if (key.valueExists(QStringLiteral("FontStyle"))) {
        const QString font = key.readString(QStringLiteral("FontStyle"));
        result.fontStyle = font.isEmpty() ? EmptyFontStyleFont : font;
    }
    result.fontStyleReached = true;

    if (key.valueExists(QStringLiteral("FontSize")))
        result.fontSize = key.readString(QStringLiteral("FontSize"));

    if (key.valueExists(QStringLiteral("ListBoxStatus")))
        result.listBoxStatus = ListBoxStatusOf(key.readInteger(QStringLiteral("ListBoxStatus")));
}

void writeValues(SettingsStore &store, const EditorSettingsValues &values) {
    std::optional<SettingsKey> key = store.openKey(QuilletSettingsKey, true);
    if (!key)
        throw StoreError(QStringLiteral("Failed to create key ") + QuilletSettingsKey);
    key->writeInteger(QStringLiteral("WindowState"), values.windowState);
    if (values.windowState != Maximized) {
        key->writeInteger(QStringLiteral("Top"), values.bounds.top());
        key->writeInteger(QStringLiteral("Left"), values.bounds.left());
        key->writeInteger(QStringLiteral("Width"), values.bounds.width());
        key->writeInteger(QStringLiteral("Height"), values.bounds.height());
    }
    // "LastFile1" holds the oldest entry, "LastFile4" the newest.
    for (int n = 0; n < TRecentFiles::Count; ++n)
        key->writeString(LastFileNames[n], values.recentSlots.value(TRecentFiles::Count - 1 - n));
    key->writeString(QStringLiteral("ToolBarPic"), values.toolBarPic);
    key->writeBool(QStringLiteral("NOSplash"), values.noSplash);
    key->writeBool(QStringLiteral("NoTV"), values.noTV);
    key->writeString(QStringLiteral("Bulletsstyle"), values.bulletsStyle);
    key->writeString(QStringLiteral("UScoreType"), values.uScoreType);
    key->writeString(QStringLiteral("FontStyle"), values.fontStyle);
    key->writeString(QStringLiteral("FontSize"), values.fontSize);
    key->writeInteger(QStringLiteral("ListBoxStatus"), values.listBoxStatus);
}

} // namespace

EditorSettingsRead ReadEditorSettings(SettingsStore &store,
                                      const std::function<NamedMutex::Claim()> &claimInstance) {
    EditorSettingsRead result;
    store.reload();
    const std::optional<SettingsKey> key = store.openKey(QuilletSettingsKey, false);
    if (!key)
        return result;
    // Only the first editor process reads; a second one starts with the form's defaults.
    if (claimInstance() != NamedMutex::Claim::Created)
        return result;
    result.read = true;
    try {
        readValues(*key, result);
    } catch (const std::exception &) {
        // The first value that cannot be used ends the reading silently.
    }
    return result;
}

void WriteEditorSettings(SettingsStore &store, const EditorSettingsValues &values) {
    // One locked replacement of the store file for all values, so that an editor closing at the
    // same time never mixes its values with ours.
    store.batch([&store, &values] { writeValues(store, values); });
}

int FontSizePoints(const QString &text) {
    bool ok = false;
    const int size = text.trimmed().toInt(&ok, 10);
    if (!ok || size < MinimumFontSize || size > MaximumFontSize)
        return DefaultFontSize;
    return size;
}

int ListBoxStatusOf(int stored) {
    return stored == FileList || stored == TermBox ? stored : NoList;
}
