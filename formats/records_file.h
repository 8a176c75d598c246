// Best times (records.ini): one line per level won, in milliseconds,
//   [Best]
//   01-first=73250
// keyed by the level's record name (RecordName). Lines that are not a
// level's name and a time of 1 ms to 24 hours are ignored.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// Best time in ms by record name, in name order.
using BestTimes = std::map<std::string, std::int32_t>;

constexpr std::int32_t kLongestRecordMs = 24 * 60 * 60 * 1000;

// A level path's record name: its file name without the extension, in lower
// case, with every character but letters, digits, '-' and '_' turned into
// '_' ("LEVEL\01-First.lev" gives "01-first"), so that it is also safe in a
// file name (best-<name>.kvr). Empty when nothing is left.
std::string RecordName(const std::string& levelPath);

// The name a level's best time and best replay are kept under: RecordName
// for a level inside the data folder (the campaign's names stay as they
// are), else its folder's record name, "--" and its own, so that two packs'
// "01.lev" keep apart ("/home/a/levels/caves/01.lev" gives "caves--01").
std::string LevelRecordName(const std::string& levelPath);

BestTimes ParseRecords(std::string_view text);
std::string RecordsText(const BestTimes& times);

// Takes `ms` as the level's time: true (and `times` changed) when it beats
// the best so far or is the first.
bool TakeBestTime(BestTimes& times, const std::string& name, std::int32_t ms);
