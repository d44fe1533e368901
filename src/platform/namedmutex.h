#pragma once

#include <QString>

// System-wide names that tell a process whether another running process of the program claimed
// the same name. A claimed name stays claimed until the process ends (the descriptor is never
// closed, and programs the process starts do not inherit it); nothing ever waits on one.
//
// Each name is a lock file in $XDG_RUNTIME_DIR/quillet/ (else /tmp/quillet-<uid>/). The claim
// tries an exclusive flock: success means no running process holds the name; either way the
// process then keeps a shared lock, so the name exists as long as any claimer runs. A lock file
// left on disk means nothing; only the lock counts.
namespace NamedMutex {

enum class Claim {
    Created,        // no running process held the name
    AlreadyExisted, // another process (or an earlier claim of this one) holds it
    Failed          // the lock folder or file could not be used
};

Claim claim(const QString &name);

// The folder of the lock files; empty when none can be made safely.
QString folder();

} // namespace NamedMutex
