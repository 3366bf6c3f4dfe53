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
    // Loads a .wav file; fails when it is missing or unreadable (the player is
    // then unloaded).
    virtual Status load(const std::string& path) = 0;
    virtual bool loaded() const = 0;
    // Plays from the start without blocking.
    virtual void play() = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    virtual std::unique_ptr<SoundPlayer> make_player() = 0;
};

}  // namespace platform
