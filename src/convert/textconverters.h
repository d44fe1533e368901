#pragma once

#include "convert/converterdiscovery.h"
#include "convert/textconverter.h"

#include <QByteArray>
#include <QLibrary>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class TRxRichEdit;

namespace Convert {

// Loads the RTF a converter produced into the editor in its current stream format; on failure
// sets `failure` to the reason and leaves false.
bool loadConvertedRtf(const QByteArray &rtf, TRxRichEdit &editor, QString &failure);

// The loaded text converter and the conversion running through it: loads a registered
// converter library by display name, checks its format, and drives its entry points and the two
// callbacks for one import or export at a time. Owns the loaded library until the next load that
// finds a path or ReleaseConverter. Messages for the user go to the sink given at construction;
// failure() says why the last import or export failed.
class TextConverters {
public:
    using MessageSink = std::function<void(const QString &)>;

    // machineStore: the path of the read-only machine store, read afresh for each load.
    TextConverters(QString machineStore, MessageSink message);
    ~TextConverters();
    TextConverters(const TextConverters &) = delete;
    TextConverters &operator=(const TextConverters &) = delete;

    // The library path registered for the display name (last match wins), else the word
    // processor's files for its own entries; empty when there is none.
    QString converterPath(const QString &displayName, Direction direction) const;
    // Loads the converter for the name, releasing the one loaded before when a path was found.
    // True when a library is loaded now.
    bool LoadConverter(const QString &displayName, Direction direction);
    bool CheckConverterFormat(const QString &fileName);
    // Converts a foreign file to RTF through the named converter; nullopt on failure.
    std::optional<QByteArray> importRtf(const QString &fileName, const QString &displayName);
    // Replaces the editor's content by the converted file, read in the editor's stream format.
    bool ImportWithConverter(const QString &fileName, const QString &displayName,
                             TRxRichEdit &editor);
    // Writes the RTF as a foreign file through the named converter. The file is replaced only
    // when the converter succeeded.
    bool exportRtf(const QString &fileName, const QString &displayName, const QByteArray &rtf);
    bool ExportWithConverter(const QString &fileName, const QString &displayName,
                             TRxRichEdit &editor);
    void ReleaseConverter();

    // The callbacks handed to the converter; they reach the running conversion.
    static long ConverterOutput(long bytes, long percent);
    static long ConverterInput(long flags, long percent);

    // The name "InitConverter32" is given: the program's path in upper case unless set here.
    void setModuleName(const QByteArray &name) { m_moduleName = name; }

    // The path of the loaded library; empty when none is loaded.
    QString loadedPath() const;
    // Why the last import or export failed, in a few words; empty after a success.
    const QString &failure() const { return m_failure; }

    static constexpr qsizetype InitialStreamSize = 524288;
    static constexpr long ChunkSize = QUILLET_CONVERTER_CHUNK;
    static constexpr size_t TransferBufferSize = QUILLET_CONVERTER_CHUNK + 1;

private:
    struct EntryPoints {
        quillet_init_converter init = nullptr;
        quillet_is_format_correct isFormatCorrect = nullptr;
        quillet_foreign_to_rtf foreignToRtf = nullptr;
        quillet_rtf_to_foreign rtfToForeign = nullptr;
    };

    bool initConverter();
    long output(long bytes);
    long input();

    QString m_machineStore;
    MessageSink m_message;
    std::unique_ptr<QLibrary> m_library;
    EntryPoints m_entries;
    QString m_failure;
    QByteArray m_moduleName;

    // The running conversion.
    quillet_hglobal m_buffer = nullptr;
    QByteArray m_stream;
    qsizetype m_position = 0;
    QByteArray m_source;
};

} // namespace Convert
