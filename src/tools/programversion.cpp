#include "tools/programversion.h"

#include <QStringList>

#ifndef QUILLET_VERSION
#define QUILLET_VERSION ""
#endif
#ifndef QUILLET_BUILD_NUMBER
#define QUILLET_BUILD_NUMBER ""
#endif

ProgramVersion ProgramVersion::current() {
    return parse(QStringLiteral(QUILLET_VERSION), QStringLiteral(QUILLET_BUILD_NUMBER));
}

ProgramVersion ProgramVersion::parse(const QString &version, const QString &buildNumber) {
    const QStringList parts = version.trimmed().split(QLatin1Char('.'));
    const auto number = [](const QString &text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        return ok && value >= 0 ? value : 0;
    };
    ProgramVersion result;
    result.major = number(parts.value(0));
    result.minor = number(parts.value(1));
    result.release = number(parts.value(2));
    result.build = number(buildNumber);
    return result;
}
