#include "platform/alsa/alsa_sound_service.h"

#include "platform/alsa/alsa_output.h"
#include "platform/alsa/regular_file_reader.h"
#include "platform/alsa/wave_decoder.h"

#include <atomic>

namespace kt5::platform::alsa {

namespace {

// A wave file is never larger than the audio it decodes to, give or take its header and
// 32-bit samples.
constexpr std::size_t kMaxFileBytes = 2 * kMaxDecodedBytes;

// One sound at a time for the whole process, whichever thread or service object asks: a
// second request is refused, never queued and never allowed to cut the first one off.
std::atomic_flag soundInProgress = ATOMIC_FLAG_INIT;

class SoundSlot {
public:
    SoundSlot()
        : held_(!soundInProgress.test_and_set(std::memory_order_acquire))
    {
    }
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;
    ~SoundSlot()
    {
        if (held_)
            soundInProgress.clear(std::memory_order_release);
    }
    bool held() const { return held_; }

private:
    bool held_;
};

} // namespace

bool AlsaSoundService::playFileSync(const NativeString& path)
{
    const SoundSlot slot;
    if (!slot.held())
        return false;

    // Decoded in full before the device opens, so a bad file makes no sound at all.
    std::optional<DecodedSound> sound;
    if (auto bytes = readRegularFile(path, kMaxFileBytes))
        sound = decodeWave(*bytes);
    return sound && playOnDefaultOutput(*sound);
}

} // namespace kt5::platform::alsa

namespace kt5::platform {

std::unique_ptr<SoundService> createSoundService()
{
    return std::make_unique<alsa::AlsaSoundService>();
}

} // namespace kt5::platform
