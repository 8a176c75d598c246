// The identity of the game this program plays, for the network session: the
// protocol version, a digest of the object definitions file and one of the
// level list (each level's file name and contents, in list order). Two
// machines with equal identities start the same levels from the same data.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "net/game_identity.h"

// 64-bit FNV-1a of `bytes`, continued from `digest`.
std::uint64_t ContinueDigest(std::uint64_t digest, std::span<const std::uint8_t> bytes);

// The digest of the files in this order: each file's name (without its
// folder), its size and its bytes. A file that cannot be read counts as
// missing, which differs from every file that can.
std::uint64_t FileListDigest(const std::vector<std::string>& files);

// Read from the current (data) folder: the definitions file and the level
// list the game would build (the one --level file when given).
NetGameIdentity LocalGameIdentity();
