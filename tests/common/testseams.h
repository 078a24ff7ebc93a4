#pragma once
// What every window test stands on. TestSeams replaces the operating system's services: a
// fixed screen, counted beeps, scripted dialogs, a private preferences folder; it restores
// the real ones when it goes. WindowFixture adds a clean presentation state and a temporary
// folder, and closes every window when it goes, so that the next test meets each window
// afresh.
#include "common/testlanes.h"
#include "kit/seams.h"
#include "logic/state/model.h"

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>

class fin_edita;

struct TestSeams {
    explicit TestSeams(QSize screen = QSize(1024, 768));
    ~TestSeams();
    int beeps = 0;
    QStringList errors;
    QStringList links; // addresses handed to the desktop to open
    // Answers given in order by the dialogs; an empty queue answers "cancel" (the colour
    // picker always does).
    std::deque<QString> folders, openFiles, saveFiles;
    QSize screen;
    QTemporaryDir prefs;
};

struct WindowFixture {
    explicit WindowFixture(QSize screen = QSize(1024, 768));
    ~WindowFixture();
    // Closes and destroys every window of the program that exists.
    static void closeWindows();

    QString path(const QString& name) const { return dir.filePath(name); }
    // A folder of n pictures pic1.png .. picN.png.
    QString makeFolder(const QString& name, int n, QSize size = QSize(400, 300),
                       QColor colour = Qt::green);
    // As the user does it: the folder dialog answers `folder`, the save dialog `file`.
    void importFolder(const QString& folder);
    void saveTo(const QString& file);
    // A fresh notes editor with the strip on `edge`, `pixels` thick, as the setup window
    // leaves it.
    fin_edita* openEditor(int edge = edge::Left, int pixels = 100);
    // What a user would lose: the folder, the count, the files and the notes.
    static QStringList presentationState();
    // The note cells of picture i.
    static QStringList row(int i);
    static void setRow(int i, const QStringList& cells);

    TestSeams seams;
    QTemporaryDir dir;
};
