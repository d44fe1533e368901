#pragma once

#include "editor/frame/toolbarimages.h"

#include <QHash>
#include <QList>

class QAction;
class QComboBox;
class QSpinBox;
class QToolBar;
class QToolButton;
class QWidget;
class TCoolBar;
class TEditorActions;

// The tool bars of the editor window in their tool-bar area `CoolBar1`, built from the window's
// commands, with the font box and the size box between them. Every button, box and bar carries
// the short part of its hint as accessible name and tool tip.
class TToolBars {
public:
    TToolBars(QWidget &window, TEditorActions &actions);

    // The pictures of the commands; run locations replace theirs by slot.
    TToolbarImages ToolbarImages;
    TCoolBar *CoolBar1;
    QToolBar *ToolBar1;
    QToolBar *ToolBar2;
    QComboBox *FontCombo;
    QSpinBox *FontSizeBox;
    QToolBar *ToolBar6;
    QToolBar *ToolBInsert;
    QToolBar *ToolBFormat1;
    QToolBar *ToolBFormat2;
    QToolBar *ToolBar7;

    QToolButton *StayOnTopBut;
    QToolButton *ExitBut;
    QToolButton *LastBut;
    QToolButton *NextBut;
    QToolButton *Spell;
    QToolButton *DateBut;
    QToolButton *ToolButton7;
    QToolButton *ToolButton8;
    QToolButton *CharMapButton;
    QToolButton *PaintBut;

    QList<QToolBar *> all() const;
    // The button a command shows on its tool bar, or nullptr.
    QToolButton *buttonFor(QAction *action) const;

private:
    QToolBar *makeBar(const char *name, const QString &title, const QList<QAction *> &commands);
    QToolButton *button(QAction *action, const char *name);

    TEditorActions &m_actions;
    QList<QToolBar *> m_bars;
    QHash<QAction *, QToolButton *> m_buttons; // each command's button
};
