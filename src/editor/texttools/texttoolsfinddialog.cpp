#include "editor/texttools/texttoolsfinddialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TextToolsFindDialog::TextToolsFindDialog(bool replace, QWidget *parent)
    : QDialog(parent)
    , m_replace(replace) {
    setObjectName(replace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);

    m_findEdit = new QLineEdit(this);
    m_findEdit->setAccessibleName(QStringLiteral("Find what"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Fi&nd what:"), m_findEdit);
    if (replace) {
        m_replaceEdit = new QLineEdit(this);
        m_replaceEdit->setAccessibleName(QStringLiteral("Replace with"));
        fields->addRow(QStringLiteral("Re&place with:"), m_replaceEdit);
    }

    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setAccessibleName(QStringLiteral("Match case"));
    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_wholeWord->setAccessibleName(QStringLiteral("Match whole word only"));
    auto *options = new QVBoxLayout;
    options->addWidget(m_wholeWord);
    options->addWidget(m_matchCase);

    m_up = new QRadioButton(QStringLiteral("&Up"), this);
    m_up->setAccessibleName(QStringLiteral("Up"));
    m_down = new QRadioButton(QStringLiteral("&Down"), this);
    m_down->setAccessibleName(QStringLiteral("Down"));
    m_down->setChecked(true);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(options);
    if (!replace) {
        auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
        direction->setAccessibleName(QStringLiteral("Direction"));
        auto *directionLayout = new QHBoxLayout(direction);
        directionLayout->addWidget(m_up);
        directionLayout->addWidget(m_down);
        bottom->addWidget(direction);
    } else {
        m_up->hide();
        m_down->hide();
    }

    auto *buttons = new QVBoxLayout;
    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setAccessibleName(QStringLiteral("Find Next"));
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, &TextToolsFindDialog::findRequested);
    if (replace) {
        m_replaceButton = new QPushButton(QStringLiteral("&Replace"), this);
        m_replaceButton->setAccessibleName(QStringLiteral("Replace"));
        m_replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
        m_replaceAll->setAccessibleName(QStringLiteral("Replace All"));
        buttons->addWidget(m_replaceButton);
        buttons->addWidget(m_replaceAll);
        connect(m_replaceButton, &QPushButton::clicked, this,
                &TextToolsFindDialog::replaceRequested);
        connect(m_replaceAll, &QPushButton::clicked, this,
                &TextToolsFindDialog::replaceAllRequested);
    }
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    buttons->addWidget(cancel);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(bottom);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_findEdit, &QLineEdit::textChanged, this, &TextToolsFindDialog::updateButtons);
    updateButtons();
}

QString TextToolsFindDialog::findText() const {
    return m_findEdit->text();
}

void TextToolsFindDialog::setFindText(const QString &text) {
    m_findEdit->setText(text);
    m_findEdit->selectAll();
}

QString TextToolsFindDialog::replaceText() const {
    return m_replaceEdit ? m_replaceEdit->text() : QString();
}

void TextToolsFindDialog::setReplaceText(const QString &text) {
    if (m_replaceEdit)
        m_replaceEdit->setText(text);
}

bool TextToolsFindDialog::matchCase() const {
    return m_matchCase->isChecked();
}

void TextToolsFindDialog::setMatchCase(bool on) {
    m_matchCase->setChecked(on);
}

bool TextToolsFindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}

void TextToolsFindDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}

bool TextToolsFindDialog::down() const {
    return m_replace || m_down->isChecked();
}

void TextToolsFindDialog::setDown(bool on) {
    (on ? m_down : m_up)->setChecked(true);
}

void TextToolsFindDialog::updateButtons() {
    const bool any = !m_findEdit->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replace) {
        m_replaceButton->setEnabled(any);
        m_replaceAll->setEnabled(any);
    }
}
