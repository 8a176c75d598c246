// What two machines must share to play one game: the protocol they speak and
// the data they run (a digest of the object definitions and one of the level
// list, names and contents). A host turns away a joiner whose identity
// differs, saying what differs, and the session list marks such games.
#pragma once

#include <cstdint>
#include <string>

// Bumped whenever the transport's frames or the game's messages change
// meaning. Version 2: compressed transport, identity in probe replies and hellos.
constexpr std::uint32_t kNetProtocolVersion = 2;

struct NetGameIdentity {
    std::uint32_t version = kNetProtocolVersion;
    std::uint64_t definitions = 0;
    std::uint64_t levels = 0;
    bool operator==(const NetGameIdentity&) const = default;
};

// kNetOk when `theirs` plays the same game as `mine`, else the refusal code
// for the first difference: version, then definitions, then levels.
std::uint32_t CompareGameIdentity(const NetGameIdentity& mine, const NetGameIdentity& theirs);

// "different version", "different definitions" or "different levels" for
// the refusal codes of a mismatch; empty for any other code.
std::string GameDifferenceText(std::uint32_t code);
