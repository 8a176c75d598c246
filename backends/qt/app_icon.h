// The programs' icons, drawn in code: one design per program, painted at any
// size for the windows and the icon theme, and written as SVG for the
// scalable icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

enum class AppIconKind { Game, Editor };

// The icon sizes a desktop icon theme expects, in pixels.
const std::vector<int>& AppIconSizes();

// The icon's name in the icon theme, which is also the name of the program's
// launcher (without ".desktop").
std::string AppIconName(AppIconKind kind);

// The icon as a side x side picture with transparent corners.
QImage DrawAppIcon(AppIconKind kind, int side);

// The same shapes as an SVG document.
std::string AppIconSvg(AppIconKind kind);

// Gives the window, and every other window of the program, its program's
// icon at every size, and tells the desktop which launcher it belongs to.
void UseAppIcon(QWidget& window, AppIconKind kind);
