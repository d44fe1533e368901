#include "editor/file/filedialog.h"

QStringList qtFileFilters(const QString &filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        const QStringList given = QString(parts[i + 1])
                                      .replace(QLatin1Char(','), QLatin1Char(';'))
                                      .split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &raw : given) {
            const QString pattern = raw.trimmed();
            for (const QString &variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
                if (!variant.isEmpty() && !patterns.contains(variant))
                    patterns.append(variant);
            }
        }
        if (patterns.isEmpty())
            continue;
        result.append(parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
    }
    return result;
}
