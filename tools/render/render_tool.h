// kelvane-render: draws one play frame of a level, as the game would show
// it, into a PNG file.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct RenderOptions {
    std::string data;   // data folder
    std::string level;  // level file, in the data folder or as given
    std::string output; // PNG file
    int width = 320, height = 240;
    std::optional<std::array<float, 5>> camera; // x, y, z, heading, pitch
    float distance = 0;                         // 0 first person, else the follow camera
};

// nullopt with `error` set when the arguments are incomplete or malformed.
std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                std::string& error);

// Exit codes: 0 written, 1 data or level refused, 2 usage.
int RunRenderTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
