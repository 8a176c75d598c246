#include "datakit.h"

// Not written yet.
void GenerateTextures(const DataKit&) {}
