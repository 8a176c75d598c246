#include <iostream>
#include <string>
#include <vector>

#include "sim_tool.h"

int main(int argc, char** argv) {
    return RunSimTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
