// Metafile drawing over arbitrary bytes: the record checks, libemf2svg with Qt SVG, and libwmf
// with our drawing layer. Nothing may crash, leak, hang or allocate without bound.
#include "picture/metafilerenderer.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

// Text in a metafile needs fonts, which need a GUI application.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    MetafileRenderer::size(bytes);
    MetafileRenderer::render(bytes, QSize(64, 64));
    return 0;
}
