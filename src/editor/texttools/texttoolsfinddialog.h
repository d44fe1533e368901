#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog, or with `replace` the replace dialog: the search text, the options,
// and the buttons that ask its owner to search or replace.
class TextToolsFindDialog : public QDialog {
    Q_OBJECT

public:
    TextToolsFindDialog(bool replace, QWidget *parent);

    bool isReplace() const { return m_replace; }

    QString findText() const;
    void setFindText(const QString &text);
    QString replaceText() const;
    void setReplaceText(const QString &text);
    bool matchCase() const;
    void setMatchCase(bool on);
    bool wholeWord() const;
    void setWholeWord(bool on);
    // The replace dialog always searches down.
    bool down() const;
    void setDown(bool on);

    QLineEdit *findEdit() const { return m_findEdit; }
    QLineEdit *replaceEdit() const { return m_replaceEdit; }
    QPushButton *findNextButton() const { return m_findNext; }
    QPushButton *replaceButton() const { return m_replaceButton; }
    QPushButton *replaceAllButton() const { return m_replaceAll; }

signals:
    void findRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    void updateButtons();

    bool m_replace;
    QLineEdit *m_findEdit = nullptr;
    QLineEdit *m_replaceEdit = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNext = nullptr;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_replaceAll = nullptr;
};
