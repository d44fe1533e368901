#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the preview window and its parts stand for a screen and a paper aspect (height / width):
// the page image as large as the screen allows, the button panel below it. Sizes of the window
// include its frame (4 pixels each side, 23 of caption); the rectangles are in client coordinates.
struct PreviewLayout {
    QSize window;   // outer size
    QSize client;   // inside the frame
    QRect image;    // the scroll box and the page image
    QRect panel;    // the button panel below the image
    QPoint pageBox; // the page number box, in the panel
    bool zoomShown; // the zoom controls fit

    static PreviewLayout forScreen(QSize screen, double aspect);
};
