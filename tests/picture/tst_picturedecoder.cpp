#include "picture/dibdecoder.h"
#include "picture/metafilerenderer.h"
#include "picture/picturedecoder.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <cstdio>
#include <jpeglib.h>

namespace {

// A picture whose left half is red and right half blue, so orientation can be checked.
QImage halves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality = 90) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// An Exif block holding only the orientation tag, as cameras write it (big-endian here).
QByteArray withOrientation(const QByteArray &jpeg, int orientation) {
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("MM\0\x2A\0\0\0\x08", 8);
    exif += QByteArray("\0\x01", 2);                   // one entry
    exif += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, SHORT, count 1
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray(2, '\0');
    exif += QByteArray(4, '\0'); // no next directory
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(exif.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// A CMYK JPEG in Adobe's convention (stored values are inverted ink), one colour throughout.
QByteArray cmykJpeg(int width, int height, const uchar ink[4]) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 4);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
            row[size_t(x) * 4 + size_t(c)] = JSAMPLE(255 - ink[c]);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

QByteArray fixture(const char *name) {
    QFile file(QStringLiteral(QUILLET_TEST_DATA "/editor/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes of rectangle.wmf without its placeable header, as RTF embeds a metafile: a window of
// 48 x 24 units filled with #E02040 and no outline.
QByteArray bareWmf() {
    return QByteArray::fromHex(
        "010009000003340000000200080000000000050000000b0200000000050000000c0218003000070000"
        "00fc020000e02040000000040000002d01000008000000fa0205000000000000000000040000002d01"
        "0100070000001b041800300000000000030000000000");
}

void putU32(QByteArray &bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

bool near(QRgb actual, QColor expected) {
    return qAbs(qRed(actual) - expected.red()) < 40 &&
           qAbs(qGreen(actual) - expected.green()) < 40 &&
           qAbs(qBlue(actual) - expected.blue()) < 40;
}

} // namespace

// Decoding of the viewer's pictures: format from the bytes, fitting, libjpeg's scaled decoding,
// orientation marks, colour spaces, and refusal of broken input.
class tst_PictureDecoder : public QObject {
    Q_OBJECT

private slots:
    void sniffsByContent_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("format");
        QTest::addRow("jpeg") << QByteArray("\xFF\xD8\xFF\xE0", 4)
                              << int(PictureDecoder::Format::Jpeg);
        QTest::addRow("png") << QByteArray("\x89PNG\r\n\x1A\n") << int(PictureDecoder::Format::Png);
        QTest::addRow("gif87") << QByteArray("GIF87a") << int(PictureDecoder::Format::Gif);
        QTest::addRow("gif89") << QByteArray("GIF89a") << int(PictureDecoder::Format::Gif);
        QTest::addRow("bmp") << QByteArray("BM\x10\0") << int(PictureDecoder::Format::Bmp);
        QTest::addRow("html") << QByteArray("<html>") << int(PictureDecoder::Format::Unknown);
        QTest::addRow("svg") << QByteArray("<svg xmlns") << int(PictureDecoder::Format::Unknown);
        QTest::addRow("empty") << QByteArray() << int(PictureDecoder::Format::Unknown);
        QTest::addRow("jpeg soi only")
            << QByteArray("\xFF\xD8", 2) << int(PictureDecoder::Format::Unknown);
    }
    void sniffsByContent() {
        QFETCH(QByteArray, head);
        QFETCH(int, format);
        QCOMPARE(int(PictureDecoder::sniff(head)), format);
    }

    void fitsKeepingAspect_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("bounds");
        QTest::addColumn<QSize>("fitted");
        QTest::addRow("fits already") << QSize(100, 50) << QSize(200, 200) << QSize(100, 50);
        QTest::addRow("exactly the bounds")
            << QSize(200, 100) << QSize(200, 100) << QSize(200, 100);
        QTest::addRow("too wide") << QSize(4000, 3000) << QSize(800, 800) << QSize(800, 600);
        QTest::addRow("too tall") << QSize(3000, 4000) << QSize(800, 800) << QSize(600, 800);
        QTest::addRow("no bounds") << QSize(4000, 3000) << QSize() << QSize(4000, 3000);
        QTest::addRow("thin line") << QSize(10000, 1) << QSize(100, 100) << QSize(100, 1);
    }
    void fitsKeepingAspect() {
        QFETCH(QSize, picture);
        QFETCH(QSize, bounds);
        QFETCH(QSize, fitted);
        QCOMPARE(PictureDecoder::fitSize(picture, bounds), fitted);
    }

    void decodesJpegAtFullAndReducedSize() {
        const QByteArray jpeg = encoded(halves(400, 300), "jpg");
        QCOMPARE(PictureDecoder::size(jpeg), QSize(400, 300));
        const QImage full = PictureDecoder::decodeJpeg(jpeg);
        QCOMPARE(full.size(), QSize(400, 300));
        QVERIFY(near(full.pixel(10, 150), Qt::red));
        QVERIFY(near(full.pixel(390, 150), Qt::blue));
        const QImage small = PictureDecoder::decodeJpeg(jpeg, QSize(100, 100));
        QCOMPARE(small.size(), QSize(100, 75));
        QVERIFY(near(small.pixel(5, 37), Qt::red));
        QVERIFY(near(small.pixel(95, 37), Qt::blue));
    }

    void turnsJpegUpright_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("redAt");
        QTest::addColumn<QPoint>("blueAt");
        // The stored picture is 80 x 40, red on the left, blue on the right.
        QTest::addRow("1 as stored") << 1 << QSize(80, 40) << QPoint(5, 20) << QPoint(75, 20);
        QTest::addRow("2 mirrored") << 2 << QSize(80, 40) << QPoint(75, 20) << QPoint(5, 20);
        QTest::addRow("3 half turn") << 3 << QSize(80, 40) << QPoint(75, 20) << QPoint(5, 20);
        QTest::addRow("6 turned right") << 6 << QSize(40, 80) << QPoint(20, 5) << QPoint(20, 75);
        QTest::addRow("8 turned left") << 8 << QSize(40, 80) << QPoint(20, 75) << QPoint(20, 5);
        QTest::addRow("5 transposed") << 5 << QSize(40, 80) << QPoint(20, 5) << QPoint(20, 75);
        QTest::addRow("7 transversed") << 7 << QSize(40, 80) << QPoint(20, 75) << QPoint(20, 5);
        QTest::addRow("9 is no orientation")
            << 9 << QSize(80, 40) << QPoint(5, 20) << QPoint(75, 20);
    }
    void turnsJpegUpright() {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, redAt);
        QFETCH(QPoint, blueAt);
        const QByteArray jpeg = withOrientation(encoded(halves(80, 40), "jpg"), orientation);
        QCOMPARE(PictureDecoder::size(jpeg), size);
        const QImage image = PictureDecoder::decode(jpeg);
        QCOMPARE(image.size(), size);
        QVERIFY(near(image.pixel(redAt), Qt::red));
        QVERIFY(near(image.pixel(blueAt), Qt::blue));
        // Fitting works on the upright size.
        QCOMPARE(PictureDecoder::decode(jpeg, QSize(20, 20)).size(),
                 size.scaled(20, 20, Qt::KeepAspectRatio));
    }

    void decodesGrayAndCmykJpeg() {
        QImage gray(30, 20, QImage::Format_Grayscale8);
        gray.fill(200);
        const QImage grayDecoded = PictureDecoder::decode(encoded(gray, "jpg"));
        QCOMPARE(grayDecoded.size(), QSize(30, 20));
        QVERIFY(near(grayDecoded.pixel(15, 10), QColor(200, 200, 200)));

        const uchar redInk[4] = {0, 255, 255, 0};
        const QImage cmyk = PictureDecoder::decode(cmykJpeg(24, 16, redInk));
        QCOMPARE(cmyk.size(), QSize(24, 16));
        QVERIFY2(near(cmyk.pixel(12, 8), Qt::red), qPrintable(QColor(cmyk.pixel(12, 8)).name()));
    }

    void decodesQtFormats_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addRow("png") << QByteArray("png");
        QTest::addRow("bmp") << QByteArray("bmp");
    }
    void decodesQtFormats() {
        QFETCH(QByteArray, format);
        const QByteArray bytes = encoded(halves(60, 30), format.constData());
        QCOMPARE(PictureDecoder::size(bytes), QSize(60, 30));
        const QImage image = PictureDecoder::decode(bytes, QSize(30, 30));
        QCOMPARE(image.size(), QSize(30, 15));
        QVERIFY(near(image.pixel(2, 7), Qt::red));
    }

    // None of these may crash or hang; a header the decoder cannot read gives nothing.
    void refusesBrokenInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray jpeg = encoded(halves(64, 64), "jpg");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("jpeg markers only") << QByteArray("\xFF\xD8\xFF\xD9", 4);
        QTest::addRow("jpeg cut in its header") << jpeg.left(40);
        QTest::addRow("jpeg with garbage after its start")
            << QByteArray("\xFF\xD8\xFF", 3) + QByteArray(500, '\x5A');
        // A frame header declaring 65000 x 65000 pixels.
        QByteArray huge = jpeg;
        const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
        huge[sof + 5] = char(0xFD);
        huge[sof + 6] = char(0xE8);
        huge[sof + 7] = char(0xFD);
        huge[sof + 8] = char(0xE8);
        QTest::addRow("jpeg of 65000 x 65000") << huge;
        QByteArray zeroWidth = jpeg;
        zeroWidth[sof + 7] = 0;
        zeroWidth[sof + 8] = 0;
        QTest::addRow("jpeg of zero width") << zeroWidth;
        QTest::addRow("png header only") << QByteArray("\x89PNG\r\n\x1A\n") + QByteArray(20, '\0');
        QTest::addRow("gif header only") << QByteArray("GIF89a");
        QTest::addRow("bmp header only") << QByteArray("BM") + QByteArray(10, '\xFF');
        QTest::addRow("html") << QByteArray("<html><body>x</body></html>");
    }
    void refusesBrokenInput() {
        QFETCH(QByteArray, bytes);
        QVERIFY(PictureDecoder::decode(bytes).isNull());
        QVERIFY(PictureDecoder::decode(bytes, QSize(100, 100)).isNull());
        QVERIFY(!PictureDecoder::size(bytes).isValid() || PictureDecoder::size(bytes).isEmpty());
    }

    // A bitmap embedded without its file header, as documents store it; broken ones give
    // nothing.
    void decodesEmbeddedBitmaps() {
        const QByteArray dib = encoded(halves(60, 30), "bmp").mid(14);
        const QImage image = DibDecoder::decode(dib, 64);
        QCOMPARE(image.size(), QSize(60, 30));
        QVERIFY(near(image.pixel(2, 7), Qt::red));
        QVERIFY(DibDecoder::decode(dib.left(39), 64).isNull());
        QByteArray hugeHeader = dib;
        putU32(hugeHeader, 0, 0x7FFFFFFF);
        QVERIFY(DibDecoder::decode(hugeHeader, 64).isNull());
        QByteArray manyColours = dib;
        putU32(manyColours, 32, 100000);
        QVERIFY(DibDecoder::decode(manyColours, 64).isNull());
    }

    // A JPEG cut short after its header still shows what arrived, as browsers do.
    void showsTruncatedJpegPartly() {
        const QByteArray jpeg = encoded(halves(200, 200), "jpg");
        const QImage image = PictureDecoder::decode(jpeg.left(jpeg.size() / 2));
        QCOMPARE(image.size(), QSize(200, 200));
        QVERIFY(near(image.pixel(5, 5), Qt::red));
    }

    // The fixtures hold one brush, a rectangle in it and the end record; the "framed" ones draw
    // their rectangle in the middle of a frame (EMF) or window (WMF) twice its size, so the frame,
    // not the drawn extent, must decide where it lands.
    void rendersMetafilesAtTheirOwnSize_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("cornerEmpty");
        QTest::addRow("emf") << fixture("rectangle.emf") << QSize() << QSize(48, 24)
                             << QColor(0x20, 0x80, 0xE0) << false;
        QTest::addRow("emf with a frame beyond its drawing")
            << fixture("framed.emf") << QSize() << QSize(96, 48) << QColor(0x30, 0xA0, 0x50)
            << true;
        QTest::addRow("placeable wmf") << fixture("rectangle.wmf") << QSize() << QSize(48, 24)
                                       << QColor(0xE0, 0x20, 0x40) << false;
        // libwmf would allocate what the header claims for the largest record.
        QByteArray hugeRecord = fixture("rectangle.wmf");
        putU32(hugeRecord, 22 + 12, 0x7FFFFFFF);
        QTest::addRow("wmf claiming a record of gigabytes")
            << hugeRecord << QSize() << QSize(48, 24) << QColor(0xE0, 0x20, 0x40) << false;
        QTest::addRow("bare wmf at the size asked")
            << bareWmf() << QSize(30, 15) << QSize(30, 15) << QColor(0xE0, 0x20, 0x40) << false;
        QTest::addRow("bare wmf with a window beyond its drawing")
            << fixture("framed.wmf") << QSize(96, 48) << QSize(96, 48) << QColor(0x30, 0xA0, 0x50)
            << true;
        QTest::addRow("emf at the size asked")
            << fixture("rectangle.emf") << QSize(20, 40) << QSize(20, 40)
            << QColor(0x20, 0x80, 0xE0) << false;
        QTest::addRow("asked beyond the cap")
            << fixture("rectangle.emf") << QSize(20000, 10000)
            << QSize(MetafileRenderer::MaxSide, MetafileRenderer::MaxSide / 2)
            << QColor(0x20, 0x80, 0xE0) << false;
    }
    void rendersMetafilesAtTheirOwnSize() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, asked);
        QFETCH(QSize, size);
        QFETCH(QColor, colour);
        QFETCH(bool, cornerEmpty);
        QVERIFY(!bytes.isEmpty());
        if (asked.isEmpty())
            QCOMPARE(MetafileRenderer::size(bytes), size);
        const QImage image = MetafileRenderer::render(bytes, asked);
        QCOMPARE(image.size(), size);
        const QRgb centre = image.pixel(size.width() / 2, size.height() / 2);
        QVERIFY2(centre == colour.rgb(),
                 qPrintable(QColor::fromRgba(centre).name(QColor::HexArgb)));
        QCOMPARE(qAlpha(image.pixel(3, 3)) == 0, cornerEmpty);
    }

    void sniffsMetafiles_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("kind");
        QTest::addRow("emf") << fixture("rectangle.emf") << int(MetafileRenderer::Kind::Emf);
        QTest::addRow("placeable wmf")
            << fixture("rectangle.wmf") << int(MetafileRenderer::Kind::Wmf);
        QTest::addRow("bare wmf") << bareWmf() << int(MetafileRenderer::Kind::Wmf);
        QTest::addRow("png") << encoded(halves(4, 4), "png")
                             << int(MetafileRenderer::Kind::Unknown);
        QTest::addRow("empty") << QByteArray() << int(MetafileRenderer::Kind::Unknown);
    }
    void sniffsMetafiles() {
        QFETCH(QByteArray, head);
        QFETCH(int, kind);
        QCOMPARE(int(MetafileRenderer::sniff(head)), kind);
    }

    // A header may claim any frame; the picture stays within the cap and keeps its aspect.
    void capsTheSizeAHeaderClaims() {
        QByteArray bytes = fixture("rectangle.emf");
        putU32(bytes, 32, 0x7FFFFFFF); // frame right
        putU32(bytes, 36, 0x3FFFFFFF); // frame bottom
        const QSize size = MetafileRenderer::size(bytes);
        QCOMPARE(size, QSize(MetafileRenderer::MaxSide, MetafileRenderer::MaxSide / 2));
        QCOMPARE(MetafileRenderer::render(bytes).size(), size);
    }

    // None of these may crash or hang; each gives a null picture and no size.
    void refusesBrokenMetafiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray goodEmf = fixture("rectangle.emf");
        const QByteArray goodWmf = fixture("rectangle.wmf");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("emf cut in its header") << goodEmf.left(60);
        QTest::addRow("emf without its end record") << goodEmf.chopped(20);
        QTest::addRow("emf cut inside a record") << goodEmf.chopped(30);
        QByteArray zeroRecord = goodEmf;
        putU32(zeroRecord, 108 + 4, 0);
        QTest::addRow("emf record of no bytes") << zeroRecord;
        QByteArray longRecord = goodEmf;
        putU32(longRecord, 108 + 4, 0x7FFFFFF0);
        QTest::addRow("emf record beyond the end") << longRecord;
        QTest::addRow("wmf cut in its header") << goodWmf.left(30);
        QTest::addRow("wmf without its end record") << goodWmf.chopped(6);
        QByteArray zeroWords = goodWmf;
        putU32(zeroWords, 22 + 18, 0);
        QTest::addRow("wmf record of no words") << zeroWords;
        QByteArray emptyBox = goodWmf;
        emptyBox[10] = 0; // right edge onto the left one
        QTest::addRow("placeable wmf with an empty box") << emptyBox;
        QTest::addRow("wmf header then garbage") << goodWmf.left(40) + QByteArray(300, '\x5A');
        QTest::addRow("garbage") << QByteArray(300, '\x5A');
    }
    void refusesBrokenMetafiles() {
        QFETCH(QByteArray, bytes);
        QVERIFY(MetafileRenderer::render(bytes).isNull());
        QVERIFY(MetafileRenderer::render(bytes, QSize(50, 50)).isNull());
        QVERIFY(!MetafileRenderer::size(bytes).isValid());
    }

    // Its text closes the CDATA section libemf2svg puts it in and adds a reference to a picture
    // file: well formed, but not drawn rather than letting a file from the disk into the picture.
    void refusesEmfReachingForFiles() {
        const QByteArray bytes = fixture("textinjection.emf");
        QVERIFY(MetafileRenderer::size(bytes).isValid());
        QVERIFY(MetafileRenderer::render(bytes).isNull());
    }

    // The fixture holds a \wmetafile8 whose window is wider than its drawing, an \emfblip, and
    // an \emfblip that holds a placeable WMF, as some writers produce; each is drawn at its goal.
    void drawsMetafilesInRtf() {
        QTextDocument document;
        QVERIFY(readRtf(fixture("metafiles.rtf"), document).ok());
        struct Expected {
            QSize size;
            QColor colour;
            bool cornerEmpty;
        };
        const QList<Expected> expected = {{QSize(96, 48), QColor(0x30, 0xA0, 0x50), true},
                                          {QSize(48, 24), QColor(0x20, 0x80, 0xE0), false},
                                          {QSize(48, 24), QColor(0xE0, 0x20, 0x40), false}};
        QList<QImage> pictures;
        for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                pictures.append(qvariant_cast<QImage>(document.resource(
                    QTextDocument::ImageResource, QUrl(format.toImageFormat().name()))));
        }
        QCOMPARE(pictures.size(), expected.size());
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const QImage &picture = pictures[i];
            QCOMPARE(picture.size(), expected[i].size);
            QCOMPARE(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)),
                     expected[i].colour);
            QCOMPARE(qAlpha(picture.pixel(3, 3)) == 0, expected[i].cornerEmpty);
        }
    }

    void readsFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(encoded(halves(50, 40), "png")); // the name does not decide the format
        file.close();
        QCOMPARE(PictureDecoder::decodeFile(path).size(), QSize(50, 40));
        QVERIFY(PictureDecoder::decodeFile(dir.filePath(QStringLiteral("missing.jpg"))).isNull());
        QVERIFY(PictureDecoder::decodeFile(dir.path()).isNull());
    }
};

QUILLET_TEST_MAIN(tst_PictureDecoder)
#include "tst_picturedecoder.moc"
