#pragma once

#include "editor/texttools/spellchecker.h"

#include <QDialog>
#include <functional>

class Prompts;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QLabel;
class SpellSession;

// The spell check's modal dialog: shows each unknown word in its context with suggestions and
// carries out Ignore, Ignore All, Change, Change All and Add, moving on to the next word until
// the text is done (accepted) or the user cancels (rejected).
class TSpellDialog : public QDialog {
    Q_OBJECT

public:
    // `switchDictionary` loads the dictionary of that index into the session, answering false
    // when it cannot be read.
    TSpellDialog(SpellSession &session, const QList<SpellDictionary> &dictionaries, int current,
                 std::function<bool(int)> switchDictionary, Prompts &prompts,
                 QWidget *parent = nullptr);

    // Shows the session's current word.
    void showCurrent();

    // The word shown and its context as plain text.
    QString word() const;
    QString contextText() const { return m_contextText; }
    QLabel *contextView() const { return m_context; }
    QLineEdit *changeTo() const { return m_changeTo; }
    QListWidget *suggestionList() const { return m_suggestions; }
    QComboBox *dictionaryBox() const { return m_dictionaries; }
    QPushButton *IgnoreBut() const { return m_ignore; }
    QPushButton *IgnoreAllBut() const { return m_ignoreAll; }
    QPushButton *ChangeBut() const { return m_change; }
    QPushButton *ChangeAllBut() const { return m_changeAll; }
    QPushButton *AddBut() const { return m_add; }
    QPushButton *CancelBut() const { return m_cancel; }

private:
    void advance();
    void dictionaryChosen(int index);

    SpellSession &m_session;
    std::function<bool(int)> m_switchDictionary;
    Prompts &m_prompts;
    int m_dictionaryIndex;
    QLabel *m_context = nullptr;
    QString m_contextText;
    QLineEdit *m_changeTo = nullptr;
    QListWidget *m_suggestions = nullptr;
    QComboBox *m_dictionaries = nullptr;
    QPushButton *m_ignore = nullptr;
    QPushButton *m_ignoreAll = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_changeAll = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_cancel = nullptr;
};
