// The game over the network: the start handshake (13 asks, 14 answers, 10
// numbers each joiner and fixes the refresh interval), the states and world
// events sent in play, and every received message applied with the same
// world operations as the local player's actions.
#pragma once

#include <cstdint>
#include <string>

#include "net/game_messages.h"

// Lets the player control's actions go out as world events.
void InstallNetGameServices();

// The session's handler of game messages.
void CommGameMessage(std::int32_t from, std::int32_t msgType, const std::uint8_t* gameMsg);
// Checks a message against the current level and phase and applies it, or
// counts why it was ignored. `gameMsg` holds kNetMessageSize bytes.
void HandleGameMessage(std::int32_t from, std::int32_t msgType, const std::uint8_t* gameMsg);

// On the host while starting: once every player has answered, sends each
// its number and the interval and starts the game.
void FinishStartWhenAllAnswered();
// 1.2 times the largest round trip, rounded, within what a peer accepts.
std::int32_t RefreshIntervalFor(std::int32_t largestRoundTripMs);

// Whether this machine decides where the sentries go: the one hosting.
bool DecidesSentries();
// A player who left during play: its record stays where it was last told to
// be, standing; when it was the host, the screen says so.
void FreezeLeaver(std::int32_t id, const std::string& longName);

// In play, every refresh interval: the local player's state and every sentry's position.
void SendPlayerState();
// A change the local player made to the world, with its event letter ('d' to 'j').
void SendWorldEvent(char letter, std::int32_t x, std::int32_t y, std::int32_t z,
                    std::int32_t argument);

// What a received message is checked against: players, grid, sentries,
// takeable types and the local player's level. A type that gives several
// things is taken with one event per thing: `named`, when the type gives
// it, is the letter checked for that type.
GameMessageContext CurrentMessageContext(char named = 0);
