// kelvane-datakit OUTDIR [SOURCES]: generates the default data set.
#include <cstdio>
#include <exception>

#include "datakit.h"

#ifndef KELVANE_DATA_SOURCES
#define KELVANE_DATA_SOURCES "data"
#endif

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: kelvane-datakit OUTDIR [SOURCES]\n");
        return 2;
    }
    DataKit kit{argv[1], argc == 3 ? argv[2] : KELVANE_DATA_SOURCES};
    try {
        GenerateDataSet(kit);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane-datakit: %s\n", error.what());
        return 1;
    }
    return 0;
}
