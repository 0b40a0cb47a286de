// platform/ui/alsa/alsasound.h: the sound output of the ALSA back end (no ALSA types here).
#pragma once

#include "platform/ui/sound.h"

#include <memory>

// An output on the "default" device; its Open fails where there is no device.
std::unique_ptr<ISoundOutput> CreateAlsaSoundOutput();
