#pragma once

#include <QAbstractPrintDialog>
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

// Every message box, question, input box and common dialog of the program goes through this
// interface, so tests can script the answers and read the exact texts shown to the user.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal message box; answers the button pressed (the escape button when dismissed).
    virtual QMessageBox::StandardButton message(QWidget *parent, const QString &caption,
                                                const QString &text, QMessageBox::Icon icon,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;

    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(QWidget *parent, const QString &caption,
                                            const QString &prompt, const QString &initial) = 0;

    // File dialogs. `filters` are Qt filter strings ("Rich Text (*.rtf)"); `filterIndex` is the
    // index of the preselected filter and receives the chosen one. Empty result: cancelled.
    virtual QStringList openFileNames(QWidget *parent, const QString &caption,
                                      const QString &folder, const QStringList &filters,
                                      int *filterIndex, bool multiple) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption,
                                 const QString &initialPath, const QStringList &filters,
                                 int *filterIndex) = 0;
    virtual QString folder(QWidget *parent, const QString &caption, const QString &initial) = 0;

    virtual std::optional<QColor> color(QWidget *parent, const QColor &initial) = 0;
    virtual std::optional<QFont> font(QWidget *parent, const QFont &initial) = 0;

    // Print and page-setup dialogs over a printer; false when cancelled.
    virtual bool printDialog(QWidget *parent, QPrinter &printer) = 0;
    virtual bool pageSetupDialog(QWidget *parent, QPrinter &printer) = 0;
    // Parts of the page-setup dialog the user may not change.
    enum PageSetupPart { MarginsPart = 0x1, OrientationPart = 0x2, PaperPart = 0x4 };
    Q_DECLARE_FLAGS(PageSetupParts, PageSetupPart)
    // The page-setup dialog with `disabled` parts greyed out, centred across the screen and a
    // third of the way down; scripted answers treat it as the plain page-setup dialog.
    virtual bool pageSetupDocumentDialog(QWidget *parent, QPrinter &printer,
                                         PageSetupParts disabled) {
        Q_UNUSED(disabled);
        return pageSetupDialog(parent, printer);
    }
    // The print dialog offering only `options` (no page range, say); scripted answers treat it
    // as the plain print dialog.
    virtual bool printDocumentDialog(QWidget *parent, QPrinter &printer,
                                     QAbstractPrintDialog::PrintDialogOptions options) {
        Q_UNUSED(options);
        return printDialog(parent, printer);
    }

    // The print dialog offering pages (or sheets) `minPage` to `maxPage` to choose from; the
    // chosen range is left in the printer. Scripted answers record the limits.
    virtual bool printPagesDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage) {
        Q_UNUSED(minPage);
        Q_UNUSED(maxPage);
        return printDialog(parent, printer);
    }

    // Runs one of our own modal dialogs (password, paragraph, styles ...) and answers its result
    // code (QDialog::Accepted or Rejected).
    virtual int exec(QDialog &dialog) = 0;

    // Convenience wrappers over message().
    void information(QWidget *parent, const QString &caption, const QString &text) {
        message(parent, caption, text, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok);
    }
    void warning(QWidget *parent, const QString &caption, const QString &text) {
        message(parent, caption, text, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    }
    void error(QWidget *parent, const QString &caption, const QString &text) {
        message(parent, caption, text, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompts::PageSetupParts)
