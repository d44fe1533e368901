#include "editor/frame/statuspanels.h"

#include <QLabel>
#include <QStatusBar>
#include <algorithm>

namespace {
struct PanelDesign {
    const char *name;
    int width;
    Qt::Alignment alignment;
};

constexpr PanelDesign Design[TStatusPanels::PanelCount] = {
    {"Pos", 70, Qt::AlignLeft | Qt::AlignVCenter},
    {"Date", 60, Qt::AlignCenter},
    {"Location", 310, Qt::AlignLeft | Qt::AlignVCenter},
    {"Comments", 65, Qt::AlignLeft | Qt::AlignVCenter},
    {"Help", 300, Qt::AlignLeft | Qt::AlignVCenter},
};

constexpr int PixelsPerCharacter = 7;

// A panel asks for its set width but can be squeezed, so a long document name never makes the
// window wider than the screen.
class PanelLabel : public QLabel {
public:
    explicit PanelLabel(QWidget *parent)
        : QLabel(parent) {}

    int panelWidth = 0;

    QSize sizeHint() const override { return {panelWidth, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
};
} // namespace

TStatusPanels::TStatusPanels(QWidget &window) {
    StatusBar = new QStatusBar(&window);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setAccessibleName(QStringLiteral("Status Bar"));
    StatusBar->setSizeGripEnabled(true);
    for (int panel = 0; panel < PanelCount; ++panel) {
        auto *label = new PanelLabel(StatusBar);
        const PanelDesign &design = Design[panel];
        label->setObjectName(QLatin1String(design.name));
        label->setAccessibleName(QLatin1String(design.name));
        label->setAlignment(design.alignment);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setSizePolicy(panel == Help ? QSizePolicy::Expanding : QSizePolicy::Maximum,
                             QSizePolicy::Preferred);
        m_labels[panel] = label;
        setWidth(Panel(panel), design.width);
        // The window routes hints to the Help panel itself, so the status bar never shows a
        // temporary message that would hide these.
        StatusBar->addWidget(label, panel == Help ? 1 : 0);
    }
}

void TStatusPanels::setText(Panel panel, const QString &text) {
    QLabel *label = m_labels[panel];
    label->setText(text);
    // The name stays the panel's; screen readers read (and are told of) the text through the
    // description.
    label->setAccessibleDescription(text);
}

void TStatusPanels::setTextSized(Panel panel, const QString &text) {
    setText(panel, text);
    setWidth(panel, int(text.size()) * PixelsPerCharacter);
    // Seven pixels a character are narrower than most fonts: where the text would be cut, the
    // panel shows as wide as the text really is.
    static_cast<PanelLabel *>(m_labels[panel])->panelWidth =
        std::max(m_widths[panel], textWidth(panel));
    m_labels[panel]->updateGeometry();
}

int TStatusPanels::textWidth(Panel panel) const {
    const QLabel *label = m_labels[panel];
    return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth() +
           2 * label->margin() + 6;
}

void TStatusPanels::widenToText(Panel panel) {
    const int needed = textWidth(panel);
    if (needed > m_widths[panel])
        setWidth(panel, needed);
}

QString TStatusPanels::text(Panel panel) const {
    return m_labels[panel]->text();
}

int TStatusPanels::width(Panel panel) const {
    return m_widths[panel];
}

void TStatusPanels::setWidth(Panel panel, int width) {
    m_widths[panel] = width;
    static_cast<PanelLabel *>(m_labels[panel])->panelWidth = width;
    m_labels[panel]->updateGeometry();
}
