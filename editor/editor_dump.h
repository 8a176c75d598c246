// The editor's state as "key=value" lines, for scripted runs to compare:
// the selector, the current object, the level's values and a digest of its
// cells, the file, the caption, the last message and the help window.
#pragma once

#include <cstdint>
#include <string>

// What only the window knows.
struct EditorWindowFacts {
    std::string caption;
    bool helpShown = false;
};

std::string DescribeEditorState(const EditorWindowFacts& window);

// A 64-bit FNV-1a digest of the grid's sizes, object types and brightness,
// as 16 hexadecimal digits: equal levels give equal digests.
std::string CellDigest();
