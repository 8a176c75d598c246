// The state dump's keys of the level view, the overview, the warnings list
// and the object list.
#pragma once

#include <string>
#include <vector>

// What only the window knows of its panels.
struct ViewPanelFacts {
    std::vector<std::string> warningLines; // as the warnings list shows them
    std::string objectGroup, objectSearch;
    int objectsListed = 0;
};

std::string DescribeViewState(const ViewPanelFacts& panels);
