#include "datakit.h"

// Not written yet.
void GenerateSounds(const DataKit&) {}
