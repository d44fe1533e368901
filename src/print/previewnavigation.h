#pragma once

#include <QList>
#include <QString>
#include <optional>

// What the preview shows and where the page buttons lead, apart from any window: the pages of
// the view, the views' steps, the typed page and the zoom. Page indices count from 0.
class PreviewNavigation {
public:
    int currentPage() const { return m_currentPage; }
    int lastPage() const { return m_lastPage; }
    bool twoWindows() const { return m_twoWindows; }
    bool compactMode() const { return m_compactMode; }
    double zoomFactor() const { return m_zoomFactor; }
    double zoomStep() const { return m_zoomStep; }

    void setCurrentPage(int page) { m_currentPage = page; }
    void setLastPage(int page) { m_lastPage = page; }
    void setTwoWindows(bool on) { m_twoWindows = on; }
    // "Compact" switched: back to the first view.
    void setCompactMode(bool on);

    // Pages one view shows: 1, 2 with the companion, 4 compact, 8 compact with the companion.
    int viewSize() const;
    bool canPrevious() const;
    bool canNext() const;
    void next();
    void previous();
    void home() { m_currentPage = 0; }
    void end();
    // The page number typed into the page box; answers the text the box is to show instead,
    // when it changes.
    std::optional<QString> typePage(const QString &text);

    // The pages of the current view that exist, in the preview window and in the companion.
    QList<int> previewPages() const;
    QList<int> companionPages() const;
    // Browsing controls: the page box only makes sense, and "Compact" only shows, with two pages
    // or more.
    bool pageBoxReadOnly() const { return m_lastPage < 1; }
    bool compactVisible() const { return m_lastPage >= 1; }
    // Whether the companion window opens on entering the browsing state.
    bool companionWanted() const { return !m_twoWindows && m_lastPage > 0; }
    // Where the preview window stands beside its companion; nothing when the screen is too
    // narrow for both (the preview then stands centred alone).
    static std::optional<int> pairLeft(int screenWidth, int windowWidth);

    // Printing: sheets (pages, or four-up sheets when compact) and the pages on sheet q (1-based).
    int printSheets() const;
    QList<int> sheetPages(int sheet) const;

    void larger();
    void smaller();
    void resetZoom() { m_zoomFactor = 1.0; }
    bool smallerEnabled() const { return m_zoomFactor != 1.0; }
    // The step box's text; not a number makes the step 0.1.
    void setZoomStepText(const QString &text);
    static QString zoomText(double value);
    // The page box's and the companion label's form of a 1-based page number.
    static QString pageText(int pageNumber);

private:
    QList<int> existing(int from, int count) const;

    int m_currentPage = 0;
    int m_lastPage = 0;
    bool m_twoWindows = false;
    bool m_compactMode = false;
    double m_zoomFactor = 1.0;
    double m_zoomStep = 0.25;
};
