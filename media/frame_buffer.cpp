#include "media/frame_buffer.h"

bool windowMode = true;
