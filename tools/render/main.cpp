#include <iostream>

#include "render_tool.h"

int main(int argc, char** argv) {
    return RunRenderTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
