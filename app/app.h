#pragma once
int runVetrinova(int argc, char** argv);
