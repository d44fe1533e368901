#include "print/trichpreviewform.h"

#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "print/elineprinter.h"
#include "print/tpreview2.h"
#include "widgets/tarrowbutton.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QLabel *hinted(QLabel *label, const QString &hint, const QString &name) {
    label->setToolTip(hint);
    label->setAccessibleName(name);
    return label;
}

} // namespace

TRichPreviewForm::TRichPreviewForm(Prompts &prompts, bool compress, double aspect, QWidget *parent,
                                   const QString &workingFolder)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , m_prompts(prompts)
    , m_store(std::make_unique<PreviewPageStore>(compress, workingFolder)) {
    setObjectName(QStringLiteral("RichPreviewForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print Preview (Formatting)"));
    buildControls();
    placeWindow(aspect);
    updateButtons();
}

TRichPreviewForm::~TRichPreviewForm() {
    if (m_recorder && m_recorder->isActive())
        m_recorder->end();
}

void TRichPreviewForm::buildControls() {
    auto *layout = new QVBoxLayout(this);
    UnitLabel = new QLabel(this);
    UnitLabel->setStyleSheet(QStringLiteral("color: red"));
    UnitLabel->setAccessibleName(QStringLiteral("Unit"));
    layout->addWidget(UnitLabel);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setAccessibleName(QStringLiteral("Page"));
    Image1 = new QLabel;
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setContextMenuPolicy(Qt::PreventContextMenu);
    Image1->installEventFilter(this);
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);

    auto *panel = new QGridLayout;
    layout->addLayout(panel);
    ArrowButton2 = new TArrowButton(this);
    ArrowButton2->setDirection(arwUP);
    ArrowButton2->setFixedSize(33, 33);
    ArrowButton2->setToolTip(QStringLiteral("Showing next pages [PgUp]"));
    ArrowButton2->setAccessibleName(QStringLiteral("Showing next pages"));
    NextLabel = new QLabel(QStringLiteral("NEXT "), this);
    NextPageLabel = new QLabel(QStringLiteral("page"), this);
    ArrowButton1 = new TArrowButton(this);
    ArrowButton1->setDirection(arwDOWN);
    ArrowButton1->setFixedSize(33, 33);
    ArrowButton1->setToolTip(QStringLiteral("Showing previous pages [PgDn]"));
    ArrowButton1->setAccessibleName(QStringLiteral("Showing previous pages"));
    PreviousLabel = new QLabel(QStringLiteral("PREVIOUS"), this);
    PreviousPageLabel = new QLabel(QStringLiteral("page"), this);
    panel->addWidget(ArrowButton2, 0, 0, 2, 1);
    panel->addWidget(NextLabel, 0, 1);
    panel->addWidget(NextPageLabel, 1, 1);
    panel->addWidget(ArrowButton1, 0, 2, 2, 1);
    panel->addWidget(PreviousLabel, 0, 3);
    panel->addWidget(PreviousPageLabel, 1, 3);

    panel->addWidget(new QLabel(QStringLiteral("Page number:"), this), 0, 4);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setMaximumWidth(50);
    Edit1->setToolTip(QStringLiteral("Number of current page (can be changed manually) "));
    Edit1->setAccessibleName(QStringLiteral("Number of current page"));
    panel->addWidget(Edit1, 0, 5);
    Label10 = hinted(new QLabel(this), QStringLiteral("Total number of pages"),
                     QStringLiteral("Total number of pages"));
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setStyleSheet(QStringLiteral("background: yellow"));
    Label10->setVisible(false);
    panel->addWidget(Label10, 0, 6);

    PrintButton = new QPushButton(QStringLiteral("&Printing"), this);
    PrintButton->setToolTip(QStringLiteral("Printing of selection from document ['P' key]"));
    PrintButton->setAccessibleName(QStringLiteral("Printing of selection from document"));
    LargerButton = new QPushButton(QStringLiteral("&Larger"), this);
    LargerButton->setToolTip(QStringLiteral("Larger zoom ['L' key]"));
    LargerButton->setAccessibleName(QStringLiteral("Larger zoom"));
    SmallerButton = new QPushButton(QStringLiteral("&Smaller"), this);
    SmallerButton->setToolTip(QStringLiteral("Smaller zoom ['S' key]"));
    SmallerButton->setAccessibleName(QStringLiteral("Smaller zoom"));
    SmallerButton->setEnabled(false);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setToolTip(QStringLiteral("Closing this preview"));
    CloseButton->setAccessibleName(QStringLiteral("Closing this preview"));
    panel->addWidget(PrintButton, 0, 7);
    panel->addWidget(LargerButton, 0, 8);
    panel->addWidget(SmallerButton, 0, 9);
    panel->addWidget(CloseButton, 0, 10);

    panel->addWidget(new QLabel(QStringLiteral("Zoom factor:"), this), 1, 4);
    Label7 = hinted(new QLabel(PreviewNavigation::zoomText(1.0), this),
                    QStringLiteral("Actual size of the zoom (double click for a value of one)"),
                    QStringLiteral("Actual size of the zoom"));
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("color: teal"));
    Label7->installEventFilter(this);
    panel->addWidget(Label7, 1, 5);
    panel->addWidget(new QLabel(QStringLiteral("Zoom step:"), this), 1, 6);
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->setInputMask(QStringLiteral("9.999"));
    MaskEdit1->setText(PreviewNavigation::zoomText(0.25));
    MaskEdit1->setMaximumWidth(60);
    MaskEdit1->setToolTip(QStringLiteral("Input step size zooming"));
    MaskEdit1->setAccessibleName(QStringLiteral("Input step size zooming"));
    panel->addWidget(MaskEdit1, 1, 7);
    CompactBox = new QCheckBox(QStringLiteral("Compact"), this);
    CompactBox->setToolTip(QStringLiteral("Four pages on one window"));
    CompactBox->setAccessibleName(QStringLiteral("Four pages on one window"));
    CompactBox->setVisible(false);
    panel->addWidget(CompactBox, 1, 8);

    // The window takes the keys before its controls.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    connect(ArrowButton2, &TArrowButton::clicked, this, &TRichPreviewForm::nextView);
    connect(ArrowButton1, &TArrowButton::clicked, this, &TRichPreviewForm::previousView);
    connect(LargerButton, &QPushButton::clicked, this, &TRichPreviewForm::zoomLarger);
    connect(SmallerButton, &QPushButton::clicked, this, &TRichPreviewForm::zoomSmaller);
    connect(PrintButton, &QPushButton::clicked, this, &TRichPreviewForm::printFromPreview);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(Edit1, &QLineEdit::textEdited, this, &TRichPreviewForm::typedPage);
    connect(MaskEdit1, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_nav.setZoomStepText(text); });
    connect(CompactBox, &QCheckBox::toggled, this, [this](bool on) {
        m_nav.setCompactMode(on);
        updateButtons();
        repaintView();
    });
}

