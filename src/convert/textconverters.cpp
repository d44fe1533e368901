#include "convert/textconverters.h"

#include "platform/busycursor.h"
#include "platform/savefile.h"
#include "platform/settingsstore.h"
#include "richtext/richeditstrings.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <exception>

namespace Convert {

namespace {

const QString InitFailed = QStringLiteral("Please report: InitConverter failed");
const QString WrongFormat = QStringLiteral("Not the correct file format");
const QString CannotExport = QStringLiteral("Coult not export document");

// The callbacks carry no context of their own, so they find the running conversion here; the
// modal commands allow one conversion at a time.
TextConverters *runningConversion = nullptr;

class RunningConversion {
public:
    explicit RunningConversion(TextConverters &conversion) { runningConversion = &conversion; }
    ~RunningConversion() { runningConversion = nullptr; }
    RunningConversion(const RunningConversion &) = delete;
    RunningConversion &operator=(const RunningConversion &) = delete;
};

// A string for the converter in a movable block of twice its length plus one byte (more when its
// UTF-8 form needs it), zero-terminated.
class StringBlock {
public:
    explicit StringBlock(const QString &text) {
        const QByteArray bytes = text.toUtf8();
        const size_t size = std::max<size_t>(2 * size_t(text.size()) + 1, size_t(bytes.size()) + 1);
        m_block = quillet_global_alloc(size);
        if (!m_block)
            throw std::bad_alloc();
        char *data = static_cast<char *>(quillet_global_lock(m_block));
        memcpy(data, bytes.constData(), size_t(bytes.size()));
        quillet_global_unlock(m_block);
    }
    ~StringBlock() { quillet_global_free(m_block); }
    StringBlock(const StringBlock &) = delete;
    StringBlock &operator=(const StringBlock &) = delete;
    quillet_hglobal get() const { return m_block; }

private:
    quillet_hglobal m_block = nullptr;
};

// The transfer buffer of one conversion, freed however the conversion ends.
class TransferBuffer {
public:
    explicit TransferBuffer(quillet_hglobal &slot)
        : m_slot(slot) {
        m_slot = quillet_global_alloc(TextConverters::TransferBufferSize);
        if (!m_slot)
            throw std::bad_alloc();
    }
    ~TransferBuffer() {
        quillet_global_free(m_slot);
        m_slot = nullptr;
    }
    TransferBuffer(const TransferBuffer &) = delete;
    TransferBuffer &operator=(const TransferBuffer &) = delete;

private:
    quillet_hglobal &m_slot;
};

// A path in upper case, ASCII letters only.
QByteArray upperCased(QByteArray path) {
    for (char &c : path)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return path;
}

template <class Function>
Function entryPoint(QLibrary &library, const char *name) {
    return reinterpret_cast<Function>(library.resolve(name));
}

} // namespace

TextConverters::TextConverters(QString machineStore, MessageSink message)
    : m_machineStore(std::move(machineStore))
    , m_message(std::move(message)) {}

TextConverters::~TextConverters() {
    ReleaseConverter();
}

QString TextConverters::converterPath(const QString &displayName, Direction direction) const {
    const SettingsStore machine(m_machineStore, SettingsStore::Access::ReadOnly);
    QString path;
    const QString root = directionKey(direction);
    if (machine.keyExists(root)) {
        for (const QString &subKey : machine.subKeyNames(root)) {
            const QString key = root + QLatin1Char('\\') + subKey;
            const auto type = machine.valueType(key, QStringLiteral("Name"));
            if (!type || *type != RegistryValue::Type::String ||
                machine.readString(key, QStringLiteral("Name")) != displayName)
                continue;
            const auto pathType = machine.valueType(key, QStringLiteral("Path"));
            if (pathType && *pathType == RegistryValue::Type::String)
                path = machine.readString(key, QStringLiteral("Path"));
        }
    }
    if (!path.isEmpty())
        return path;
    const QString folder = GetWordPadDir(machine);
    if (displayName.contains(QLatin1String("Word 6.0/95")))
        return folder + QStringLiteral("mswd6_32.wpc");
    if (displayName.contains(QLatin1String("Windows Write")))
        return folder + QStringLiteral("write32.wpc");
    if (displayName.contains(QLatin1String("WordPad")))
        return folder + QStringLiteral("mswd6_32.wpc");
    return QString();
}

bool TextConverters::LoadConverter(const QString &displayName, Direction direction) {
    const QString path = converterPath(displayName, direction);
    if (path.isEmpty()) {
        // The library loaded before stays loaded, but none of its entry points is used.
        m_entries = {};
        return false;
    }
    ReleaseConverter();
    auto library = std::make_unique<QLibrary>(path);
    if (!library->load()) {
        m_failure = QStringLiteral("cannot load the converter: ") + library->errorString();
        return false;
    }
    m_entries.init = entryPoint<quillet_init_converter>(*library, "InitConverter32");
    m_entries.isFormatCorrect =
        entryPoint<quillet_is_format_correct>(*library, "IsFormatCorrect32");
    m_entries.foreignToRtf = entryPoint<quillet_foreign_to_rtf>(*library, "ForeignToRtf32");
    m_entries.rtfToForeign = entryPoint<quillet_rtf_to_foreign>(*library, "RtfToForeign32");
    m_library = std::move(library);
    return true;
}

void TextConverters::ReleaseConverter() {
    m_entries = {};
    if (m_library) {
        m_library->unload();
        m_library.reset();
    }
}

QString TextConverters::loadedPath() const {
    return m_library ? m_library->fileName() : QString();
}

bool TextConverters::initConverter() {
    const QByteArray module = upperCased(
        m_moduleName.isEmpty() ? QCoreApplication::applicationFilePath().toUtf8() : m_moduleName);
    if (!m_entries.init || m_entries.init(nullptr, module.constData()) == 0) {
        m_message(InitFailed);
        return false;
    }
    return true;
}

bool TextConverters::CheckConverterFormat(const QString &fileName) {
    if (!initConverter())
        return false;
    const StringBlock file(fileName);
    const StringBlock formatClass(QString{});
    return m_entries.isFormatCorrect &&
           m_entries.isFormatCorrect(file.get(), formatClass.get()) != 0;
}

std::optional<QByteArray> TextConverters::importRtf(const QString &fileName,
                                                    const QString &displayName) {
    m_failure.clear();
    try {
        if (!LoadConverter(displayName, Direction::Import)) {
            if (m_failure.isEmpty())
                m_failure = QStringLiteral("no converter for ") + displayName;
            return std::nullopt;
        }
        if (!CheckConverterFormat(fileName)) {
            m_message(WrongFormat);
            m_failure = WrongFormat;
            return std::nullopt;
        }
        const StringBlock subset(QString{});
        const StringBlock formatClass(QString{});
        const StringBlock file(fileName);
        const TransferBuffer buffer(m_buffer);
        const BusyCursor busy;
        m_stream = QByteArray(InitialStreamSize, Qt::Uninitialized);
        m_position = 0;
        long result = -1;
        if (m_entries.foreignToRtf) {
            const RunningConversion running(*this);
            result = m_entries.foreignToRtf(file.get(), nullptr, m_buffer, formatClass.get(),
                                            subset.get(), &TextConverters::ConverterOutput);
        }
        QByteArray rtf = std::move(m_stream);
        m_stream = QByteArray();
        if (result != 0) {
            m_failure = m_entries.foreignToRtf
                            ? QStringLiteral("the converter reported error %1").arg(result)
                            : QStringLiteral("the converter cannot import");
            return std::nullopt;
        }
        rtf.truncate(m_position);
        return rtf;
    } catch (const std::exception &error) {
        m_stream = QByteArray();
        m_failure = QString::fromLocal8Bit(error.what());
        return std::nullopt;
    }
}

bool loadConvertedRtf(const QByteArray &rtf, TRxRichEdit &editor, QString &failure) {
    try {
        QBuffer stream;
        stream.setData(rtf);
        stream.open(QIODevice::ReadOnly);
        editor.Lines().LoadFromStream(stream);
        return true;
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
        return false;
    }
}

bool TextConverters::ImportWithConverter(const QString &fileName, const QString &displayName,
                                         TRxRichEdit &editor) {
    const std::optional<QByteArray> rtf = importRtf(fileName, displayName);
    if (!rtf)
        return false;
    return loadConvertedRtf(*rtf, editor, m_failure);
}

long TextConverters::output(long bytes) {
    char *data = static_cast<char *>(quillet_global_lock(m_buffer));
    if (!data)
        return QUILLET_CONVERTER_NO_MEMORY;
    // A converter that claims more than the buffer holds gets only what is there.
    const qsizetype count = std::min<qsizetype>(bytes, qsizetype(quillet_global_size(m_buffer)));
    if (count > 0) {
        if (m_position + count >= m_stream.size())
            m_stream.resize(m_stream.size() + m_stream.size() / 4);
        if (m_position + count > m_stream.size())
            m_stream.resize(m_position + count);
        memcpy(m_stream.data() + m_position, data, size_t(count));
        m_position += count;
    }
    quillet_global_unlock(m_buffer);
    return 0;
}

long TextConverters::ConverterOutput(long bytes, long percent) {
    Q_UNUSED(percent);
    return runningConversion ? runningConversion->output(bytes) : -1;
}

bool TextConverters::exportRtf(const QString &fileName, const QString &displayName,
                               const QByteArray &rtf) {
    m_failure.clear();
    if (!LoadConverter(displayName, Direction::Export)) {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("no converter for ") + displayName;
        return false;
    }
    if (!initConverter()) {
        m_failure = QStringLiteral("the converter did not start");
        return false;
    }
    // The converter writes a file of its own; the target is replaced only by a complete result.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        m_failure = QStringLiteral("no room for a temporary file: ") + scratch.errorString();
        return false;
    }
    const QString draft = scratch.filePath(QFileInfo(fileName).fileName());
    const StringBlock formatClass(QString{});
    const StringBlock file(draft);
    const TransferBuffer buffer(m_buffer);
    const BusyCursor busy;
    m_position = 0;
    if (!m_entries.rtfToForeign) {
        m_message(CannotExport);
        m_failure = CannotExport;
        return false;
    }
    m_source = rtf;
    long result = 0;
    {
        const RunningConversion running(*this);
        result = m_entries.rtfToForeign(file.get(), nullptr, m_buffer, formatClass.get(),
                                        &TextConverters::ConverterInput);
    }
    m_source = QByteArray();
    if (result != 0) {
        m_failure = QStringLiteral("the converter reported error %1").arg(result);
        return false;
    }
    QFile written(draft);
    if (!written.open(QIODevice::ReadOnly)) {
        m_failure = QStringLiteral("the converter wrote no file");
        return false;
    }
    if (const auto error = saveFileAtomically(fileName, written.readAll())) {
        m_failure = *error;
        return false;
    }
    return true;
}

bool TextConverters::ExportWithConverter(const QString &fileName, const QString &displayName,
                                         TRxRichEdit &editor) {
    return exportRtf(fileName, displayName, editor.RtfBytes());
}

long TextConverters::input() {
    char *data = static_cast<char *>(quillet_global_lock(m_buffer));
    if (!data)
        return QUILLET_CONVERTER_NO_MEMORY;
    long count = 0;
    if (m_position < m_source.size()) {
        count = long(std::min<qsizetype>(m_source.size() - m_position, ChunkSize));
        memcpy(data, m_source.constData() + m_position, size_t(count));
        m_position += count;
    }
    quillet_global_unlock(m_buffer);
    return count;
}

long TextConverters::ConverterInput(long flags, long percent) {
    Q_UNUSED(flags);
    Q_UNUSED(percent);
    return runningConversion ? runningConversion->input() : QUILLET_CONVERTER_NO_MEMORY;
}

} // namespace Convert
