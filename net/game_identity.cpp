#include "net/game_identity.h"

#include "net/net_transport.h"

std::uint32_t CompareGameIdentity(const NetGameIdentity& mine, const NetGameIdentity& theirs) {
    if (mine.version != theirs.version) return kNetDifferentVersion;
    if (mine.definitions != theirs.definitions) return kNetDifferentDefinitions;
    if (mine.levels != theirs.levels) return kNetDifferentLevels;
    return kNetOk;
}

std::string GameDifferenceText(std::uint32_t code) {
    switch (code) {
    case kNetDifferentVersion:
        return "different version";
    case kNetDifferentDefinitions:
        return "different definitions";
    case kNetDifferentLevels:
        return "different levels";
    default:
        return {};
    }
}
