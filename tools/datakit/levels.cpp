#include "datakit.h"

// Not written yet.
void GenerateLevels(const DataKit&) {}
