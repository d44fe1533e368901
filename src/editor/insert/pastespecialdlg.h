#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The "Paste Special" dialog: the clipboard's formats the editing area can take, by a readable
// name; OK pastes in the chosen one. Lives for one use.
class TPasteSpecialDlg : public QDialog {
    Q_OBJECT

public:
    // `formats`: clipboard formats (MIME types) in the clipboard's order. Formats that read the
    // same to the user are offered once, the first of them.
    explicit TPasteSpecialDlg(const QStringList &formats, QWidget *parent = nullptr);

    QListWidget *FormatList;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

    // The format of the selected entry; empty when none is selected.
    QString chosenFormat() const;
    // The formats offered, in list order.
    const QStringList &offered() const { return m_offered; }

    // What a format is called in the list.
    static QString formatName(const QString &mimeType);

private:
    QStringList m_offered;
};
