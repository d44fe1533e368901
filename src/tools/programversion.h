#pragma once

#include <QString>

// The running program's version a.b.c.d: a.b.c is the project's version, d the build number the
// build was given. Parts that are absent are 0.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;

    static ProgramVersion current();
    // "1.2.3" and a build number "45"; anything that is not a whole number counts as 0.
    static ProgramVersion parse(const QString &version, const QString &buildNumber);
};
