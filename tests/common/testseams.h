#pragma once
// Seams for tests: a fixed screen, counted beeps, scripted dialogs, a private
// preferences folder. Restores the real hooks when it goes out of scope.
#include "framework/seams.h"

#include <QStringList>
#include <QTemporaryDir>
#include <deque>

struct TestSeams {
    explicit TestSeams(QSize screen = QSize(1024, 768));
    ~TestSeams();
    int beeps = 0;
    QStringList urls;
    QStringList errors;
    // Answers given in order by the dialogs; an empty queue answers "cancel".
    std::deque<QString> folders, openFiles, saveFiles;
    std::deque<std::optional<QColor>> colors;
    QStringList colorPrompts;
    QSize screen;
    QTemporaryDir prefs;
};

// Closes the warning dialogs a test may have left open.
void closeWarnings();
