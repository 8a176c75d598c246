// Dark backing panels under text drawn over a picture (help, end moments).
#pragma once

// Darkens the rectangle (fractions of the frame, as DrawPicture takes them)
// toward the palette's darkest colour: `transparencyPercent` of the picture
// below still shows through (0 covers it). In stereoscopic mode the stereo
// buffer gets the same.
void DrawDarkPanel(double topFraction, double leftFraction, double heightFraction,
                   double widthFraction, int transparencyPercent);

// The palette entry (1..254) of the darkest colour, by the sum of its channels.
int DarkestPaletteEntry();
