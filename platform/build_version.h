// The build's version, written by CMake when it configures the build.
#pragma once

// The project's version, as "0.1".
extern const char* const kProgramVersion;
// `git describe --always --dirty` of the source tree when the build was
// configured; "unknown" when it was not a git checkout.
extern const char* const kBuildRevision;
