#pragma once

#include <QPalette>

class QWidget;

// The one palette of the kiosk windows: white behind their texts, on their
// buttons and in their fields. The style keeps what it draws (frames, bevels,
// button faces) in the pixmap cache under keys that hold the palette's cache
// key, and a palette set on a widget is a new key every time, even with the
// same colours: set once for the whole program, every window of every job
// draws with the same palette and finds what the last job's windows left.
class KioskPalette
{
public:
    [[nodiscard]] static QPalette palette();

    // Makes it the application's palette, through the style; start-up calls
    // it before any window.
    static void install();

    // A window that does not have the kiosk colours already (in a process that
    // did not install them: a tool, a test) gets a palette of its own, which
    // its children inherit.
    static void apply(QWidget *window);
};
