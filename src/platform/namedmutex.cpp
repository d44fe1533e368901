#include "platform/namedmutex.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder only this user can use: made with mode 0700, and refused when it is a link, belongs to
// someone else or is open to others (a shared /tmp must not let another user plant it).
bool ensurePrivateFolder(const QByteArray &path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return st.st_uid == ::getuid() && (st.st_mode & 0077) == 0;
}

QByteArray lockFileName(const QString &name) {
    // Names may hold any character; the file name keeps letters, digits, "_", "-" and "." and
    // escapes the rest, so distinct names never share a file.
    QByteArray out;
    for (const char c : name.toUtf8()) {
        const uchar u = uchar(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            c == '_' || c == '-' || (c == '.' && !out.isEmpty()))
            out += c;
        else
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out + ".lock";
}

int flockRetrying(int fd, int operation) {
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

} // namespace

namespace NamedMutex {

QString folder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith('/')) {
        const QByteArray path = runtime + "/quillet";
        if (ensurePrivateFolder(path))
            return QFile::decodeName(path);
    }
    const QByteArray fallback = "/tmp/quillet-" + QByteArray::number(::getuid());
    if (ensurePrivateFolder(fallback))
        return QFile::decodeName(fallback);
    return QString();
}

Claim claim(const QString &name) {
    const QString dir = folder();
    if (dir.isEmpty())
        return Claim::Failed;
    const QByteArray base = QFile::encodeName(dir) + '/';

    // Claims pass one at a time through a guard lock, so that no other claimer can slip in while
    // this one turns its exclusive lock into a shared one (flock converts in two steps).
    const QByteArray guardPath = base + ".guard";
    const int guard = ::open(guardPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (guard < 0)
        return Claim::Failed;
    if (flockRetrying(guard, LOCK_EX) != 0) {
        ::close(guard);
        return Claim::Failed;
    }

    Claim result = Claim::Failed;
    const QByteArray path = base + lockFileName(name);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        if (flockRetrying(fd, LOCK_EX | LOCK_NB) == 0)
            result = Claim::Created;
        else if (errno == EWOULDBLOCK)
            result = Claim::AlreadyExisted;
        // Holders keep shared locks and exclusive ones exist only inside the guard, so the
        // shared lock is granted at once.
        if (result != Claim::Failed && flockRetrying(fd, LOCK_SH | LOCK_NB) != 0)
            result = Claim::Failed;
        if (result == Claim::Failed)
            ::close(fd);
        // Otherwise fd stays open, deliberately, until the process ends.
    }
    ::close(guard);
    return result;
}

} // namespace NamedMutex
