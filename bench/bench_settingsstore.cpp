// Reading a settings store whose program key holds many values: the time should grow with the
// number of values, not with its square.
#include "benchsupport.h"
#include "platform/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main() {
    QTemporaryDir dir;
    for (const int count : {5'000, 20'000, 200'000}) {
        const QString path = dir.filePath(QStringLiteral("user.reg"));
        QByteArray text = "Quillet Vado settings store 1\n[Software\\Fernlake\\Quillet]\n";
        for (int i = 0; i < count; ++i)
            text += "\"Value" + QByteArray::number(i) +
                    "\"=dword:" + QByteArray::number(i, 16).rightJustified(8, '0') + '\n';
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return 1;
        file.close();
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run)
            runs.push_back(BenchSupport::timed(
                [&] { SettingsStore store(path, SettingsStore::Access::ReadOnly); }));
        std::printf("%7d values: read in %.0f ms (median of 3)\n", count,
                    BenchSupport::median(runs));
    }
    return 0;
}
