#pragma once

#include "print/pagepicture.h"
#include "print/previewlayout.h"
#include "print/previewnavigation.h"
#include "print/previewpages.h"
#include "print/previewpagestore.h"
#include "print/tpreview2.h"

#include <QPicture>
#include <QPointer>
#include <QWidget>
#include <memory>

class PreviewPageFrame;
class Prompts;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollArea;
class TArrowButton;

// The print preview: stores each page the print engine renders as a page file and shows it at
// once ("Print Preview (Formatting)"), then lets the user browse, zoom and close ("Print
// Preview"). Closing deletes the page files and the window.
class TRichPreviewForm : public QWidget, public PreviewPages {
    Q_OBJECT

public:
    // `compress`: the page files are stored compressed; `aspect`: paper height / width.
    TRichPreviewForm(Prompts &prompts, bool compress, double aspect, QWidget *parent = nullptr,
                     const QString &workingFolder = QString());
    ~TRichPreviewForm() override;

    // PreviewPages
    void paperKnown(QSize paperDots, double widthUnits, double heightUnits,
                    bool unitIsInch) override;
    QPainter *startPage(QSize paperDots, QPaintDevice *reference, const QFont &font) override;
    void finishPage() override;
    void abandon() override;

    // Formatting is over: browse from the first view.
    void enterBrowsing();
    bool browsing() const { return m_browsing; }
    int pageCount() const { return m_pageCount; }
    const PreviewNavigation &navigation() const { return m_nav; }
    const PreviewPageStore &store() const { return *m_store; }
    TPreview2 *companion() const { return m_companion; }
    const PreviewLayout &layout() const { return m_layout; }
    // The print dialog's limits: pages, or four-up sheets in compact mode.
    int printLimit() const { return m_nav.printSheets(); }

    void nextView();
    void previousView();
    void firstView();
    void lastView();
    void typedPage();
    void zoomLarger();
    void zoomSmaller();
    void zoomReset();
    // "&Printing": the print dialog, then the chosen pages (or four-up sheets) from the pictures;
    // answers the jobs run.
    int printFromPreview();
    // Prints sheets `from` to `to` (1-based), one job each; answers the jobs run.
    int printSheets(QPrinter &printer, int from, int to);

    TArrowButton *ArrowButton1;
    TArrowButton *ArrowButton2;
    QLabel *NextLabel;
    QLabel *NextPageLabel;
    QLabel *PreviousLabel;
    QLabel *PreviousPageLabel;
    QLineEdit *Edit1;
    QLabel *Label10;
    QPushButton *PrintButton;
    QPushButton *LargerButton;
    QPushButton *SmallerButton;
    QPushButton *CloseButton;
    QLabel *PageNumberLabel;
    QLabel *ZoomFactorLabel;
    QLabel *Label7;
    QLabel *ZoomStepLabel;
    QLineEdit *MaskEdit1;
    QCheckBox *CompactBox;
    QWidget *Panel1;
    PreviewPageFrame *Frame;
    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QLabel *UnitLabel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void placeWindow(double aspect);
    void drawPages(PreviewPageFrame *frame, const QList<int> &pages, bool compact);
    void showRulers();
    // Page `index` from its file, or the picture last loaded when it is that page.
    bool loadPage(int index, QPicture &page);
    void paintJustSaved();
    void repaintView();
    void updateButtons();
    void afterZoom();

    Prompts &m_prompts;
    std::unique_ptr<PreviewPageStore> m_store;
    PreviewNavigation m_nav;
    PreviewLayout m_layout;
    PagePicture m_recording;
    QPicture m_lastLoaded;
    int m_lastLoadedIndex = -1;
    std::unique_ptr<QPainter> m_recorder;
    QSize m_paperDots;
    double m_paperWidthUnits = 0;
    double m_paperHeightUnits = 0;
    bool m_unitIsInch = false;
    int m_pageCount = 0;
    bool m_browsing = false;
    QPointer<TPreview2> m_companion;
};
