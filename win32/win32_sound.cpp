#include <windows.h>
#include <mmsystem.h>

#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

class Win32SoundPlayer;
// The player whose buffer winmm plays from, if any.
Win32SoundPlayer* g_playing = nullptr;

// The whole .wav is loaded into memory and played from there, so that
// playing never touches the disk and a later change of the file does not
// matter.
class Win32SoundPlayer : public SoundPlayer {
public:
    ~Win32SoundPlayer() override { stop(); }

    Status load(const std::string& path) override {
        stop();
        bytes_.clear();
        auto bytes = read_whole_file(file_system(), path);
        if (!bytes) return bytes.status();
        if (bytes->size() < 12 || bytes->compare(0, 4, "RIFF") != 0 || bytes->compare(8, 4, "WAVE") != 0)
            return Status::failure("Файл не является звуковым файлом WAVE.");
        bytes_ = std::move(*bytes);
        return Status::success();
    }

    bool loaded() const override { return !bytes_.empty(); }

    void play() override {
        if (bytes_.empty()) return;
        g_playing = this;
        PlaySoundW(reinterpret_cast<LPCWSTR>(bytes_.data()), nullptr, SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
    }

private:
    void stop() {
        if (g_playing != this) return;
        PlaySoundW(nullptr, nullptr, 0);
        g_playing = nullptr;
    }
    std::string bytes_;
};

class Win32Sound : public Sound {
public:
    std::unique_ptr<SoundPlayer> make_player() override { return std::make_unique<Win32SoundPlayer>(); }
};

}  // namespace

Sound& sound() {
    static Win32Sound instance;
    return instance;
}

}  // namespace platform::win32
