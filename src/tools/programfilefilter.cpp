#include "tools/programfilefilter.h"

#include <QFileSystemModel>

bool ProgramFileFilter::isProgram(const QFileInfo &info) {
    if (!info.isFile())
        return false;
    return info.isExecutable() ||
           info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0;
}

bool ProgramFileFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const {
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files)
        return true;
    const QFileInfo info = files->fileInfo(files->index(sourceRow, 0, sourceParent));
    return info.isDir() || isProgram(info);
}
