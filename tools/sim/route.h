// Solution routes: closed-loop steps that steer the hero through a level
// ("face E", "goto 7 6", "climb", "jump", "action", "wait 500",
// "wait-until settled|cell X Y Z|won|clear R X Z [X Z ...]"), written as "Route = ..." lines in a
// level source. Unlike a key script they look at where the hero is, so they
// survive changes of frame time and physics.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/loaded.h"

enum class RouteKind {
    Face,
    Goto,
    Climb,
    Jump,
    Action,
    Wait,
    WaitSettled,
    WaitCell,
    WaitWon,
    WaitClear
};

struct RouteStep {
    RouteKind kind = RouteKind::Wait;
    std::int32_t a = 0, b = 0, c = 0;             // heading; column x z; cell x y z; milliseconds;
                                                  // cells apart
    std::vector<std::array<std::int32_t, 2>> way; // columns x z of a clear way
    std::int32_t timeoutMs = 20000;               // "... timeout MS" after any step
    int line = 0;                                 // line of the source
    std::string text;                             // as written
};

// The route lines of a level source. An unknown step or a bad number names
// the file and the line.
Loaded<std::vector<RouteStep>> ParseRoute(const std::string& text, const std::string& fileName);
Loaded<std::vector<RouteStep>> ReadRoute(const std::string& fileName);
