// The project's converter library for .docx and .odt files: the four entry points of the
// converter interface over OfficeDocument and the RTF reader and writer.
#include "convert/office/officedocument.h"
#include "convert/textconverter.h"
#include "platform/savefile.h"
#include "richtext/rtf/documentio.h"

#include <QTextDocument>
#include <exception>

#define QUILLET_CONVERTER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Result codes of the interface's convention.
constexpr long OpenError = -1;
constexpr long WriteError = -4;
constexpr long BadData = -5;
constexpr long Cancelled = -13;

QString blockText(quillet_hglobal block) {
    const char *text = static_cast<const char *>(quillet_global_lock(block));
    if (!text)
        return QString();
    const QString result =
        QString::fromUtf8(text, qsizetype(strnlen(text, quillet_global_size(block))));
    quillet_global_unlock(block);
    return result;
}

} // namespace

QUILLET_CONVERTER_EXPORT long InitConverter32(void *window, const char *module) {
    Q_UNUSED(window);
    Q_UNUSED(module);
    return 1;
}

QUILLET_CONVERTER_EXPORT long IsFormatCorrect32(quillet_hglobal file, quillet_hglobal formatClass) {
    Q_UNUSED(formatClass);
    try {
        return OfficeDocument::detect(blockText(file)).has_value() ? 1 : 0;
    } catch (const std::exception &) {
        return 0;
    }
}

QUILLET_CONVERTER_EXPORT long ForeignToRtf32(quillet_hglobal file, void *storage,
                                             quillet_hglobal buffer, quillet_hglobal formatClass,
                                             quillet_hglobal subset,
                                             quillet_output_callback output) {
    Q_UNUSED(storage);
    Q_UNUSED(formatClass);
    Q_UNUSED(subset);
    try {
        QTextDocument document;
        if (OfficeDocument::read(blockText(file), document))
            return BadData;
        const QByteArray rtf = rtfFromDocument(document);
        for (qsizetype done = 0; done < rtf.size();) {
            const qsizetype count = std::min<qsizetype>(rtf.size() - done, QUILLET_CONVERTER_CHUNK);
            char *data = static_cast<char *>(quillet_global_lock(buffer));
            if (!data || quillet_global_size(buffer) < size_t(count))
                return QUILLET_CONVERTER_NO_MEMORY;
            memcpy(data, rtf.constData() + done, size_t(count));
            quillet_global_unlock(buffer);
            done += count;
            if (output(long(count), long(done * 100 / rtf.size())) != 0)
                return Cancelled;
        }
        return QUILLET_CONVERTER_OK;
    } catch (const std::bad_alloc &) {
        return QUILLET_CONVERTER_NO_MEMORY;
    } catch (const std::exception &) {
        return OpenError;
    }
}

QUILLET_CONVERTER_EXPORT long RtfToForeign32(quillet_hglobal file, void *storage,
                                             quillet_hglobal buffer, quillet_hglobal formatClass,
                                             quillet_input_callback input) {
    Q_UNUSED(storage);
    Q_UNUSED(formatClass);
    try {
        QByteArray rtf;
        for (;;) {
            const long count = input(0, 0);
            if (count < 0)
                return count;
            if (count == 0)
                break;
            const char *data = static_cast<const char *>(quillet_global_lock(buffer));
            if (!data)
                return QUILLET_CONVERTER_NO_MEMORY;
            rtf.append(data, std::min<qsizetype>(count, qsizetype(quillet_global_size(buffer))));
            quillet_global_unlock(buffer);
        }
        QTextDocument document;
        if (!readRtf(rtf, document).ok())
            return BadData;
        const QString name = blockText(file);
        const auto bytes = OfficeDocument::write(document, OfficeDocument::formatForFileName(name));
        if (!bytes || saveFileAtomically(name, *bytes))
            return WriteError;
        return QUILLET_CONVERTER_OK;
    } catch (const std::bad_alloc &) {
        return QUILLET_CONVERTER_NO_MEMORY;
    } catch (const std::exception &) {
        return WriteError;
    }
}
