#pragma once

#include <QImage>

class DebugOutput;
class Dialogs;
class QWidget;
struct SaveDialogState;

// Saves what the player shows on screen as a JPEG file the reader names. The pixels come from the screen,
// not from the widget's own painting, so a web view's content and any window lying over the player are in
// the picture, as the reader sees it. Nothing is reported, whatever happens, but the debug line for a
// picture that cannot be made.
class WindowCapture {
public:
    static constexpr int repaintWaitMs = 100;

    // Asks for the name through the window's shared save dialog, lets the area under the closed dialog
    // repaint, then saves the player's client area at quality 100.
    static void capture(QWidget* player, Dialogs& dialogs, SaveDialogState& fileSaveDialog,
                        DebugOutput& debug);

    // Handles the window's events until the player (or its top-level window) has repainted, or until
    // timeoutMs have passed.
    static void waitForRepaint(QWidget* player, int timeoutMs = repaintWaitMs);

    // The player's client area as it is on screen, one image pixel per device pixel; null when the
    // picture cannot be taken.
    static QImage grab(QWidget* player);
};
