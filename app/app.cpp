#include "app/app.h"

#include <QApplication>

int runVetrinova(int argc, char** argv) {
    QApplication a(argc, argv);
    return 0;
}
