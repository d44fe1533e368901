#include "tools/aboutboxdlg.h"

#include "platform/prompts.h"
#include "tools/aboutbox.h"
#include "tools/moviescroll.h"
#include "tools/programversion.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>

TAboutBoxDlg::TAboutBoxDlg(Prompts &prompts, Shell &shell, QObject *parent)
    : QObject(parent)
    , m_prompts(prompts)
    , m_shell(shell) {
    AFont = QFont(QStringLiteral("Courier New"));
    AFont.setPointSize(9);
}

void TAboutBoxDlg::SetMovieSpeed(int milliseconds) {
    m_movieSpeed = milliseconds <= 0 || milliseconds >= 100 ? 50 : milliseconds;
}

void TAboutBoxDlg::Execute(QWidget *parent) {
    TAboutBox form(m_prompts, m_shell, parent);
    if (UseMovie) {
        auto *scroll = new TMovieScroll(&form);
        scroll->setObjectName(QStringLiteral("MovieScroll"));
        scroll->setGeometry(form.MiddlePanel->geometry());
        scroll->SetScrollText(MovieText);
        scroll->SetLoop(true);
        scroll->SetTimerInterval(m_movieSpeed);
        scroll->SetShadow(aShadow);
        scroll->SetDefaultFont(AFont, AFontColor);
        scroll->SetBackColor(BackCol);
        form.MiddlePanel->hide();
        form.DragNote->hide();
        form.MovieScroll = scroll;
    }
    form.SystemInformation = GatherSystemInfo ? GatherSystemInfo() : SystemInfo();

    const ProgramVersion version = ProgramVersion::current();
    form.ProductName->setText(ProductName);
    form.VersNo->setText(QStringLiteral("%1.%2").arg(version.major).arg(version.minor));
    form.Copyright->setText(Copyright);
    form.ProgramIcon2->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    form.setWindowTitle(QStringLiteral("About ") +
                        QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    m_prompts.exec(form);
}
