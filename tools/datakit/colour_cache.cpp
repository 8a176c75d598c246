#include "datakit.h"

// Not written yet.
void GenerateColourCache(const DataKit&) {}
