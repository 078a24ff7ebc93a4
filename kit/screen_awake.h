#pragma once
// Keeping the screen awake while a presentation shows: the desktop is asked not to blank or
// lock it through the freedesktop screen saver interface (org.freedesktop.ScreenSaver on the
// session bus, which GNOME, KDE and Xfce honour), and the X server's own screen saver is
// kept from starting. Without a session bus, or without anyone on it offering the
// interface, the presentation runs as before and nothing is said.
#include <QString>

namespace screen_awake {

// Asks from now until release(); a second hold() while held asks nothing more. The request
// leaves at once and its answer comes later: the caller never waits for the desktop.
void hold(const QString& reason);
// Takes the request back, also one whose answer has not come yet (it is taken back when it
// comes). Nothing happens when nothing is held.
void release();
// Whether a hold is in force (asked for and not released).
bool held();

} // namespace screen_awake
