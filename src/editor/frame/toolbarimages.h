#pragma once

#include <QList>
#include <QString>

class QAction;
class QIcon;
class TEditorActions;

// The image list `ToolbarImages` of the editor window: which commands show a picture and where
// it comes from. A menu item and a tool button of one command share its picture. The run
// locations 1 to 6 keep their slots 82 to 87; until a slot gets the icon of a linked program,
// it shows the location's number.
class TToolbarImages {
public:
    struct Image {
        QAction *command;
        QString themeName; // the desktop theme's icon name; empty: the shipped picture only
        QString image;     // the shipped picture, ":/icons/images/<image>.svg"
    };

    static constexpr int FirstRunLocationSlot = 82;
    static constexpr int LastRunLocationSlot = 87;

    // Gives every command of the list its picture.
    explicit TToolbarImages(TEditorActions &actions);

    const QList<Image> &images() const { return m_images; }

    // The command that shows image slot `slot` (82 to 87), or nullptr for any other number.
    QAction *slotCommand(int slot) const;
    // Replaces the picture in a run-location slot; false (nothing changed) for any other slot
    // or a null icon.
    bool setSlotImage(int slot, const QIcon &icon);

private:
    QList<Image> m_images;
    QList<QAction *> m_slots; // slots 82 to 87 in order
};
