#pragma once

#include <QDialog>
#include <QSize>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The "Object Properties" dialog of an embedded picture: its own size, and the size it is shown
// at, which can be changed (keeping its proportions when asked). Lives for one use.
class TObjectPropertiesDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxSide = 10000;

    TObjectPropertiesDlg(const QSize &naturalSize, const QSize &shownSize,
                         QWidget *parent = nullptr);

    QLabel *OriginalSize;
    QSpinBox *PictureWidth;
    QSpinBox *PictureHeight;
    QCheckBox *KeepProportions;
    QPushButton *ResetBtn;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

    QSize chosenSize() const;

private:
    void widthChanged(int width);
    void heightChanged(int height);

    QSize m_natural;
    // Set while one field follows the other, so they do not chase each other.
    bool m_following = false;
};
