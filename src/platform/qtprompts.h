#pragma once

#include "platform/prompts.h"

// The Prompts of the running program: real Qt message boxes and dialogs, each modal to `parent`.
// File-dialog filter indexes count from 0 in the order of `filters`.
class QtPrompts : public Prompts {
public:
    QMessageBox::StandardButton message(QWidget *parent, const QString &caption,
                                        const QString &text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> inputBox(QWidget *parent, const QString &caption, const QString &prompt,
                                    const QString &initial) override;
    QStringList openFileNames(QWidget *parent, const QString &caption, const QString &folder,
                              const QStringList &filters, int *filterIndex, bool multiple) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &initialPath,
                         const QStringList &filters, int *filterIndex) override;
    QString folder(QWidget *parent, const QString &caption, const QString &initial) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial) override;
    bool printDialog(QWidget *parent, QPrinter &printer) override;
    bool pageSetupDialog(QWidget *parent, QPrinter &printer) override;
    bool pageSetupDocumentDialog(QWidget *parent, QPrinter &printer,
                                 PageSetupParts disabled) override;
    bool printPagesDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage) override;
    bool printDocumentDialog(QWidget *parent, QPrinter &printer,
                             QAbstractPrintDialog::PrintDialogOptions options) override;
    int exec(QDialog &dialog) override;
};
