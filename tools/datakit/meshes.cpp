#include "datakit.h"

// Not written yet.
void GenerateMeshes(const DataKit&) {}
