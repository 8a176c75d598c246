// The level's properties in one place: outdoor or indoor and the random
// seed, shown and set together as one undo step; and New for either kind.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct LevelProperties {
    bool outside = true;
    std::int32_t seed = 0;
    bool operator==(const LevelProperties&) const = default;
};

// An answer "Outdoor" or "Indoor" (any case), optionally followed by the
// seed (digits). Without a seed the current one is kept. On a bad answer
// nullopt, with the message to show in `error`.
std::optional<LevelProperties> ParseLevelPropertiesAnswer(const std::string& text,
                                                          const LevelProperties& current,
                                                          std::string& error);
// The answer text for the given values ("Indoor 1234").
std::string LevelPropertiesAnswerText(const LevelProperties& properties);

// The window's dialog: shows the values and returns the answer text, or
// nullopt on Cancel. Unset, nothing is asked (Cancel).
extern std::function<std::optional<std::string>(const LevelProperties& current)>
    levelPropertiesDialog;

LevelProperties CurrentLevelProperties();
// Sets both values as one undo step (the sentries start again from the seed).
void SetLevelProperties(const LevelProperties& properties);

// Options, Level: a script's queued answer first, else the dialog; a bad
// answer is shown and changes nothing.
void LevelPropertiesCommand();

// New with its three prompts, then the level made outdoor or indoor.
void NewLevelOfKindCommand(bool outside);
