#include "print/previewnavigation.h"

#include <QtMath>
#include <algorithm>

void PreviewNavigation::setCompactMode(bool on) {
    m_compactMode = on;
    m_currentPage = 0;
}

int PreviewNavigation::viewSize() const {
    const int size = m_compactMode ? 4 : 1;
    return m_twoWindows ? size * 2 : size;
}

bool PreviewNavigation::canPrevious() const {
    return m_currentPage > 0;
}

bool PreviewNavigation::canNext() const {
    if (m_twoWindows && !m_compactMode && m_lastPage <= 1)
        return false;
    return m_currentPage + viewSize() - 1 < m_lastPage;
}

void PreviewNavigation::next() {
    m_currentPage += viewSize();
    if (!m_compactMode)
        m_currentPage = std::min(m_currentPage, m_lastPage);
}

void PreviewNavigation::previous() {
    m_currentPage = std::max(0, std::min(m_currentPage, m_lastPage) - viewSize());
}

void PreviewNavigation::end() {
    if (m_compactMode)
        m_currentPage = m_lastPage - m_lastPage % viewSize();
    else if (m_twoWindows)
        m_currentPage = m_lastPage - m_lastPage % 2;
    else
        m_currentPage = m_lastPage;
}

std::optional<QString> PreviewNavigation::typePage(const QString &text) {
    bool ok = false;
    const int page = text.trimmed().toInt(&ok);
    const bool inRange = ok && page >= 1 && page <= m_lastPage + 1;
    if (m_compactMode && !m_twoWindows)
        return QStringLiteral("1");
    if (!inRange) {
        m_currentPage = 0;
        return std::nullopt;
    }
    if (m_compactMode) {
        // The view of eight that holds the page (rounding p / 8 would land past it).
        m_currentPage = (page - 1) / 8 * 8;
        return QString::number(m_currentPage + 1);
    }
    m_currentPage = m_twoWindows && page % 2 == 0 ? page - 2 : page - 1;
    return std::nullopt;
}

QList<int> PreviewNavigation::existing(int from, int count) const {
    QList<int> pages;
    for (int page = from; page < from + count && page <= m_lastPage; ++page)
        pages << page;
    return pages;
}

QList<int> PreviewNavigation::previewPages() const {
    return existing(m_currentPage, m_compactMode ? 4 : 1);
}

QList<int> PreviewNavigation::companionPages() const {
    if (!m_twoWindows)
        return {};
    return m_compactMode ? existing(m_currentPage + 4, 4) : existing(m_currentPage + 1, 1);
}

std::optional<int> PreviewNavigation::pairLeft(int screenWidth, int windowWidth) {
    const int left = std::max(0, qRound((screenWidth - 2.0 * windowWidth) / 2.0));
    if (screenWidth < 2 * windowWidth + left)
        return std::nullopt;
    return left;
}

int PreviewNavigation::printSheets() const {
    const int pages = m_lastPage + 1;
    return m_compactMode ? (pages + 3) / 4 : pages;
}

QList<int> PreviewNavigation::sheetPages(int sheet) const {
    if (m_compactMode)
        return existing((sheet - 1) * 4, 4);
    return existing(sheet - 1, 1);
}

void PreviewNavigation::larger() {
    m_zoomFactor += m_zoomStep;
}

void PreviewNavigation::smaller() {
    m_zoomFactor = std::max(1.0, m_zoomFactor - m_zoomStep);
}

void PreviewNavigation::setZoomStepText(const QString &text) {
    bool ok = false;
    const double step = text.trimmed().toDouble(&ok);
    m_zoomStep = ok ? step : 0.1;
}

QString PreviewNavigation::zoomText(double value) {
    return QStringLiteral("%1").arg(value, 5, 'f', 3);
}

QString PreviewNavigation::pageText(int pageNumber) {
    return QStringLiteral("%1").arg(pageNumber, 4);
}
