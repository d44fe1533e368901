#include "app/splash.h"

#include "picture/picturedecoder.h"
#include "platform/shell.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

const QString TSplash::kWebAddress = QStringLiteral("www.fernlake.com");

namespace {

QLabel *makeAddressLabel(QWidget *parent, const QColor &color, QPoint at) {
    auto *label = new QLabel(TSplash::kWebAddress, parent);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(43);
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
    label->move(at);
    return label;
}

} // namespace

TSplash::TSplash(Shell &shell, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_shell(shell) {
    setObjectName(QStringLiteral("Splash"));
    setAccessibleName(QStringLiteral("Quillet Vado"));
    setFixedSize(kWidth, kHeight);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, kWidth, kHeight);
    m_image1->setAlignment(Qt::AlignCenter);
    QFile picture(QStringLiteral(":/app/splash.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        m_image1->setPixmap(
            QPixmap::fromImage(PictureDecoder::decodeJpeg(picture.readAll(), size())));

    m_label1 = makeAddressLabel(this, Qt::gray, QPoint(56, 248));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label2 = makeAddressLabel(this, QColor(0, 0, 128), QPoint(53, 245));
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setCursor(Qt::PointingHandCursor);
    m_label2->setAccessibleName(kWebAddress);
    m_label2->installEventFilter(this);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplash::showAndPaint() {
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplash::Label2Click() {
    m_shell.openUrl(QUrl(QStringLiteral("http://") + kWebAddress));
}

bool TSplash::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_label2)
        return QWidget::eventFilter(watched, event);
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return false;
    // A click opens the address, and so does a double click, but once: the clicks that make up
    // a double click do not open it again.
    if (!m_lastOpen.isValid() || m_lastOpen.elapsed() > QApplication::doubleClickInterval()) {
        m_lastOpen.start();
        Label2Click();
    }
    return true;
}