void TRichPreviewForm::placeWindow(double aspect) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    int height = qRound(area.height() * 0.95);
    const int clientHeight = height - 27;
    double w =
        aspect > 0 ? (clientHeight * 0.98 - 87) / aspect : (clientHeight * 0.98 - 87) * 0.707;
    if (w * 1.0204 > area.width()) {
        const double factor = area.width() / 1.0204 / w;
        height = qRound(height * factor);
        w = area.width() * 0.98;
    }
    const int width = std::max(qRound(w * 1.0204), qRound((0.02 * (w - 8) + 310) * 1.0204));
    resize(width, height);
    move(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2);
}

void TRichPreviewForm::paperKnown(QSize paperDots, double widthUnits, double heightUnits,
                                  bool unitIsInch) {
    m_paperDots = paperDots;
    m_paperWidthUnits = widthUnits;
    m_paperHeightUnits = heightUnits;
    m_unitIsInch = unitIsInch;
    UnitLabel->setText(unitIsInch ? QStringLiteral("inch") : QStringLiteral("mm"));
    if (m_companion)
        m_companion->UnitLabel->setText(UnitLabel->text());
}

QPainter *TRichPreviewForm::startPage(QSize paperDots, QPaintDevice *reference, const QFont &font) {
    m_paperDots = paperDots;
    m_recording = QPicture();
    m_recording.setBoundingRect(QRect(QPoint(0, 0), paperDots));
    m_recorder = std::make_unique<QPainter>();
    if (!m_recorder->begin(&m_recording))
        return nullptr;
    // Fonts measured against the printer, so the picture breaks lines as the paper does.
    m_recorder->setFont(reference ? QFont(font, reference) : font);
    return m_recorder.get();
}

void TRichPreviewForm::finishPage() {
    if (m_recorder)
        m_recorder->end();
    m_recorder.reset();
    if (!m_store->savePage(m_recording)) {
        m_prompts.error(this, QGuiApplication::applicationDisplayName(),
                        QStringLiteral("Can not save the page information (MetaFiles)"));
        throw ELinePrinter(QStringLiteral("Can not save the page information (MetaFiles)"));
    }
    m_recording = QPicture();
    m_nav.setLastPage(m_pageCount);
    ++m_pageCount;
    paintJustSaved();
}

void TRichPreviewForm::abandon() {
    if (m_recorder && m_recorder->isActive())
        m_recorder->end();
    m_recorder.reset();
    m_store->removePages();
    m_pageCount = 0;
    m_nav.setLastPage(0);
    Image1->clear();
}

