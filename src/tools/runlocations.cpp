#include "tools/runlocations.h"

#include "platform/prompts.h"
#include "platform/settingskey.h"
#include "platform/shell.h"
#include "platform/storeerror.h"

#include <QFileInfo>
#include <QGuiApplication>

const QString TRunLocations::NoFolderChosen = QStringLiteral("Nothing selected");
const QString TRunLocations::InitialDirValue = QStringLiteral("Initial Dir");

QString TRunLocations::ReadText(const SettingsKey &key, const QString &name) {
    try {
        return key.readString(name);
    } catch (const StoreError &) {
        return {};
    }
}

TRunLocations::TRunLocations(Shell &shell, Prompts &prompts, QWidget &window)
    : m_shell(shell)
    , m_prompts(prompts)
    , m_window(window) {}

QString TRunLocations::ValueName(int n) {
    return QStringLiteral("RunAppLoc%1").arg(n);
}

QString TRunLocations::Location(int n) const {
    return n >= 1 && n <= Count ? m_locations.at(size_t(n - 1)) : QString();
}

bool TRunLocations::Exists(const QString &path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void TRunLocations::Load(SettingsStore &store) {
    const auto key = store.openKey(QuilletSettingsKey, true);
    if (!key)
        return;
    const QString first = ReadText(*key, ValueName(1));
    if (Exists(first))
        m_locations[0] = first;
    for (int n = 2; n <= Count; ++n)
        m_locations[size_t(n - 1)] = ReadText(*key, ValueName(n));
    StartFolder = ReadText(*key, InitialDirValue) + QLatin1Char('/');
}

void TRunLocations::StartEditor(int n, const QString &documentName, bool untitled) {
    const QString editor = Location(n);
    if (!Exists(editor)) {
        message(QStringLiteral("Cannot start ") + editor + QLatin1Char(' ') + documentName +
                QStringLiteral(" !"));
        return;
    }
    if (untitled)
        return;
    // The document as stored: unsaved changes are not what the other editor opens.
    const QString parameters = QFileInfo(documentName).isFile() ? documentName : QString();
    m_shell.LaunchFile(editor, parameters, QString(), Shell::ShowState::Normal);
}

void TRunLocations::StartProgram(int n) {
    const QString program = Location(n);
    if (n >= 5 && !Exists(program)) {
        message(QStringLiteral("Couldn't' find ") + program);
        return;
    }
    m_shell.LaunchFile(program, QString(), QString(), Shell::ShowState::Normal);
}

void TRunLocations::message(const QString &text) {
    m_prompts.message(&m_window, QGuiApplication::applicationDisplayName(), text,
                      QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}
