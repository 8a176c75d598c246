// The media control interface's command strings, served by our own small
// interpreter: a MIDI sequencer, CD audio over the data set's track files
// (CDAUDIO/TRACK<n>.*) and a video player, each playing through the
// installed decoders. Verbs, device names and keywords are case-insensitive
// ("VidClip" opened is "Vidclip" played).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/music_decoders.h"

// Answers of a command: 0 when it was carried out, else an error number.
constexpr int kMciOk = 0;
constexpr int kMciUnrecognizedCommand = 261;
constexpr int kMciInvalidDeviceName = 263;
constexpr int kMciFileNotFound = 275;
constexpr int kMciDeviceNotReady = 276;
constexpr int kMciOutOfRange = 282;
constexpr int kMciMissingParameter = 289;

constexpr std::size_t kMciCommandsKept = 8;

// Carries out one command string. A command that answers (status) writes its
// reply into `reply`, cut to `replyLength` - 1 characters as a buffer of that
// size would hold; on an error the reply is empty.
int mciSendString(const std::string& command, std::string* reply = nullptr, int replyLength = 0);

// The last commands sent, oldest first.
std::vector<std::string> RecentMciCommands();

// The notification of a clip played with "notify" that has reached its end
// on the game's clock: true once, when one is waiting.
bool TakeMciNotification();

// The picture of the clip playing now (or of its last frame once it ended);
// null when no clip is open.
const VideoPicture* CurrentClipPicture();

// Closes every device and forgets the commands (program end, tests).
void ResetMci();
