#pragma once

#include <QStringList>
#include <functional>

// Starts a new process of `program` with `arguments`; false when it could not be started. The
// viewer hands its file to the editor this way; tests put a recorder in its place.
using EditorLauncher = std::function<bool(const QString &program, const QStringList &arguments)>;

// Starts the program detached from this process, so it outlives the viewer.
bool launchProgram(const QString &program, const QStringList &arguments);
