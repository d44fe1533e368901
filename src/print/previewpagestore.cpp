#include "print/previewpagestore.h"

#include "print/tcompress.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPicture>
#include <QTemporaryDir>

namespace {

const QString LockName = QStringLiteral("PreviewMetafile.lock");

} // namespace

PreviewPageStore::PreviewPageStore(bool compress, const QString &workingFolder)
    : m_compress(compress) {
    const QString working = workingFolder.isEmpty() ? QDir::currentPath() : workingFolder;
    // The lock marks the folder as taken while this preview lives, so a second editor previewing
    // from the same folder keeps its pages apart instead of overwriting ours.
    if (QFileInfo(working).isWritable()) {
        auto lock = std::make_unique<QLockFile>(QDir(working).filePath(LockName));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_folder = working;
            return;
        }
    }
    choosePrivateFolder();
}

PreviewPageStore::~PreviewPageStore() {
    removePages();
    if (m_ownFolder)
        QDir(m_folder).removeRecursively();
}

bool PreviewPageStore::choosePrivateFolder() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const QString base = QDir(runtime).filePath(QStringLiteral("quillet"));
    if (!QDir().mkpath(base))
        return false;
    QFile::setPermissions(base,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QTemporaryDir dir(QDir(base).filePath(
        QStringLiteral("preview-%1-XXXXXX").arg(QCoreApplication::applicationPid())));
    if (!dir.isValid())
        return false;
    dir.setAutoRemove(false);
    m_folder = dir.path();
    m_ownFolder = true;
    return true;
}

QString PreviewPageStore::pageName(int index) {
    return QStringLiteral("PreviewMetafile") + QString::number(index);
}

QString PreviewPageStore::pathOf(const QString &name) const {
    return QDir(m_folder).filePath(name);
}

QString PreviewPageStore::storedPath(int index) const {
    const QString plain = pathOf(pageName(index));
    return m_compress ? plain + QStringLiteral(".CPR") : plain;
}

bool PreviewPageStore::savePage(const QPicture &page) {
    if (m_folder.isEmpty())
        return false;
    const int index = m_pageCount;
    const QString plain = pathOf(pageName(index));
    // Create it empty first: a file that cannot be created fails here, before any drawing.
    QFile file(plain);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    m_written.insert(index);
    QBuffer picture;
    picture.open(QIODevice::ReadWrite);
    bool ok = const_cast<QPicture &>(page).save(&picture);
    if (ok && !m_compress)
        ok = file.write(picture.data()) == picture.size() && file.flush();
    file.close();
    if (m_compress) {
        // The picture goes through zlib straight from memory; the plain file was the probe.
        QFile::remove(plain);
        if (ok) {
            QFile packed(plain + QStringLiteral(".CPR"));
            picture.seek(0);
            ok = packed.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                 TCompress::compress(picture, packed, 1) && packed.flush();
            packed.close();
            if (!ok)
                packed.remove();
        }
    } else if (!ok) {
        QFile::remove(plain);
    }
    if (!ok)
        return false;
    ++m_pageCount;
    return true;
}

bool PreviewPageStore::loadPage(int index, QPicture &page) const {
    if (m_folder.isEmpty() || index < 0)
        return false;
    QFile stored(storedPath(index));
    if (!stored.open(QIODevice::ReadOnly))
        return false;
    if (!m_compress)
        return page.load(&stored);
    // Inflated in memory: only the ".CPR" files lie in the folder between paints.
    QBuffer picture;
    picture.open(QIODevice::ReadWrite);
    if (!TCompress::decompress(stored, picture))
        return false;
    picture.seek(0);
    return page.load(&picture);
}

void PreviewPageStore::removePages() {
    if (m_folder.isEmpty())
        return;
    for (int index = 0; index <= 10000; ++index) {
        const QString stored = storedPath(index);
        if (!QFile::exists(stored))
            break;
        // In a shared folder a file we did not write belongs to someone else: leave it.
        if (!m_ownFolder && !m_written.contains(index))
            break;
        QFile::remove(stored);
    }
    m_written.clear();
    m_pageCount = 0;
}
