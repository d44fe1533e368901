// Plays a second process of the program for the platform tests:
//   store-write <store> <tag> <count>   writes <count> values named <tag>-<i> into the store
//   store-load <store> <times>           loads the store <times> times, prints its value count
//   mutex-hold <name>                    claims the name, prints the claim, holds it until stdin
//                                        ends
//   mutex-spawn <name> <program> [args]  claims the name, starts the program, prints the claim and
//                                        the program's pid, and exits
#include "platform/namedmutex.h"
#include "platform/settingsstore.h"
#include "platform/storeerror.h"

#include <QString>
#include <cstdio>
#include <spawn.h>
#include <string>

extern char **environ;

namespace {

const char *claimText(NamedMutex::Claim claim) {
    switch (claim) {
    case NamedMutex::Claim::Created:
        return "Created";
    case NamedMutex::Claim::AlreadyExisted:
        return "AlreadyExisted";
    case NamedMutex::Claim::Failed:
        return "Failed";
    }
    return "?";
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    const QString arg = QString::fromLocal8Bit(argv[2]);
    try {
        if (command == "store-write" && argc == 5) {
            SettingsStore store(arg, SettingsStore::Access::ReadWrite);
            const int count = std::stoi(argv[4]);
            for (int i = 0; i < count; ++i) {
                const QString name =
                    QString::fromLocal8Bit(argv[3]) + QLatin1Char('-') + QString::number(i);
                store.writeInteger(QStringLiteral("Software\\Fernlake\\Quillet"), name, i);
                store.writeString(QStringLiteral("Software\\Fernlake\\Quillet\\Text"), name,
                                  QString(200, QLatin1Char('x')) + name);
            }
            return 0;
        }
        if (command == "store-load" && argc == 4) {
            SettingsStore store(arg, SettingsStore::Access::ReadWrite);
            for (int i = 1; i < std::stoi(argv[3]); ++i)
                store.reload();
            std::printf("%d\n", int(store.valueNames(QStringLiteral("A")).size()));
            return 0;
        }
        if (command == "mutex-hold" && argc == 3) {
            std::printf("%s\n", claimText(NamedMutex::claim(arg)));
            std::fflush(stdout);
            char line[16];
            while (std::fgets(line, sizeof line, stdin)) {
            }
            return 0;
        }
        if (command == "mutex-spawn" && argc >= 4) {
            const NamedMutex::Claim claim = NamedMutex::claim(arg);
            pid_t pid = 0;
            if (posix_spawnp(&pid, argv[3], nullptr, nullptr, argv + 3, environ) != 0)
                return 3;
            std::printf("%s %d\n", claimText(claim), int(pid));
            return 0;
        }
    } catch (const StoreError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 2;
}
