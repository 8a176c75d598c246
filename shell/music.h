// The game's side of the music: the services the music asks of the shell
// (game clock, display mode around a clip, the window's size and number),
// and the video clip served between frames.
#pragma once

// Installs the music's services, then starts the music library.
void StartGameMusicLibrary();

// Between two frames: a clip that has reached its end is closed (its
// end notice), one that plays shows its picture of the moment.
void ServiceVideoClip();
