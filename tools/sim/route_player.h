// Steers the hero along a route one frame at a time: before each frame it
// says which keys to hold, from where the hero is and how he moves.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "route.h"

class RoutePlayer {
  public:
    explicit RoutePlayer(std::vector<RouteStep> steps) : steps_(std::move(steps)) {}

    // The keys to hold in the coming frame, at tick `now`.
    KeySet NextKeys(std::int32_t now);

    bool Finished() const { return index_ >= steps_.size(); }
    // Set when a step timed out: the line, the frame and where the hero stood.
    const std::string& Failure() const { return failure_; }

  private:
    KeySet keysFor(const RouteStep& step, bool& done);
    void startStep(std::int32_t now);

    std::vector<RouteStep> steps_;
    std::size_t index_ = 0;
    bool started_ = false;
    std::int32_t stepStart_ = 0;
    std::int32_t now_ = 0;
    int phase_ = 0;
    std::vector<int> turnPlan_; // keys of a turn still to press, frame by frame
    std::string failure_;
};
