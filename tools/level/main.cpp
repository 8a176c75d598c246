#include <iostream>

#include "level_tool.h"

int main(int argc, char** argv) {
    return RunLevelTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
