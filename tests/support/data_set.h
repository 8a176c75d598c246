// A small but complete data folder for tests that load definitions: a bank
// with two textures, the fixed meshes, the hero's poses, the interface
// pictures and both font sheets, and a definition file "Standard.bnk".
#pragma once

#include <string>

#include "support/test_support.h"

// A one-triangle-per-vertex-row mesh of `faces` flat faces (at least 1).
std::vector<std::uint8_t> SimpleMeshBytes(int faces, int size = 100);

// Writes the data files into `dir`; `objects` is appended to the definition
// file (sections "[Object n]").
void WriteMiniDataSet(const TempDir& dir, const std::string& objects = "");
