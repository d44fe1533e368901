#include "print/trichpreviewform.h"

#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "print/elineprinter.h"
#include "print/previewpageframe.h"
#include "print/tpreview2.h"
#include "widgets/tarrowbutton.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

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
    Frame = new PreviewPageFrame(this);
    ScrollBox1 = Frame->ScrollBox1;
    Image1 = Frame->Image1;
    UnitLabel = Frame->UnitLabel;
    Image1->setContextMenuPolicy(Qt::PreventContextMenu);
    Image1->installEventFilter(this);

    // The panel below the image: page box and page buttons on the left, the command buttons
    // beside them, the zoom controls last (they go first when the window is narrow).
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAccessibleName(QStringLiteral("Preview controls"));
    PageNumberLabel = new QLabel(QStringLiteral("Page number:"), Panel1);
    PageNumberLabel->move(5, 8);
    PreviewPageFrame::fitLabel(PageNumberLabel, 72);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setToolTip(QStringLiteral("Number of current page (can be changed manually) "));
    Edit1->setAccessibleName(QStringLiteral("Number of current page"));
    Edit1->setGeometry(79, 4, 40, 22);
    Label10 = hinted(new QLabel(Panel1), QStringLiteral("Total number of pages"),
                     QStringLiteral("Total number of pages"));
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setStyleSheet(QStringLiteral("background: yellow"));
    Label10->setGeometry(123, 8, 44, 16);
    Label10->setVisible(false);

    ArrowButton2 = new TArrowButton(Panel1);
    ArrowButton2->setObjectName(QStringLiteral("ArrowButton2"));
    ArrowButton2->setDirection(arwUP);
    ArrowButton2->setGeometry(5, 32, 33, 33);
    ArrowButton2->setToolTip(QStringLiteral("Showing next pages [PgUp]"));
    ArrowButton2->setAccessibleName(QStringLiteral("Showing next pages"));
    NextLabel = new QLabel(QStringLiteral("NEXT "), Panel1);
    NextLabel->move(40, 32);
    NextPageLabel = new QLabel(QStringLiteral("page"), Panel1);
    NextPageLabel->move(40, 48);
    ArrowButton1 = new TArrowButton(Panel1);
    ArrowButton1->setObjectName(QStringLiteral("ArrowButton1"));
    ArrowButton1->setDirection(arwDOWN);
    ArrowButton1->setGeometry(80, 32, 33, 33);
    ArrowButton1->setToolTip(QStringLiteral("Showing previous pages [PgDn]"));
    ArrowButton1->setAccessibleName(QStringLiteral("Showing previous pages"));
    PreviousLabel = new QLabel(QStringLiteral("PREVIOUS"), Panel1);
    PreviousLabel->move(115, 32);
    PreviousPageLabel = new QLabel(QStringLiteral("page"), Panel1);
    PreviousPageLabel->move(115, 48);

    const auto button = [this](const QString &caption, const QString &hint, const QString &name,
                               int x, int y) {
        auto *b = new QPushButton(caption, Panel1);
        b->setToolTip(hint);
        b->setAccessibleName(name);
        b->setGeometry(x, y, 62, 22);
        return b;
    };
    PrintButton = button(QStringLiteral("&Printing"),
                         QStringLiteral("Printing of selection from document ['P' key]"),
                         QStringLiteral("Printing of selection from document"), 175, 4);
    CloseButton = button(QStringLiteral("Close"), QStringLiteral("Closing this preview"),
                         QStringLiteral("Closing this preview"), 241, 4);
    LargerButton = button(QStringLiteral("&Larger"), QStringLiteral("Larger zoom ['L' key]"),
                          QStringLiteral("Larger zoom"), 175, 27);
    SmallerButton = button(QStringLiteral("&Smaller"), QStringLiteral("Smaller zoom ['S' key]"),
                           QStringLiteral("Smaller zoom"), 241, 27);
    SmallerButton->setEnabled(false);
    CompactBox = new QCheckBox(QStringLiteral("Compact"), Panel1);
    CompactBox->setObjectName(QStringLiteral("CompactBox"));
    CompactBox->setToolTip(QStringLiteral("Four pages on one window"));
    CompactBox->setAccessibleName(QStringLiteral("Four pages on one window"));
    CompactBox->setGeometry(175, 50, 128, 20);
    CompactBox->setVisible(false);

    ZoomFactorLabel = new QLabel(QStringLiteral("Zoom factor:"), Panel1);
    ZoomFactorLabel->move(310, 8);
    PreviewPageFrame::fitLabel(ZoomFactorLabel, 66);
    Label7 = hinted(new QLabel(PreviewNavigation::zoomText(1.0), Panel1),
                    QStringLiteral("Actual size of the zoom (double click for a value of one)"),
                    QStringLiteral("Actual size of the zoom"));
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("color: teal"));
    Label7->setGeometry(380, 8, 40, 16);
    Label7->installEventFilter(this);
    ZoomStepLabel = new QLabel(QStringLiteral("Zoom step:"), Panel1);
    ZoomStepLabel->move(310, 31);
    PreviewPageFrame::fitLabel(ZoomStepLabel, 66);
    MaskEdit1 = new QLineEdit(Panel1);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->setInputMask(QStringLiteral("9.999"));
    MaskEdit1->setText(PreviewNavigation::zoomText(0.25));
    MaskEdit1->setGeometry(380, 27, 44, 22);
    MaskEdit1->setToolTip(QStringLiteral("Input step size zooming"));
    MaskEdit1->setAccessibleName(QStringLiteral("Input step size zooming"));

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
    m_layout = PreviewLayout::forScreen(area.size(), aspect);
    setFixedSize(m_layout.client);
    Frame->setGeometry(QRect(QPoint(0, 0), m_layout.client));
    Frame->setBox(m_layout.image);
    Panel1->setGeometry(m_layout.panel);
    Panel1->raise();
    for (QWidget *zoom : {static_cast<QWidget *>(ZoomFactorLabel), static_cast<QWidget *>(Label7),
                          static_cast<QWidget *>(ZoomStepLabel), static_cast<QWidget *>(MaskEdit1)})
        zoom->setVisible(m_layout.zoomShown);
    Frame->fitImage(m_layout.image.size(), 1.0);
    move(area.topLeft() + QPoint((area.width() - m_layout.window.width()) / 2,
                                 (area.height() - m_layout.window.height()) / 2));
}

