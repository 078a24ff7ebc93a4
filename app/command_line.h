#pragma once
// The program's command line, read before any window system is reached: help and version
// need no display, a mistake is told at once, and "--" ends the options so that a file whose
// name starts with a dash can be opened.
#include <QString>
#include <QStringList>

namespace command_line {

struct Parsed {
    enum class Action {
        Run,         // start the program with `documents`
        Help,        // print `text` on standard output, exit 0
        Version,     // the same
        ListScreens, // print the monitors (which needs the display), exit 0
        Mistake,     // print `text` on standard error, exit 2
    };
    Action action = Action::Run;
    QString text;
    // The files named, in order, as given.
    QStringList documents;
    // The monitor asked for with --screen, "" for the primary one.
    QString screen;
    // The program's name followed by the toolkit's own options as given (-platform NAME,
    // -style NAME...), for the application object; documents are never among them, so a
    // file named like a toolkit option after "--" stays a file.
    QStringList toolkitArguments;
};

// arguments[0] is the program as started.
Parsed parse(const QStringList& arguments);

// The exit status of a command line that does not start the program.
inline constexpr int kMistakeStatus = 2;

} // namespace command_line
