#include "search/sounds.h"

namespace search {

bool Sounds::load(const store::DataFolder& data) {
    const std::pair<platform::SoundPlayer*, const char*> files[] = {
        {radar.get(), "radar.wav"}, {clean.get(), "clean.wav"}, {link.get(), "link.wav"}};
    for (const auto& [player, name] : files)
        if (!player->load(data.path(name))) return false;
    return true;
}

}  // namespace search
