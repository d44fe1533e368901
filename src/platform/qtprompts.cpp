#include "platform/qtprompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScreen>
#include <initializer_list>

namespace {

// Shared set-up of the open and save dialogs: filters, preselected filter, answer of the chosen
// one.
QStringList runFileDialog(QFileDialog &dialog, const QStringList &filters, int *filterIndex) {
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = filterIndex ? *filterIndex : 0;
        dialog.selectNameFilter(filters.value(index >= 0 && index < filters.size() ? index : 0));
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (filterIndex && !filters.isEmpty()) {
        const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
        if (chosen >= 0)
            *filterIndex = chosen;
    }
    return dialog.selectedFiles();
}

} // namespace

QMessageBox::StandardButton QtPrompts::message(QWidget *parent, const QString &caption,
                                               const QString &text, QMessageBox::Icon icon,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

std::optional<QString> QtPrompts::inputBox(QWidget *parent, const QString &caption,
                                           const QString &prompt, const QString &initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtPrompts::openFileNames(QWidget *parent, const QString &caption, const QString &folder,
                                     const QStringList &filters, int *filterIndex, bool multiple) {
    QFileDialog dialog(parent, caption, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    return runFileDialog(dialog, filters, filterIndex);
}

QString QtPrompts::saveFileName(QWidget *parent, const QString &caption, const QString &initialPath,
                                const QStringList &filters, int *filterIndex) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!initialPath.isEmpty())
        dialog.selectFile(initialPath);
    return runFileDialog(dialog, filters, filterIndex).value(0);
}

QString QtPrompts::folder(QWidget *parent, const QString &caption, const QString &initial) {
    return QFileDialog::getExistingDirectory(parent, caption, initial);
}

std::optional<QColor> QtPrompts::color(QWidget *parent, const QColor &initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> QtPrompts::font(QWidget *parent, const QFont &initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

bool QtPrompts::printDialog(QWidget *parent, QPrinter &printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::printPagesDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage) {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(minPage, maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::printDocumentDialog(QWidget *parent, QPrinter &printer,
                                    QAbstractPrintDialog::PrintDialogOptions options) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::pageSetupDialog(QWidget *parent, QPrinter &printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::pageSetupDocumentDialog(QWidget *parent, QPrinter &printer,
                                        PageSetupParts disabled) {
    QPageSetupDialog dialog(&printer, parent);
    // Qt offers no switches for these; its fields are found by their names.
    const auto disable = [&dialog](std::initializer_list<const char *> names) {
        for (const char *name : names)
            if (QWidget *field = dialog.findChild<QWidget *>(QLatin1String(name)))
                field->setEnabled(false);
    };
    if (disabled & MarginsPart)
        disable({"topMargin", "bottomMargin", "leftMargin", "rightMargin"});
    if (disabled & OrientationPart)
        disable({"portrait", "landscape", "reverseLandscape", "reversePortrait"});
    if (disabled & PaperPart)
        disable({"pageSizeCombo", "pageWidth", "pageHeight", "paperSource"});
    dialog.adjustSize();
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        dialog.move(area.x() + (area.width() - dialog.width()) / 2,
                    area.y() + (area.height() - dialog.height()) / 3);
    }
    return dialog.exec() == QDialog::Accepted;
}

int QtPrompts::exec(QDialog &dialog) {
    return dialog.exec();
}
