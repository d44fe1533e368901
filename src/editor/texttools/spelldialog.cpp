#include "editor/texttools/spelldialog.h"

#include "editor/texttools/spellsession.h"
#include "platform/prompts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &caption, const QString &name, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setAccessibleName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TSpellDialog::TSpellDialog(SpellSession &session, const QList<SpellDictionary> &dictionaries,
                           int current, std::function<bool(int)> switchDictionary, Prompts &prompts,
                           QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_switchDictionary(std::move(switchDictionary))
    , m_prompts(prompts)
    , m_dictionaryIndex(current) {
    setObjectName(QStringLiteral("SpellDialog"));
    setWindowTitle(QStringLiteral("Spell Check"));

    m_context = new QLabel(this);
    m_context->setTextFormat(Qt::RichText);
    m_context->setWordWrap(true);
    m_context->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_context->setMinimumWidth(320);
    m_context->setAccessibleName(QStringLiteral("Not in dictionary"));
    m_changeTo = new QLineEdit(this);
    m_changeTo->setAccessibleName(QStringLiteral("Change to"));
    m_suggestions = new QListWidget(this);
    m_suggestions->setAccessibleName(QStringLiteral("Suggestions"));
    m_dictionaries = new QComboBox(this);
    m_dictionaries->setAccessibleName(QStringLiteral("Dictionary"));
    for (const SpellDictionary &d : dictionaries)
        m_dictionaries->addItem(d.displayName());
    m_dictionaries->setCurrentIndex(current);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Not in dictionary:"), m_context);
    fields->addRow(QStringLiteral("C&hange to:"), m_changeTo);
    fields->addRow(QStringLiteral("&Suggestions:"), m_suggestions);
    fields->addRow(QStringLiteral("&Dictionary:"), m_dictionaries);

    m_ignore = button(QStringLiteral("&Ignore"), QStringLiteral("Ignore"), this);
    m_ignoreAll = button(QStringLiteral("I&gnore All"), QStringLiteral("Ignore All"), this);
    m_change = button(QStringLiteral("&Change"), QStringLiteral("Change"), this);
    m_changeAll = button(QStringLiteral("Change A&ll"), QStringLiteral("Change All"), this);
    m_add = button(QStringLiteral("&Add"), QStringLiteral("Add"), this);
    m_cancel = button(QStringLiteral("Cancel"), QStringLiteral("Cancel"), this);
    m_change->setDefault(true);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_ignore, m_ignoreAll, m_change, m_changeAll, m_add})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_cancel);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(m_ignore, &QPushButton::clicked, this, &TSpellDialog::advance);
    connect(m_ignoreAll, &QPushButton::clicked, this, [this] {
        m_session.ignoreAll();
        advance();
    });
    connect(m_change, &QPushButton::clicked, this, [this] {
        m_session.change(m_changeTo->text());
        advance();
    });
    connect(m_changeAll, &QPushButton::clicked, this, [this] {
        m_session.changeAll(m_changeTo->text());
        advance();
    });
    connect(m_add, &QPushButton::clicked, this, [this] {
        const QString error = m_session.add();
        if (!error.isEmpty())
            m_prompts.warning(this, QStringLiteral("Spell Check"),
                              QStringLiteral("The word is accepted for now, but the personal word "
                                             "list could not be saved.\n%1")
                                  .arg(error));
        advance();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_suggestions, &QListWidget::currentTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            m_changeTo->setText(text);
    });
    connect(m_suggestions, &QListWidget::itemDoubleClicked, m_change, &QPushButton::click);
    connect(m_dictionaries, &QComboBox::activated, this, &TSpellDialog::dictionaryChosen);

    showCurrent();
}

void TSpellDialog::showCurrent() {
    const SpellContext context = m_session.context();
    const int length = int(m_session.word().size());
    m_contextText = context.text;
    // Only the word is marked; the text around it is escaped, whatever characters it holds.
    m_context->setText(context.text.left(context.offset).toHtmlEscaped() +
                       QStringLiteral("<b><font color=\"red\">") +
                       context.text.mid(context.offset, length).toHtmlEscaped() +
                       QStringLiteral("</font></b>") +
                       context.text.mid(context.offset + length).toHtmlEscaped());

    const QStringList suggestions = m_session.suggestions();
    {
        const QSignalBlocker block(m_suggestions);
        m_suggestions->clear();
        m_suggestions->addItems(suggestions);
        m_suggestions->setEnabled(!suggestions.isEmpty());
        if (!suggestions.isEmpty())
            m_suggestions->setCurrentRow(0);
    }
    m_changeTo->setText(suggestions.value(0, m_session.word()));
    m_changeTo->setFocus();
}

QString TSpellDialog::word() const {
    return m_session.word();
}

void TSpellDialog::advance() {
    if (m_session.findNext())
        showCurrent();
    else
        accept();
}

void TSpellDialog::dictionaryChosen(int index) {
    if (index == m_dictionaryIndex)
        return;
    if (!m_switchDictionary(index)) {
        const QSignalBlocker block(m_dictionaries);
        m_dictionaries->setCurrentIndex(m_dictionaryIndex);
        return;
    }
    m_dictionaryIndex = index;
    // The current word is checked again with the new dictionary and may be fine now.
    advance();
}
