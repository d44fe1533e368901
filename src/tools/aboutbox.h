#pragma once

#include "tools/systeminfo.h"

#include <QDialog>

class Prompts;
class QFrame;
class QLabel;
class QToolButton;
class Shell;
class TMovieScroll;

// The about form `AboutBox`: picture, icon, product name, version numbers, copyright, the middle
// panel (replaced by the credits scroller), the links to the maker and the author, and the
// buttons for system information and closing. Built and filled by TAboutBoxDlg.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    TAboutBox(Prompts &prompts, Shell &shell, QWidget *parent = nullptr);

    static const QString MakerSite;
    static const QString AuthorAddress;
    static constexpr QSize ClientSize{292, 378};
    static constexpr QRect MiddlePanelRect{5, 159, 282, 131};

    QLabel *Image1;
    QLabel *ProgramIcon2;
    QLabel *ProductName;
    QLabel *Label8;
    QLabel *VersNo;
    QLabel *ReleaseLbl;
    QLabel *Release;
    QLabel *BuildL;
    QLabel *Build;
    QLabel *Label7;
    QLabel *Label5;
    QLabel *Copyright;
    QFrame *Bevel1;
    QFrame *MiddlePanel;
    QLabel *DragNote;
    QLabel *URLlink;
    QLabel *Label10;
    QLabel *Label11;
    QToolButton *SpeedButton2;
    QToolButton *SpeedButton1;
    // Created by the dialog component when it shows the credits; owned by the form.
    TMovieScroll *MovieScroll = nullptr;

    // What the information button reports.
    SystemInfo SystemInformation;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void Label10Click();
    void Label11Click();

private:
    void FormCreate();

    Prompts &m_prompts;
    Shell &m_shell;
};
