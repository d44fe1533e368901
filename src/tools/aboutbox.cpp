#include "tools/aboutbox.h"

#include "platform/prompts.h"
#include "platform/shell.h"
#include "tools/programversion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QUrl>

const QString TAboutBox::MakerSite = QStringLiteral("https://fernlake.example.org/");
const QString TAboutBox::AuthorAddress = QStringLiteral("author@fernlake.example.org");

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &at) {
    auto *result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(at);
    return result;
}

QLabel *link(QWidget *parent, const char *name, const QString &text, const QRect &at) {
    QLabel *result = label(parent, name, text, at);
    result->setText(QStringLiteral("<a href=\"#\" style=\"color:#0000ff\">%1</a>").arg(text));
    result->setTextFormat(Qt::RichText);
    result->setCursor(Qt::PointingHandCursor);
    result->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    result->setAccessibleName(text);
    return result;
}

// The design-time picture across the top, drawn rather than shipped: a quill over a soft sky.
QPixmap topPicture(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(198, 216, 238));
    sky.setColorAt(1, Qt::white);
    painter.fillRect(pixmap.rect(), sky);
    QPainterPath quill;
    quill.moveTo(size.width() - 30, 20);
    quill.cubicTo(size.width() - 110, 40, size.width() - 140, 110, size.width() - 150, 170);
    quill.cubicTo(size.width() - 110, 120, size.width() - 60, 80, size.width() - 30, 20);
    painter.fillPath(quill, QColor(14, 42, 71, 60));
    return pixmap;
}

QIcon buttonPicture(const QString &glyph) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = QGuiApplication::font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(14, 42, 71));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

QToolButton *flatButton(QWidget *parent, const char *name, const QString &glyph,
                        const QString &hint, const QRect &at) {
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setIcon(buttonPicture(glyph));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setGeometry(at);
    return button;
}

} // namespace

TAboutBox::TAboutBox(Prompts &prompts, Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_shell(shell) {
    setObjectName(QStringLiteral("AboutBox"));
    setFixedSize(ClientSize);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    QFont times(QStringLiteral("Times New Roman"));
    setFont(times);

    Image1 = label(this, "Image1", QString(), QRect(0, 0, 292, 193));
    Image1->setPixmap(topPicture(Image1->size()));
    Image1->setAccessibleName(QStringLiteral("Quillet"));
    ProgramIcon2 = label(this, "ProgramIcon2", QString(), QRect(8, 8, 32, 32));
    ProgramIcon2->setAccessibleName(QStringLiteral("Program Icon"));
    ProductName = label(this, "ProductName", QString(), QRect(48, 10, 230, 22));
    QFont bold = times;
    bold.setBold(true);
    bold.setPixelSize(16);
    ProductName->setFont(bold);
    Label8 = label(this, "Label8", QStringLiteral("Version"), QRect(48, 40, 60, 16));
    VersNo = label(this, "VersNo", QStringLiteral("0.0"), QRect(112, 40, 100, 16));
    ReleaseLbl = label(this, "ReleaseLbl", QStringLiteral("Release"), QRect(48, 58, 60, 16));
    Release = label(this, "Release", QStringLiteral("0"), QRect(112, 58, 100, 16));
    BuildL = label(this, "BuildL", QStringLiteral("Build"), QRect(48, 76, 60, 16));
    Build = label(this, "Build", QStringLiteral("0"), QRect(112, 76, 100, 16));
    Label7 = label(this, "Label7", QStringLiteral("Copyright"), QRect(48, 104, 60, 16));
    Label5 = label(this, "Label5", QStringLiteral("\u00a9"), QRect(112, 104, 12, 16));
    Copyright = label(this, "Copyright", QString(), QRect(126, 104, 160, 16));
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(5, 150, 282, 4);

    MiddlePanel = new QFrame(this);
    MiddlePanel->setObjectName(QStringLiteral("MiddlePanel"));
    MiddlePanel->setAccessibleName(QStringLiteral("Credits"));
    MiddlePanel->setFrameShape(QFrame::StyledPanel);
    MiddlePanel->setGeometry(MiddlePanelRect);
    DragNote = label(this, "DragNote", QStringLiteral("Left mouse click on text to drag window!"),
                     QRect(5, 290, 282, 14));

    URLlink = label(this, "URLlink",
                    QStringLiteral("Suggestions, Bugs, tired of living? Mail me or visit Fernlake "
                                   "for Tools, Themes and more!"),
                    QRect(5, 304, 282, 34));
    QFont small = times;
    small.setBold(true);
    small.setPointSize(7);
    URLlink->setFont(small);
    URLlink->setWordWrap(true);
    URLlink->setToolTip(MakerSite);
    Label10 = link(this, "Label10", QStringLiteral("Fernlake (Themes)"), QRect(5, 342, 110, 16));
    Label11 = link(this, "Label11", QStringLiteral("Mail me!"), QRect(125, 342, 70, 16));
    SpeedButton2 = flatButton(this, "SpeedButton2", QStringLiteral("i"),
                              QStringLiteral("show hardisk preferences"), QRect(220, 340, 28, 28));
    SpeedButton1 = flatButton(this, "SpeedButton1", QStringLiteral("\u00d7"),
                              QStringLiteral("Close About Box"), QRect(254, 340, 28, 28));

    connect(SpeedButton1, &QToolButton::clicked, this, &TAboutBox::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TAboutBox::SpeedButton2Click);
    connect(Label10, &QLabel::linkActivated, this, &TAboutBox::Label10Click);
    connect(Label11, &QLabel::linkActivated, this, &TAboutBox::Label11Click);

    FormCreate();
}

void TAboutBox::FormCreate() {
    const ProgramVersion version = ProgramVersion::current();
    Release->setText(QString::number(version.release));
    Build->setText(QString::number(version.build));
}

void TAboutBox::SpeedButton1Click() {
    close();
}

void TAboutBox::SpeedButton2Click() {
    m_prompts.message(this, QGuiApplication::applicationDisplayName(), SystemInformation.report(),
                      QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

void TAboutBox::Label10Click() {
    m_shell.openUrl(QUrl(MakerSite));
}

void TAboutBox::Label11Click() {
    const QString programName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QUrl address =
        QUrl::fromEncoded(QByteArrayLiteral("mailto:") + AuthorAddress.toUtf8() +
                          QByteArrayLiteral("?subject=") + QUrl::toPercentEncoding(programName));
    if (!m_shell.openUrl(address))
        m_prompts.error(this, QGuiApplication::applicationDisplayName(),
                        QStringLiteral("An Error occurred with Mail!"));
}
