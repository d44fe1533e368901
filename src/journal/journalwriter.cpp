#include "journal/journalwriter.h"

#include "journal/documentcopier.h"
#include "journal/documentcopy.h"
#include "journal/journalfile.h"
#include "platform/savefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <exception>
#include <new>

namespace {

std::optional<QString> writeJournal(JournalEntry &entry, const DocumentCopy &copy,
                                    const std::function<QByteArray(const DocumentCopy &)> &rtf,
                                    const QString &path) {
    const QString made = QStringLiteral("the journal cannot be made: ");
    try {
        entry.content =
            entry.mode == JournalEntry::Mode::Rtf && rtf ? rtf(copy) : copy.plainText().toUtf8();
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return QStringLiteral("the folder %1 cannot be made")
                .arg(QFileInfo(path).absolutePath());
        return saveFileAtomically(path, JournalFile::encode(entry));
    } catch (const std::bad_alloc &) {
        return made + QStringLiteral("out of memory");
    } catch (const std::exception &error) {
        return made + QString::fromLocal8Bit(error.what());
    } catch (...) {
        return made + QStringLiteral("unknown error");
    }
}

} // namespace

JournalWriter::JournalWriter(JournalSource source, const JournalStore::ClaimFunction &claim,
                             QObject *parent)
    : QObject(parent)
    , m_source(std::move(source)) {
    // The name is held before any journal exists, so no other process ever takes this writer's
    // journal for one left behind. A name that cannot be claimed at all (no lock folder) still
    // leaves the work journalled.
    for (int attempt = 0; attempt < 8; ++attempt) {
        m_ownerId = JournalStore::newOwnerId();
        if (!claim ||
            claim(JournalStore::ownerName(m_ownerId)) != NamedMutex::Claim::AlreadyExisted)
            break;
    }
    m_path = JournalStore::pathFor(JournalStore::folder(), m_ownerId);
    m_pool.setMaxThreadCount(1);
    m_copier = new DocumentCopier(m_source.document, this);
    setDelays(DefaultPause, DefaultLongest);
    m_pause.setSingleShot(true);
    m_longest.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &JournalWriter::capture);
    connect(&m_longest, &QTimer::timeout, this, &JournalWriter::capture);
    connect(&m_source.document, &QTextDocument::contentsChanged, this, &JournalWriter::edited);
    connect(&m_source.document, &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (modified)
            edited();
        else
            discard();
    });
}

JournalWriter::~JournalWriter() {
    m_copier->cancel();
    m_pool.waitForDone();
    removeFile();
}

void JournalWriter::setDelays(int pauseMilliseconds, int longestMilliseconds) {
    m_pause.setInterval(pauseMilliseconds);
    m_longest.setInterval(longestMilliseconds);
}

void JournalWriter::edited() {
    if (!m_source.document.isModified())
        return;
    m_wanted = true;
    m_pause.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void JournalWriter::writeNow() {
    m_wanted = true;
    capture();
}

void JournalWriter::capture() {
    m_pause.stop();
    m_longest.stop();
    if (!m_wanted)
        return;
    if (m_writing || m_copier->busy()) {
        m_again = true;
        return;
    }
    if (m_source.plainText) {
        if (const std::optional<QString> text = m_source.plainText()) {
            copied(DocumentCopy::fromPlainText(*text));
            return;
        }
    }
    const bool withFormats = m_source.describe().mode == JournalEntry::Mode::Rtf;
    m_copier->start(withFormats,
                    [this](std::shared_ptr<const DocumentCopy> copy) { copied(std::move(copy)); });
}

void JournalWriter::copied(std::shared_ptr<const DocumentCopy> copy) {
    JournalEntry entry = m_source.describe();
    if ((entry.mode == JournalEntry::Mode::Rtf) != copy->withFormats) {
        // The mode changed while copying: copy again in the new one.
        capture();
        return;
    }
    entry.time = QDateTime::currentDateTimeUtc();
    entry.firstLine = copy->firstLine();
    m_writing = true;
    m_pool.start([this, copy = std::move(copy), entry = std::move(entry), rtf = m_source.rtf,
                  path = m_path]() mutable {
        // Nothing may leave the worker: an exception escaping a pool thread ends the program.
        std::optional<QString> error = writeJournal(entry, *copy, rtf, path);
        QMetaObject::invokeMethod(
            this, [this, error] { finished(error); }, Qt::QueuedConnection);
    });
}

void JournalWriter::finished(const std::optional<QString> &error) {
    m_writing = false;
    if (!m_wanted) {
        // Saved or given up while the journal was being written.
        removeFile();
        return;
    }
    if (error) {
        if (!m_reported) {
            m_reported = true;
            emit writeFailed(*error);
        }
    } else {
        m_reported = false;
        emit written();
    }
    if (m_again) {
        m_again = false;
        m_pause.start();
    }
}

void JournalWriter::discard() {
    m_wanted = false;
    m_again = false;
    m_reported = false;
    m_pause.stop();
    m_longest.stop();
    m_copier->cancel();
    if (!m_writing)
        removeFile();
}

bool JournalWriter::adopt(const QString &path) {
    if (m_writing)
        m_pool.waitForDone();
    const bool adopted = !JournalStore::adopt(path, m_ownerId).isEmpty();
    if (adopted)
        m_wanted = true;
    return adopted;
}

void JournalWriter::removeFile() {
    QFile::remove(m_path);
}
