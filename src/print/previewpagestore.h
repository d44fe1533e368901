#pragma once

#include <QLockFile>
#include <QSet>
#include <QString>
#include <memory>

class QPicture;

// The preview's page files: page n is "PreviewMetafile" + n, or that name + ".CPR" holding its
// zlib stream when compressing. They go in the working folder, unless that folder cannot be
// written or another running preview uses it; then in a private folder of this process below
// $XDG_RUNTIME_DIR/quillet/, which is removed again with the store.
class PreviewPageStore {
public:
    // `workingFolder` empty: the process's current folder.
    explicit PreviewPageStore(bool compress, const QString &workingFolder = QString());
    ~PreviewPageStore();
    PreviewPageStore(const PreviewPageStore &) = delete;
    PreviewPageStore &operator=(const PreviewPageStore &) = delete;

    bool compressed() const { return m_compress; }
    // Where the page files lie; empty when no folder could be had at all.
    QString folder() const { return m_folder; }
    bool usesPrivateFolder() const { return m_ownFolder; }
    int pageCount() const { return m_pageCount; }

    static QString pageName(int index);
    // The stored file of page `index` (with ".CPR" when compressing).
    QString storedPath(int index) const;

    // Stores `page` as the next page; false when its file cannot be created or written.
    bool savePage(const QPicture &page);
    // Loads page `index`; false when it does not exist or cannot be read.
    bool loadPage(int index, QPicture &page) const;
    // Deletes the stored page files from 0 up to the first gap; in a folder the store did not
    // create, only the files it wrote itself.
    void removePages();

private:
    QString pathOf(const QString &name) const;
    bool choosePrivateFolder();

    bool m_compress;
    QString m_folder;
    bool m_ownFolder = false;
    std::unique_ptr<QLockFile> m_lock;
    int m_pageCount = 0;
    QSet<int> m_written;
};
