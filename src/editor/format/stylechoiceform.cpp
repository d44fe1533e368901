#include "editor/format/stylechoiceform.h"

#include "widgets/fernsbut.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TStyleChoiceForm::TStyleChoiceForm(const Design &design, const QString &remembered,
                                   std::function<void(const QString &)> choose, QWidget *parent)
    : QDialog(parent)
    , m_choose(std::move(choose)) {
    setWindowTitle(design.caption);
    setFixedSize(design.size);

    auto *layout = new QVBoxLayout(this);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setAccessibleName(QStringLiteral("Style"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *panelLayout = new QVBoxLayout(panel);

    m_group = new QGroupBox(design.groupCaption,
                            design.groupInPanel ? static_cast<QWidget *>(panel) : this);
    m_group->setAccessibleName(design.groupCaption);
    auto *groupLayout = new QVBoxLayout(m_group);
    // Radio buttons in a group are exclusive already; the button group reports clicks by index.
    m_buttons = new QButtonGroup(this);
    for (qsizetype i = 0; i < design.items.size(); ++i) {
        auto *button = new QRadioButton(design.items[i], m_group);
        button->setAccessibleName(design.items[i]);
        m_buttons->addButton(button, int(i));
        groupLayout->addWidget(button);
        m_items.append(button);
    }
    if (design.designIndex >= 0 && design.designIndex < m_items.size())
        m_items[design.designIndex]->setChecked(true);

    auto *note = new QLabel(design.note, panel);
    note->setObjectName(QStringLiteral("Label1"));
    note->setAccessibleName(QStringLiteral("Note"));
    FernSBut1 = new TFernSBut(panel);
    FernSBut1->setObjectName(QStringLiteral("FernSBut1"));
    FernSBut1->setText(QStringLiteral("OK"));
    FernSBut1->setAccessibleName(QStringLiteral("OK"));
    FernSBut1->setFixedSize(design.okSize);
    connect(FernSBut1, &QToolButton::clicked, this, &QDialog::accept);

    if (design.groupInPanel) {
        panelLayout->addWidget(m_group);
    } else {
        layout->addWidget(m_group);
    }
    panelLayout->addWidget(note);
    panelLayout->addWidget(FernSBut1, 0, Qt::AlignHCenter);
    layout->addWidget(panel);

    const qsizetype initial = design.items.indexOf(remembered);
    if (initial >= 0) {
        m_items[initial]->setChecked(true);
        if (m_choose)
            m_choose(design.items[initial]);
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, [this](int id) {
        if (m_choose)
            m_choose(m_items[id]->text());
    });
}

QRadioButton *TStyleChoiceForm::item(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

int TStyleChoiceForm::selectedIndex() const {
    return m_buttons->checkedId();
}