QSize TRichPreviewForm::imageSize() const {
    const QSize view = ScrollBox1->viewport()->size();
    if (m_nav.zoomFactor() <= 1.00001)
        return view;
    return QSize(qRound(view.width() * m_nav.zoomFactor()),
                 qRound(view.height() * m_nav.zoomFactor()));
}

void TRichPreviewForm::fitImage(QLabel *image) const {
    image->resize(imageSize());
}

void TRichPreviewForm::drawPages(QLabel *image, const QList<int> &pages, bool compact) {
    fitImage(image);
    QPixmap pixmap(image->size());
    pixmap.fill(Qt::white);
    if (!m_paperDots.isEmpty()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const int halfW = qRound(pixmap.width() / 2.0);
        const int halfH = qRound(pixmap.height() / 2.0);
        for (int i = 0; i < pages.size(); ++i) {
            QPicture page;
            if (!m_store->loadPage(pages.at(i), page))
                break;
            QRect target(QPoint(0, 0), pixmap.size());
            if (compact)
                target = QRect((i % 2) * halfW, (i % 4 / 2) * halfH, halfW, halfH);
            painter.save();
            painter.setClipRect(target);
            painter.translate(target.topLeft());
            painter.scale(double(target.width()) / m_paperDots.width(),
                          double(target.height()) / m_paperDots.height());
            painter.drawPicture(0, 0, page);
            painter.restore();
        }
    }
    image->setPixmap(pixmap);
}

void TRichPreviewForm::paintJustSaved() {
    const int page = m_pageCount - 1;
    drawPages(Image1, {page}, false);
    Edit1->setText(PreviewNavigation::pageText(page + 1));
    Label10->setText(QStringLiteral("(%1)").arg(m_pageCount));
}

void TRichPreviewForm::repaintView() {
    const bool compact = m_nav.compactMode();
    const QList<int> shown = m_nav.previewPages();
    drawPages(Image1, shown, compact);
    Edit1->setText(PreviewNavigation::pageText(m_nav.currentPage() + 1));
    Label10->setText(QStringLiteral("(%1)").arg(m_nav.lastPage() + 1));
    if (m_companion) {
        const QList<int> next = m_nav.companionPages();
        if (next.isEmpty()) {
            m_companion->clearImage();
        } else {
            fitImage(m_companion->Image1);
            drawPages(m_companion->Image1, next, compact);
            QString text = PreviewNavigation::pageText(next.first() + 1);
            if (next.size() > 1)
                text += QStringLiteral("-") + QString::number(next.last() + 1);
            m_companion->Label2->setText(text);
        }
        m_companion->setPageLabelsVisible(!next.isEmpty());
    }
}

void TRichPreviewForm::updateButtons() {
    const bool browse = m_browsing;
    const bool previous = browse && m_nav.canPrevious();
    const bool next = browse && m_nav.canNext();
    ArrowButton1->setEnabled(previous);
    PreviousLabel->setEnabled(previous);
    PreviousPageLabel->setEnabled(previous);
    ArrowButton2->setEnabled(next);
    NextLabel->setEnabled(next);
    NextPageLabel->setEnabled(next);
}

void TRichPreviewForm::enterBrowsing() {
    if (m_pageCount == 0)
        return;
    const bool first = !m_browsing;
    m_browsing = true;
    Label10->setVisible(true);
    m_nav.home();
    if (first && m_nav.companionWanted()) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        if (const auto left = PreviewNavigation::pairLeft(area.width(), width())) {
            move(area.left() + *left, y());
            m_companion = new TPreview2(this);
            m_companion->resize(size());
            m_companion->move(x() + frameGeometry().width(), y());
            m_companion->UnitLabel->setText(UnitLabel->text());
            m_companion->show();
            m_nav.setTwoWindows(true);
            activateWindow();
        } else {
            move(area.left() + (area.width() - width()) / 2, y());
        }
    }
    setWindowTitle(QStringLiteral("Print Preview"));
    Edit1->setReadOnly(m_nav.pageBoxReadOnly());
    CompactBox->setVisible(m_nav.compactVisible());
    CompactBox->setChecked(m_nav.compactMode());
    updateButtons();
    repaintView();
}

void TRichPreviewForm::nextView() {
    if (!m_nav.canNext())
        return;
    m_nav.next();
    updateButtons();
    repaintView();
}

void TRichPreviewForm::previousView() {
    if (!m_nav.canPrevious())
        return;
    m_nav.previous();
    updateButtons();
    repaintView();
}

void TRichPreviewForm::firstView() {
    m_nav.home();
    updateButtons();
    repaintView();
}

