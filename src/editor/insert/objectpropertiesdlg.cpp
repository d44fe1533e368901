#include "editor/insert/objectpropertiesdlg.h"

#include "widgets/dialogbuttons.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QSpinBox *side(QWidget *parent, const char *name, const QString &accessibleName, int value) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setRange(1, TObjectPropertiesDlg::MaxSide);
    box->setSuffix(QStringLiteral(" px"));
    box->setValue(value);
    return box;
}

} // namespace

TObjectPropertiesDlg::TObjectPropertiesDlg(const QSize &naturalSize, const QSize &shownSize,
                                           QWidget *parent)
    : QDialog(parent)
    , m_natural(naturalSize.isEmpty() ? shownSize : naturalSize) {
    setObjectName(QStringLiteral("ObjectPropertiesDlg"));
    setWindowTitle(QStringLiteral("Object Properties"));

    OriginalSize = new QLabel(
        QStringLiteral("Picture, %1 x %2 pixels").arg(m_natural.width()).arg(m_natural.height()),
        this);
    OriginalSize->setObjectName(QStringLiteral("OriginalSize"));
    OriginalSize->setAccessibleName(QStringLiteral("Original Size"));
    PictureWidth = side(this, "PictureWidth", QStringLiteral("Width"), shownSize.width());
    PictureHeight = side(this, "PictureHeight", QStringLiteral("Height"), shownSize.height());
    KeepProportions = new QCheckBox(QStringLiteral("&Keep proportions"), this);
    KeepProportions->setObjectName(QStringLiteral("KeepProportions"));
    KeepProportions->setAccessibleName(QStringLiteral("Keep proportions"));
    KeepProportions->setChecked(true);
    ResetBtn = new QPushButton(QStringLiteral("&Original Size"), this);
    ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
    ResetBtn->setAccessibleName(QStringLiteral("Original Size"));
    const DialogButtons dialogButtons = MakeOkCancelButtons(*this);
    OkBtn = dialogButtons.ok;
    CancelBtn = dialogButtons.cancel;

    connect(PictureWidth, &QSpinBox::valueChanged, this, &TObjectPropertiesDlg::widthChanged);
    connect(PictureHeight, &QSpinBox::valueChanged, this, &TObjectPropertiesDlg::heightChanged);
    connect(ResetBtn, &QPushButton::clicked, this, [this] {
        m_following = true;
        PictureWidth->setValue(m_natural.width());
        PictureHeight->setValue(m_natural.height());
        m_following = false;
    });

    auto *fields = new QFormLayout;
    fields->addRow(OriginalSize);
    fields->addRow(QStringLiteral("&Width:"), PictureWidth);
    fields->addRow(QStringLiteral("&Height:"), PictureHeight);
    fields->addRow(KeepProportions);
    fields->addRow(ResetBtn);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
}

QSize TObjectPropertiesDlg::chosenSize() const {
    return QSize(PictureWidth->value(), PictureHeight->value());
}

void TObjectPropertiesDlg::widthChanged(int width) {
    if (m_following || !KeepProportions->isChecked() || m_natural.width() <= 0)
        return;
    m_following = true;
    const qint64 height = qint64(width) * m_natural.height() / m_natural.width();
    PictureHeight->setValue(int(std::clamp<qint64>(height, 1, MaxSide)));
    m_following = false;
}

void TObjectPropertiesDlg::heightChanged(int height) {
    if (m_following || !KeepProportions->isChecked() || m_natural.height() <= 0)
        return;
    m_following = true;
    const qint64 width = qint64(height) * m_natural.width() / m_natural.height();
    PictureWidth->setValue(int(std::clamp<qint64>(width, 1, MaxSide)));
    m_following = false;
}
