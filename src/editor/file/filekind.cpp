#include "editor/file/filekind.h"

FileKind DecideFileKind(const QString &name, bool openAsText) {
    if (openAsText)
        return FileKind::Text;
    const QString tail = name.right(3).toLower();
    if (tail == QLatin1String("rtf"))
        return FileKind::Rtf;
    if (tail == QLatin1String("exe") || tail == QLatin1String("com"))
        return FileKind::Program;
    if (tail == QLatin1String("bmp") || tail == QLatin1String("jpg") ||
        tail == QLatin1String("gif"))
        return FileKind::Picture;
    if (tail == QLatin1String("htm") || tail == QLatin1String("tml"))
        return FileKind::Page;
    if (tail == QLatin1String("wav"))
        return FileKind::Sound;
    return FileKind::Text;
}

bool IsForeignKind(FileKind kind) {
    return kind == FileKind::Program || kind == FileKind::Picture || kind == FileKind::Page ||
           kind == FileKind::Sound;
}

QString ProvideFileName(const QString &name, const QString &ext, SaveEntry kind) {
    const bool hasThreeLetterExtension = name.size() >= 4 && name.at(name.size() - 4) == u'.';
    if (!hasThreeLetterExtension)
        return name + QLatin1Char('.') + ext;
    if (kind == SaveEntry::AllFiles)
        return name;
    if (name.right(3).compare(ext, Qt::CaseInsensitive) == 0)
        return name;
    return name.chopped(4) + QLatin1Char('.') + ext;
}

bool HasRtfExtension(const QString &name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && name.mid(dot).compare(QLatin1String(".rtf"), Qt::CaseInsensitive) == 0;
}
