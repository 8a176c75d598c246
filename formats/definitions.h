// The object definition file: an INI file naming the texture bank and fog,
// the hero's poses and sounds, the sentry, the sky, the music list and up to
// 256 object types. Both programs load it through LoadDefinitions.
#pragma once

#include <string>

#include "platform/loaded.h"

// The definition file both programs load at start, and the one every level
// the editor makes names.
inline constexpr const char* kDefinitionFile = "Standard.bnk";

// Loads the object types, player and sentry meshes, sounds, texture bank,
// interface pictures and music list from `fileName` with texture detail
// `detail` ("High" or "Low"). Does nothing when both equal, without regard to
// case, those of the previous load. Fails when a file the definitions need
// (bank, image, mesh) is missing or damaged, with the "VX3: ..." text to
// show; the program must then stop.
Loaded<> LoadDefinitions(const std::string& fileName, const std::string& detail);

// As LoadDefinitions for a definition file the program found itself (a
// level pack's own, which may lie outside the data folder); the files it
// names must still lie inside the data folder.
Loaded<> LoadOwnDefinitions(const std::string& path, const std::string& detail);

// Forgets the previous load (file, detail and texture bank), so that the
// next LoadDefinitions reads its file whatever it names.
void ForgetDefinitions();

// The file name, as given, of the load that is in place; empty when none is
// (nothing loaded yet, forgotten, or the last load failed).
const std::string& LoadedDefinitionFile();
