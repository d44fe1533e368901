#include "print/richprntprogdlg.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

QLabel *label(QWidget *parent, const QString &name, int x, int y) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setAccessibleName(name);
    l->move(x, y);
    l->setMinimumWidth(260 - x);
    return l;
}

} // namespace

TRichPrntProgDlg::TRichPrntProgDlg(QWidget *parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("RichPrntProgDlg"));
    setWindowTitle(QStringLiteral("Print Progress"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(284, 85);

    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(4, 4, 277, 77);

    lblStatus = label(this, QStringLiteral("lblStatus"), 12, 16);
    lblTitle = label(this, QStringLiteral("lblTitle"), 12, 36);
    QLabel *caption = label(this, QStringLiteral("Page Number"), 12, 56);
    caption->setMinimumWidth(0);
    caption->setText(QStringLiteral("Page Number:"));
    lblPageNumber = label(this, QStringLiteral("lblPageNumber"), 92, 56);
}

void TRichPrntProgDlg::centre() {
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
}