void TRichPreviewForm::paperKnown(QSize paperDots, double widthUnits, double heightUnits,
                                  bool unitIsInch) {
    m_paperDots = paperDots;
    m_paperWidthUnits = widthUnits;
    m_paperHeightUnits = heightUnits;
    m_unitIsInch = unitIsInch;
    Frame->setPaper(widthUnits, heightUnits, unitIsInch);
    if (m_companion)
        m_companion->Frame->setPaper(widthUnits, heightUnits, unitIsInch);
    showRulers();
}

QPainter *TRichPreviewForm::startPage(QSize paperDots, QPaintDevice *reference, const QFont &font) {
    m_paperDots = paperDots;
    m_recording = PagePicture(reference);
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
    m_recording = PagePicture();
    m_nav.setLastPage(m_pageCount);
    ++m_pageCount;
    paintJustSaved();
}

void TRichPreviewForm::abandon() {
    if (m_recorder && m_recorder->isActive())
        m_recorder->end();
    m_recorder.reset();
    m_store->removePages();
    m_lastLoaded = QPicture();
    m_lastLoadedIndex = -1;
    m_pageCount = 0;
    m_nav.setLastPage(0);
    Image1->clear();
}

void TRichPreviewForm::drawPages(PreviewPageFrame *frame, const QList<int> &pages, bool compact) {
    // Both windows' images fit the preview window's scroll box.
    frame->fitImage(Frame->box().size(), m_nav.zoomFactor());
    QLabel *image = frame->Image1;
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
            if (!loadPage(pages.at(i), page))
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

bool TRichPreviewForm::loadPage(int index, QPicture &page) {
    if (index != m_lastLoadedIndex || index < 0) {
        QPicture loaded;
        if (!m_store->loadPage(index, loaded))
            return false;
        m_lastLoaded = loaded;
        m_lastLoadedIndex = index;
    }
    page = m_lastLoaded;
    return true;
}

// The rulers come with the browsing state, once the paper is known.
void TRichPreviewForm::showRulers() {
    const bool shown = m_browsing && m_paperWidthUnits > 0;
    Frame->setRulersShown(shown);
    if (m_companion)
        m_companion->Frame->setRulersShown(shown);
}

void TRichPreviewForm::paintJustSaved() {
    const int page = m_pageCount - 1;
    drawPages(Frame, {page}, false);
    Edit1->setText(PreviewNavigation::pageText(page + 1));
    Label10->setText(QStringLiteral("(%1)").arg(m_pageCount));
}

void TRichPreviewForm::repaintView() {
    const bool compact = m_nav.compactMode();
    const QList<int> shown = m_nav.previewPages();
    drawPages(Frame, shown, compact);
    Edit1->setText(PreviewNavigation::pageText(m_nav.currentPage() + 1));
    Label10->setText(QStringLiteral("(%1)").arg(m_nav.lastPage() + 1));
    if (m_companion) {
        const QList<int> next = m_nav.companionPages();
        if (next.isEmpty()) {
            m_companion->clearImage();
        } else {
            drawPages(m_companion->Frame, next, compact);
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
        if (const auto left = PreviewNavigation::pairLeft(area.width(), m_layout.window.width())) {
            move(area.left() + *left, y());
            m_companion = new TPreview2(this);
            m_companion->applyLayout(m_layout);
            m_companion->move(x() + frameGeometry().width(), y());
            m_companion->Frame->setPaper(m_paperWidthUnits, m_paperHeightUnits, m_unitIsInch);
            m_companion->show();
            m_nav.setTwoWindows(true);
            activateWindow();
        } else {
            move(area.left() + (area.width() - width()) / 2, y());
        }
    }
    setWindowTitle(QStringLiteral("Print Preview"));
    showRulers();
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

int TRichPreviewForm::printFromPreview() {
    if (m_pageCount == 0)
        return 0;
    QPrinter printer(QPrinter::HighResolution);
    const int sheets = m_nav.printSheets();
    printer.setFromTo(0, 0);
    if (!m_prompts.printPagesDialog(this, printer, 1, sheets))
        return 0;
    int from = 1;
    int to = sheets;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = std::max(from, printer.toPage());
    }
    BusyCursor busy;
    return printSheets(printer, from, to);
}

int TRichPreviewForm::printSheets(QPrinter &printer, int from, int to) {
    const int kept = m_nav.currentPage();
    int jobs = 0;
    for (int sheet = from; sheet <= to; ++sheet) {
        QPainter painter;
        if (!painter.begin(&printer))
            break;
        ++jobs;
        if (!m_nav.compactMode()) {
            // The page being printed is the one on show.
            m_nav.setCurrentPage(sheet - 1);
            repaintView();
        }
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
            if (!loadPage(pages.at(i), page))
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
    if (!m_nav.compactMode())
        repaintView();
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
    m_lastLoaded = QPicture();
    m_lastLoadedIndex = -1;
    m_store->removePages();
    if (m_companion)
        m_companion->close();
    QWidget::closeEvent(event);
}