void TRichPreviewForm::lastView() {
    m_nav.end();
    updateButtons();
    repaintView();
}

void TRichPreviewForm::typedPage() {
    if (!m_browsing)
        return;
    const std::optional<QString> box = m_nav.typePage(Edit1->text());
    updateButtons();
    const QString typed = Edit1->text();
    repaintView();
    // Keep what the user typed in the box unless the view resets it.
    Edit1->setText(box ? *box : typed);
}

void TRichPreviewForm::afterZoom() {
    Label7->setText(PreviewNavigation::zoomText(m_nav.zoomFactor()));
    SmallerButton->setEnabled(m_nav.smallerEnabled());
    repaintView();
    Image1->setToolTip(m_nav.zoomFactor() > 1
                           ? QStringLiteral("Click right mouse button for original size")
                           : QString());
}

void TRichPreviewForm::zoomLarger() {
    BusyCursor busy;
    m_nav.larger();
    afterZoom();
}

void TRichPreviewForm::zoomSmaller() {
    BusyCursor busy;
    m_nav.smaller();
    afterZoom();
}

void TRichPreviewForm::zoomReset() {
    m_nav.resetZoom();
    afterZoom();
}

void TRichPreviewForm::printFromPreview() {
    if (m_pageCount == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    const int sheets = m_nav.printSheets();
    printer.setFromTo(0, 0);
    if (!m_prompts.printDialog(this, printer))
        return;
    int from = 1;
    int to = sheets;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = std::max(from, printer.toPage());
    }
    BusyCursor busy;
    printSheets(printer, from, to);
}

int TRichPreviewForm::printSheets(QPrinter &printer, int from, int to) {
    const int kept = m_nav.currentPage();
    int jobs = 0;
    for (int sheet = from; sheet <= to; ++sheet) {
        QPainter painter;
        if (!painter.begin(&printer))
            break;
        ++jobs;
        // The pictures are in printer dots of the formatting printer: scale to this one's page.
        const QRect paper = printer.pageLayout().fullRectPixels(printer.resolution());
        const double sx = m_paperDots.width() > 0 ? double(paper.width()) / m_paperDots.width() : 1;
        const double sy =
            m_paperDots.height() > 0 ? double(paper.height()) / m_paperDots.height() : 1;
        painter.scale(sx, sy);
        const QList<int> pages = m_nav.sheetPages(sheet);
        const int halfW = qRound(m_paperDots.width() / 2.0);
        const int halfH = qRound(m_paperDots.height() * 0.95 / 2.0);
        for (int i = 0; i < pages.size(); ++i) {
            QPicture page;
            if (!m_store->loadPage(pages.at(i), page))
                continue;
            painter.save();
            if (m_nav.compactMode()) {
                const QRect target((i % 2) * halfW, (i / 2) * halfH, halfW, halfH);
                painter.setClipRect(target);
                painter.translate(target.topLeft());
                painter.scale(double(halfW) / m_paperDots.width(),
                              double(halfH) / m_paperDots.height());
            }
            painter.drawPicture(0, 0, page);
            painter.restore();
        }
        painter.end();
    }
    m_nav.setCurrentPage(kept);
    return jobs;
}

bool TRichPreviewForm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_L:
        case Qt::Key_S:
        case Qt::Key_P:
            keyPressEvent(key);
            return true;
        default:
            break;
        }
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        zoomReset();
        return true;
    }
    if (watched == Label7 && event->type() == QEvent::MouseButtonDblClick) {
        zoomReset();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRichPreviewForm::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        if (ArrowButton2->isEnabled())
            nextView();
        break;
    case Qt::Key_PageDown:
        if (ArrowButton1->isEnabled())
            previousView();
        break;
    case Qt::Key_Home:
        if (m_browsing)
            firstView();
        break;
    case Qt::Key_End:
        if (m_browsing)
            lastView();
        break;
    case Qt::Key_L:
        zoomLarger();
        break;
    case Qt::Key_S:
        if (SmallerButton->isEnabled())
            zoomSmaller();
        break;
    case Qt::Key_P:
        printFromPreview();
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
        QScrollBar *bar =
            vertical ? ScrollBox1->verticalScrollBar() : ScrollBox1->horizontalScrollBar();
        const bool back = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up;
        bar->triggerAction(back ? QAbstractSlider::SliderSingleStepSub
                                : QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TRichPreviewForm::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate && !m_browsing && m_pageCount > 0 && !m_recorder)
        enterBrowsing();
    return QWidget::event(event);
}

void TRichPreviewForm::closeEvent(QCloseEvent *event) {
    BusyCursor busy;
    Image1->clear();
    m_store->removePages();
    if (m_companion)
        m_companion->close();
    QWidget::closeEvent(event);
}
