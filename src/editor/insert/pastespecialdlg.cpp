#include "editor/insert/pastespecialdlg.h"

#include "widgets/dialogbuttons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TPasteSpecialDlg::TPasteSpecialDlg(const QStringList &formats, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PasteSpecialDlg"));
    setWindowTitle(QStringLiteral("Paste Special"));

    FormatList = new QListWidget(this);
    FormatList->setObjectName(QStringLiteral("FormatList"));
    FormatList->setAccessibleName(QStringLiteral("Paste As"));
    QStringList names;
    for (const QString &format : formats) {
        const QString name = formatName(format);
        if (names.contains(name))
            continue;
        names.append(name);
        m_offered.append(format);
        FormatList->addItem(name);
    }
    if (FormatList->count() > 0)
        FormatList->setCurrentRow(0);

    const DialogButtons dialogButtons = MakeOkCancelButtons(*this);
    OkBtn = dialogButtons.ok;
    CancelBtn = dialogButtons.cancel;
    OkBtn->setEnabled(FormatList->count() > 0);
    connect(FormatList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *label = new QLabel(QStringLiteral("&As:"), this);
    label->setBuddy(FormatList);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto *list = new QVBoxLayout;
    list->addWidget(label);
    list->addWidget(FormatList);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
}

QString TPasteSpecialDlg::chosenFormat() const {
    const int row = FormatList->currentRow();
    return row >= 0 && row < m_offered.size() ? m_offered[row] : QString();
}

QString TPasteSpecialDlg::formatName(const QString &mimeType) {
    if (mimeType == QLatin1String("text/rtf") || mimeType == QLatin1String("text/richtext") ||
        mimeType == QLatin1String("application/rtf"))
        return QStringLiteral("Rich Text Format");
    if (mimeType == QLatin1String("text/html"))
        return QStringLiteral("HTML Format");
    if (mimeType == QLatin1String("application/x-qrichtext") ||
        mimeType == QLatin1String("application/x-qt-richtext"))
        return QStringLiteral("Formatted Text");
    if (mimeType == QLatin1String("text/plain") ||
        mimeType.startsWith(QLatin1String("text/plain;")))
        return QStringLiteral("Unformatted Text");
    if (mimeType == QLatin1String("application/x-qt-image") ||
        mimeType.startsWith(QLatin1String("image/")))
        return QStringLiteral("Picture");
    return mimeType;
}
