#include "app/app.h"

int main(int argc, char** argv) {
    return runVetrinova(argc, argv);
}
