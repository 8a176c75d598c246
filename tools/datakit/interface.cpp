#include "datakit.h"

// Not written yet.
void GenerateInterface(const DataKit&) {}
