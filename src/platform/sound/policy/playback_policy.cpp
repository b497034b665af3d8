#include "policy/playback_policy.h"

#include "decoder/wave_decoder.h"
#include "policy/play_within.h"
#include "tone_file/tone_file.h"

#include <utility>

namespace kt5::platform::policy {

namespace {

class PolicedSoundService final : public SoundService {
public:
    PolicedSoundService(std::shared_ptr<SoundOutput> output, PlaybackTimes times)
        : output_(std::move(output))
        , times_(times)
    {
    }

    PlaybackResult play(const NativeString& path) override
    {
        SoundSlot slot;
        if (!slot.held())
            return PlaybackFailure{PlaybackError::Busy};
        auto file = readToneFile(path);
        if (!file)
            return file.failure();
        auto sound = decoder::decodeWave(*file);
        if (!sound)
            return sound.failure();
        const Clock::duration length = lengthOf(sound->seconds());
        // The output stops a sound itself at its deadline, where its calls return at all.
        return playWithin(
            std::move(slot), length,
            [output = output_, sound = std::move(*sound)](Clock::time_point deadline) {
                return output->playWhole(sound, deadline);
            },
            {}, times_);
    }

private:
    std::shared_ptr<SoundOutput> output_;
    PlaybackTimes times_;
};

} // namespace

std::unique_ptr<SoundService> createPolicedService(std::shared_ptr<SoundOutput> output,
                                                   PlaybackTimes times)
{
    return std::make_unique<PolicedSoundService>(std::move(output), times);
}

} // namespace kt5::platform::policy
