#pragma once

#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

// The status bar `StatusBar` with its five panels. Commands that report into a panel either set
// the text alone or set it and size the panel to 7 pixels per character of it.
class TStatusPanels {
public:
    enum Panel { Pos, Date, Location, Comments, Help, PanelCount };

    explicit TStatusPanels(QWidget &window);

    QStatusBar *StatusBar;

    void setText(Panel panel, const QString &text);
    // Sets the text and makes the panel 7 pixels wide per character of it; it shows wider where
    // the text needs more.
    void setTextSized(Panel panel, const QString &text);
    // Widens the panel when its text would not fit its width (never narrows it).
    void widenToText(Panel panel);
    QString text(Panel panel) const;
    int width(Panel panel) const;
    QLabel *label(Panel panel) const { return m_labels[panel]; }

private:
    void setWidth(Panel panel, int width);
    int textWidth(Panel panel) const;

    QLabel *m_labels[PanelCount];
    int m_widths[PanelCount] = {};
};
