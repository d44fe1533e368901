#pragma once

#include <QDialog>
#include <array>

class Prompts;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class ProgramFileDialog;
class SettingsStore;

// The dialog `Run_App_Location`: the six run locations with a picture of each program, and the
// start folder. Filled from the settings store when created; every field is written back as it
// stands on every close, whichever way the dialog is closed.
class TRun_App_Location : public QDialog {
    Q_OBJECT

public:
    TRun_App_Location(SettingsStore &store, Prompts &prompts, QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *Edit4;
    QLineEdit *Edit5;
    QLineEdit *Edit6;
    QLineEdit *Edit7;
    QPushButton *run1;
    QPushButton *run2;
    QPushButton *run3;
    QPushButton *run4;
    QPushButton *SpeedButton1;
    QPushButton *SpeedButton2;
    QPushButton *SpeedButton3;
    QLabel *Image1;
    QLabel *Image2;
    QLabel *Image3;
    QLabel *Image4;
    QLabel *Image5;
    QLabel *Image6;
    ProgramFileDialog *OD;

    // The location row n (1 to 6).
    QLineEdit *locationEdit(int n) const { return m_edits.at(size_t(n - 1)); }
    QLabel *locationImage(int n) const { return m_images.at(size_t(n - 1)); }

    void FormActivate();
    void run1Click() { chooseProgram(1); }
    void run2Click() { chooseProgram(2); }
    void run3Click() { chooseProgram(3); }
    void run4Click() { chooseProgram(4); }
    void SpeedButton1Click() { chooseProgram(5); }
    void SpeedButton2Click() { chooseProgram(6); }
    void SpeedButton3Click();

    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void chooseProgram(int n);
    void showIcon(int n);

    SettingsStore &m_store;
    Prompts &m_prompts;
    std::array<QLineEdit *, 6> m_edits;
    std::array<QLabel *, 6> m_images;
};
