#include "convert/converterhost.h"

#include "convert/textconverters.h"
#include "platform/settingsstore.h"

#include <QFile>
#include <QTextStream>

namespace ConverterHost {

QString reportLine(const QString &kind, const QString &text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    escaped.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return kind + QLatin1Char(' ') + escaped;
}

bool parseReportLine(const QString &line, QString *kind, QString *text) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return false;
    *kind = line.left(blank);
    text->clear();
    const QString rest = line.mid(blank + 1);
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] == QLatin1Char('\\') && i + 1 < rest.size()) {
            const QChar next = rest[++i];
            *text += next == QLatin1Char('n')   ? QLatin1Char('\n')
                     : next == QLatin1Char('r') ? QLatin1Char('\r')
                                                : next;
        } else {
            *text += rest[i];
        }
    }
    return true;
}

int run(const QStringList &arguments, QTextStream &err) {
    if (arguments.size() < 4 || arguments.size() > 5 ||
        (arguments[0] != QLatin1String("import") && arguments[0] != QLatin1String("export"))) {
        err << "usage: quillet-converter-host import|export NAME FILE RTF [MODULE]\n";
        return Usage;
    }
    const bool import = arguments[0] == QLatin1String("import");
    const QString &name = arguments[1];
    const QString &file = arguments[2];
    QFile rtfFile(arguments[3]);
    Convert::TextConverters converters(
        SettingsStore::machineStorePath(), [&err](const QString &text) {
            err << reportLine(QStringLiteral("message"), text) << '\n';
            err.flush();
        });
    if (arguments.size() == 5)
        converters.setModuleName(arguments[4].toUtf8());
    bool done = false;
    QString failure;
    if (import) {
        if (const auto rtf = converters.importRtf(file, name)) {
            done = rtfFile.open(QIODevice::WriteOnly) && rtfFile.write(*rtf) == rtf->size();
            if (!done)
                failure = QStringLiteral("cannot pass the RTF on: ") + rtfFile.errorString();
        }
    } else if (rtfFile.open(QIODevice::ReadOnly)) {
        done = converters.exportRtf(file, name, rtfFile.readAll());
    } else {
        failure = QStringLiteral("cannot read the RTF: ") + rtfFile.errorString();
    }
    if (!done)
        err << reportLine(QStringLiteral("failure"),
                          failure.isEmpty() ? converters.failure() : failure)
            << '\n';
    err.flush();
    return done ? Done : Failed;
}

} // namespace ConverterHost
