#pragma once
// The program's three sound players, loaded from the Data folder each time
// the main window is activated.
#include <memory>

#include "platform/sound.h"
#include "store/data_folder.h"

namespace search {

class Sounds {
public:
    explicit Sounds(platform::Sound& sound)
        : radar(sound.make_player()), clean(sound.make_player()), link(sound.make_player()) {}

    // Loads radar.wav, clean.wav and link.wav in that order and stops at the
    // first that fails; the players after it stay silent. False on a failure.
    bool load(const store::DataFolder& data);

    std::unique_ptr<platform::SoundPlayer> radar, clean, link;
};

}  // namespace search
