#include "picture/picturefile.h"

#include "picture/metafilerenderer.h"
#include "picture/picturedecoder.h"
#include "platform/usererror.h"

#include <QFile>
#include <QFileInfo>

QImage LoadPictureFile(const QString &path) {
    const QFileInfo info(path);
    const QString extension = info.suffix();
    const QString kind = extension.toLower();
    const bool known = kind == QLatin1String("jpg") || kind == QLatin1String("jpeg") ||
                       kind == QLatin1String("bmp") || kind == QLatin1String("png") ||
                       kind == QLatin1String("gif") || kind == QLatin1String("ico") ||
                       kind == QLatin1String("emf") || kind == QLatin1String("wmf");
    if (!known)
        throw UserError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));

    QFile file(path);
    // Only ordinary files: a pipe or a device would never end.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw UserError(
            QStringLiteral("Cannot open file \"%1\". %2")
                .arg(path, info.exists() ? file.errorString() : QStringLiteral("No such file")));
    if (kind == QLatin1String("ico"))
        throw UserError(QStringLiteral("Clipboard does not support Icons"));
    const bool metafile = kind == QLatin1String("emf") || kind == QLatin1String("wmf");
    if (metafile && info.size() > MetafileRenderer::MaxBytes)
        throw UserError(QStringLiteral("\"%1\" is not a valid picture").arg(path));

    const QByteArray data = file.readAll();
    QImage picture;
    if (metafile)
        picture = MetafileRenderer::render(data);
    else if (kind.startsWith(QLatin1String("jp")))
        picture = PictureDecoder::decodeJpeg(data);
    else
        picture = PictureDecoder::decode(data);
    if (picture.isNull())
        throw UserError(QStringLiteral("\"%1\" is not a valid picture").arg(path));
    return picture;
}

const QString &PictureFileFilter() {
    static const QString filter =
        QStringLiteral("Picture Files |*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.emf;*.wmf|All Files | *.*");
    return filter;
}
