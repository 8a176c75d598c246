#include "datakit.h"

// Not written yet.
void GenerateDefinitions(const DataKit&) {}
