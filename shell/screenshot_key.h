// F12's screenshot: the window's picture as a PNG file in the player's
// pictures folder, under a name of the time it was taken.
#pragma once

#include <ctime>
#include <string>

// $XDG_PICTURES_DIR/Kelvane when that is an absolute path, else
// $HOME/Pictures/Kelvane; empty when neither is known.
std::string ScreenshotFolder();
// "kelvane-YYYYMMDD-HHMMSS.png" for the local time `when`.
std::string ScreenshotName(std::time_t when);

// Writes the picture shown now (through the atomic writer) to a free name in
// the folder, made when missing: "-2", "-3" ... before ".png" when the
// time's name is taken. Says where on the message line and on stderr, or
// why not. Returns the file written, empty on failure.
std::string SaveScreenshot();
