#include "widgets/dialogbuttons.h"

#include <QDialog>
#include <QPushButton>

namespace {

QPushButton *button(QDialog &dialog, const QString &caption, const char *name) {
    auto *result = new QPushButton(caption, &dialog);
    result->setObjectName(QLatin1String(name));
    result->setAccessibleName(caption);
    return result;
}

} // namespace

DialogButtons MakeOkCancelButtons(QDialog &dialog) {
    const DialogButtons buttons{button(dialog, QStringLiteral("OK"), "OkBtn"),
                                button(dialog, QStringLiteral("Cancel"), "CancelBtn")};
    buttons.ok->setDefault(true);
    QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return buttons;
}
