#include "app/startupdecision.h"

#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "platform/textfile.h"

namespace {

// A stored flag that is not an integer cannot be read as a Boolean; it counts as absent.
void readFlag(const SettingsStore &store, const QString &name, bool *flag) {
    if (store.valueType(QuilletSettingsKey, name) == RegistryValue::Type::Integer)
        *flag = store.readBool(QuilletSettingsKey, name);
}

} // namespace

StartupFlags ReadStartupFlags(const SettingsStore &store) {
    StartupFlags flags;
    if (!store.keyExists(QuilletSettingsKey))
        return flags;
    readFlag(store, QStringLiteral("NoTV"), &flags.noTV);
    readFlag(store, QStringLiteral("NoSplash"), &flags.noSplash);
    return flags;
}

bool IsEditorExtension(const QString &file) {
    const QString name = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    static const QStringList extensions = {QStringLiteral(".RTF"),  QStringLiteral(".HTM"),
                                           QStringLiteral(".HTML"), QStringLiteral(".JPG"),
                                           QStringLiteral(".GIF"),  QStringLiteral(".BMP"),
                                           QStringLiteral(".WAV")};
    return extensions.contains(name.mid(dot).toUpper());
}

StartWindow ChooseStartWindow(const QStringList &arguments, bool noTV, bool otherInstance) {
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return StartWindow::Editor;
    const QString &file = arguments.first();
    if (FileSizeKB(file) >= 64 || IsEditorExtension(file) || noTV || otherInstance)
        return StartWindow::Editor;
    return StartWindow::TextViewer;
}
