#include "icons/programimages.h"

#include "icons/tintedsvgiconengine.h"

#include <QFile>

namespace ProgramImages {

QIcon programIcon() {
    return QIcon(QString::fromLatin1(ProgramIconPath));
}

QIcon shippedImage(const QString &image) {
    QFile file(QStringLiteral(":/icons/images/%1.svg").arg(image));
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    return QIcon(new TintedSvgIconEngine(file.readAll()));
}

QIcon commandImage(const QString &themeName, const QString &image) {
    const QIcon shipped = shippedImage(image);
    if (themeName.isEmpty())
        return shipped;
    return QIcon::fromTheme(themeName, shipped);
}

} // namespace ProgramImages
