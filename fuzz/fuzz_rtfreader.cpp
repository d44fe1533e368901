#include "richtext/rtf/documentio.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

// Feeds arbitrary bytes to the RTF reader, then writes what it read and reads that again: the
// reader must survive any input, and its document must survive the writer.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (!readRtf(bytes, document).ok())
        return 0;
    const QByteArray written = rtfFromDocument(document);
    QTextDocument again;
    if (!readRtf(written, again).ok())
        std::abort();
    return 0;
}
