#include "datakit.h"

// Not written yet.
void GenerateMusic(const DataKit&) {}
