#include "route.h"

#include <sstream>

#include "platform/files.h"
#include "platform/text_case.h"

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

bool number(const std::string& word, std::int32_t& out) {
    try {
        std::size_t used = 0;
        const long value = std::stol(word, &used);
        if (used != word.size() || value < -1000000000L || value > 1000000000L) return false;
        out = static_cast<std::int32_t>(value);
        return true;
    } catch (...) {
        return false;
    }
}

// Compass points and angle units: north is +z (0), east +x (8192).
bool heading(const std::string& word, std::int32_t& out) {
    const std::string w = UpperAscii(word);
    if (w == "N")
        out = 0;
    else if (w == "E")
        out = 8192;
    else if (w == "S")
        out = 16384;
    else if (w == "W")
        out = 24576;
    else
        return number(word, out);
    return true;
}

} // namespace

Loaded<std::vector<RouteStep>> ParseRoute(const std::string& text, const std::string& fileName) {
    std::vector<RouteStep> steps;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = line.substr(0, line.find(';'));
        const auto equals = line.find('=');
        if (equals == std::string::npos || LowerAscii(trim(line.substr(0, equals))) != "route")
            continue;
        RouteStep step;
        step.line = lineNumber;
        step.text = trim(line.substr(equals + 1));
        std::istringstream in(step.text);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        const auto bad = [&](const std::string& why) {
            return LoadFailure{fileName + ":" + std::to_string(lineNumber) + ": " + why + ": \"" +
                               step.text + "\""};
        };
        // An optional "timeout MS" at the end of any step.
        if (words.size() >= 2 && LowerAscii(words[words.size() - 2]) == "timeout") {
            if (!number(words.back(), step.timeoutMs) || step.timeoutMs <= 0)
                return bad("the time-out is not a positive number of milliseconds");
            words.resize(words.size() - 2);
        }
        if (words.empty()) return bad("a route line needs a step");
        const std::string verb = LowerAscii(words[0]);
        const auto args = [&](std::size_t n) { return words.size() == n + 1; };
        bool ok = false;
        if (verb == "face" && args(1)) {
            step.kind = RouteKind::Face;
            ok = heading(words[1], step.a);
        } else if (verb == "goto" && args(2)) {
            step.kind = RouteKind::Goto;
            ok = number(words[1], step.a) && number(words[2], step.b);
        } else if ((verb == "climb" || verb == "jump" || verb == "action") && args(0)) {
            step.kind = verb == "climb"  ? RouteKind::Climb
                        : verb == "jump" ? RouteKind::Jump
                                         : RouteKind::Action;
            ok = true;
        } else if (verb == "wait" && args(1)) {
            step.kind = RouteKind::Wait;
            ok = number(words[1], step.a) && step.a >= 0;
        } else if (verb == "wait-until" && words.size() >= 2) {
            const std::string what = LowerAscii(words[1]);
            if (what == "settled" && words.size() == 2) {
                step.kind = RouteKind::WaitSettled;
                ok = true;
            } else if (what == "won" && words.size() == 2) {
                step.kind = RouteKind::WaitWon;
                ok = true;
            } else if (what == "cell" && words.size() == 5) {
                step.kind = RouteKind::WaitCell;
                ok = number(words[2], step.a) && number(words[3], step.b) &&
                     number(words[4], step.c);
            } else if (what == "clear" && words.size() >= 5 && words.size() % 2 == 1) {
                // "clear R X Z [X Z ...]": the cells to keep and the way.
                step.kind = RouteKind::WaitClear;
                ok = number(words[2], step.a) && step.a >= 0;
                for (std::size_t i = 3; ok && i + 1 < words.size(); i += 2) {
                    std::int32_t x = 0, z = 0;
                    ok = number(words[i], x) && number(words[i + 1], z);
                    step.way.push_back({x, z});
                }
            }
        }
        if (!ok) return bad("not a route step");
        steps.push_back(step);
    }
    return LoadedValue(std::move(steps));
}

Loaded<std::vector<RouteStep>> ReadRoute(const std::string& fileName) {
    const SmallFile file = ReadSmallFile(fileName);
    if (file.status == SmallFileStatus::Missing) return LoadFailure{fileName + ": cannot be read"};
    if (file.status == SmallFileStatus::TooLarge) return LoadFailure{TooLargeText(fileName)};
    return ParseRoute(std::string(file.bytes.begin(), file.bytes.end()), fileName);
}
