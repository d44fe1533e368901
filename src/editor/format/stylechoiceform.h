#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class TFernSBut;

// A small dialog that chooses one style item from a radio group. A click on an item takes effect
// at once through the `choose` callback; the OK button, like the close box, only closes it. On
// creation the item whose text equals `remembered` exactly is selected, which counts as choosing
// it; without one the design selection (`designIndex`, -1 for none) stays and nothing is chosen.
class TStyleChoiceForm : public QDialog {
    Q_OBJECT

public:
    struct Design {
        QString caption;
        QSize size;
        QString groupCaption;
        QStringList items;
        int designIndex = -1;
        QString note;
        QSize okSize;
        // The radio group sits inside the lowered panel instead of above it.
        bool groupInPanel = false;
    };

    TStyleChoiceForm(const Design &design, const QString &remembered,
                     std::function<void(const QString &)> choose, QWidget *parent = nullptr);

    QGroupBox *group() const { return m_group; }
    QRadioButton *item(int index) const;
    int itemCount() const { return int(m_items.size()); }
    // The selected item's index, -1 when none is.
    int selectedIndex() const;
    TFernSBut *FernSBut1 = nullptr;

private:
    QGroupBox *m_group = nullptr;
    QButtonGroup *m_buttons = nullptr;
    QList<QRadioButton *> m_items;
    std::function<void(const QString &)> m_choose;
};
