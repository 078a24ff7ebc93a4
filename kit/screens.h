#pragma once
// The monitors of the desktop, and the one the program calls its main screen: the setup
// window, the notes editor and the dialogs are centred on it, its size titles the setup
// window, and a presentation covers exactly it. It is the monitor chosen by name (the
// command line's --screen, the File menu), kept for the whole run and used whenever it is
// connected, and otherwise the primary monitor, wherever it stands among the others.
#include <QRect>
#include <QString>
#include <vector>

namespace screens {

struct Monitor {
    QString name;   // as the desktop names it (xrandr's monitor or output name)
    QRect geometry; // in the desktop's coordinates: the origin tells where the monitor stands
    bool primary = false;
};

// Every monitor connected, in the toolkit's order.
std::vector<Monitor> monitors();

// Asks for the monitor of that name from now on; an empty name asks for the primary one.
void choose(const QString& name);
// Whether a monitor of that name is connected.
bool connected(const QString& name);

// The main screen: the chosen monitor while connected, else the primary. Without any screen
// at all (no display) 1024 x 768 at 0, 0.
Monitor mainScreen();

// One line per monitor for the command line's list: its name, size and place, and whether it
// is the primary.
QString describe();

} // namespace screens
