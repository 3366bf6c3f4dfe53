#pragma once
// Playing .wav files.
#include <memory>
#include <string>

#include "platform/status.h"

namespace platform {

// One loaded sound. Playing a player that is not loaded does nothing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Loads a whole .wav file into memory; fails when it is missing,
    // unreadable or not a RIFF/WAVE file (the player is then unloaded).
    virtual Status load(const std::string& path) = 0;
    virtual bool loaded() const = 0;
    // Plays from the start without blocking (from memory, asynchronously);
    // a sound that is playing stops.
    virtual void play() = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    virtual std::unique_ptr<SoundPlayer> make_player() = 0;
};

}  // namespace platform
