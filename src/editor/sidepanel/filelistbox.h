#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

// The side panel's file list: the ordinary files of one folder that match its mask, by name
// without folder, in name order ignoring letter case. Folders, hidden files and whatever is not a
// regular file (devices, pipes, sockets, broken links) are not listed, so that opening an entry
// never waits on a device.
class FileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    // Patterns separated by ";". "*.*" and "*" match every name, as file masks always have,
    // names without an extension included.
    void setMask(const QString &mask);
    QString mask() const { return m_mask; }

    // Points the list at a folder and lists it anew; a folder that cannot be read lists nothing.
    // Listed again, the same folder keeps its highlighted entry.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }

    QStringList entries() const;
    // The selected entry's full path; empty when no entry is selected.
    QString selectedPath() const;
    // Empties the list; it stays empty until it is pointed at a folder again.
    void clearEntries();
    // Highlights one entry (-1: none) with the list's updates held back meanwhile.
    void highlightEntry(int row);

    // The names the list shows for a folder and mask.
    static QStringList listFolder(const QString &folder, const QString &mask);

signals:
    // A double click anywhere on the list, and the Enter key while it has the focus: both open
    // the selected file, or report that nothing can be loaded when none is selected.
    void fileDoubleClicked();
    void enterPressed();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_folder;
    QString m_mask = QStringLiteral("*.*");
};
