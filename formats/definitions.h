// The object definition file loader.
#pragma once

#include <string>

// Loads the object types, player and sentry meshes, sounds, texture bank and
// music list from `fileName` with texture detail `detail` ("High" or "Low").
// Does nothing when both equal, without regard to case, those of the previous
// load.
void LoadDefinitions(const std::string& fileName, const std::string& detail);
