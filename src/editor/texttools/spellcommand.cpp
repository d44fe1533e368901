#include "editor/texttools/spellcommand.h"

#include "editor/texttools/spelldialog.h"
#include "editor/texttools/spellpersonalwords.h"
#include "editor/texttools/spellsession.h"
#include "editor/texttools/texttoolstarget.h"
#include "platform/busycursor.h"
#include "platform/prompts.h"

#include <QApplication>

namespace {

const QString kCaption = QStringLiteral("Spell Check");

} // namespace

SpellCommand::SpellCommand(TextToolsTarget &memo, Prompts &prompts, QWidget *window,
                           QStringList dictionaryFolders, QString personalWordsPath)
    : m_memo(memo)
    , m_prompts(prompts)
    , m_window(window)
    , m_folders(std::move(dictionaryFolders))
    , m_personalPath(personalWordsPath.isEmpty() ? SpellPersonalWords::defaultPath()
                                                 : std::move(personalWordsPath)) {}

SpellCommand::~SpellCommand() = default;

QString SpellCommand::dictionaryName() const {
    return m_checker ? m_checker->dictionary().name : QString();
}

bool SpellCommand::load(const SpellDictionary &dictionary) {
    if (m_checker && m_checker->dictionary().dicPath == dictionary.dicPath)
        return true;
    std::unique_ptr<SpellChecker> checker;
    {
        BusyCursor busy;
        checker = std::make_unique<SpellChecker>(dictionary);
    }
    if (!checker->isValid()) {
        m_prompts.warning(m_window, kCaption,
                          QStringLiteral("The spelling dictionary \"%1\" could not be read.")
                              .arg(dictionary.name));
        return false;
    }
    m_checker = std::move(checker);
    return true;
}

void SpellCommand::SpellActionExecute() {
    const QList<SpellDictionary> dictionaries = FindSpellDictionaries(m_folders);
    if (dictionaries.isEmpty()) {
        m_prompts.warning(m_window, kCaption,
                          QStringLiteral("No spelling dictionary is installed, so the text cannot "
                                         "be checked. Install a Hunspell dictionary (such as the "
                                         "package \"hunspell-en-us\") and try again."));
        return;
    }
    const int chosen = ChooseSpellDictionary(dictionaries, dictionaryName());
    if (!load(dictionaries[chosen]))
        return;

    const int caret = SpellCaretPosition(m_memo.text());
    SpellPersonalWords personal(m_personalPath);
    personal.load();
    SpellSession session(m_memo, *m_checker, personal);

    bool finished = true;
    if (session.findNext()) {
        // A dictionary chosen in the dialog replaces the loaded one, which stays alive until the
        // session has moved to the new one.
        const auto switchDictionary = [&](int index) {
            std::unique_ptr<SpellChecker> previous = std::move(m_checker);
            if (!load(dictionaries[index])) {
                m_checker = std::move(previous);
                return false;
            }
            session.setChecker(*m_checker);
            return true;
        };
        TSpellDialog dialog(session, dictionaries, chosen, switchDictionary, m_prompts, m_window);
        finished = m_prompts.exec(dialog) == QDialog::Accepted;
    }
    if (finished)
        m_prompts.information(m_window, kCaption, QStringLiteral("The spell check is complete."));
    m_memo.selectRange(caret, caret, true);
}
