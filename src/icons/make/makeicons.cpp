#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

// quillet_makeicons SVG OUTDIR SIZE...: renders SVG into OUTDIR/<size>/quillet.png for each size.
int main(int argc, char *argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: quillet_makeicons SVG OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quillet_makeicons: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "quillet_makeicons: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString folder =
            QDir(QString::fromLocal8Bit(argv[2])).filePath(QString::number(size));
        const QString file = QDir(folder).filePath(QStringLiteral("quillet.png"));
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "quillet_makeicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
