#include "alsa_output/alsa_output.h"
#include "alsa_output/asound_library.h"
#include "decoder/wave_decoder.h"
#include "platform/sound_service.h"
#include "policy/playback_policy.h"
#include "stream_identity.h"

#include <memory>
#include <utility>

namespace kt5::platform::alsa {

namespace {

// ALSA's default PCM: a tone decoded whole before the output is asked for anything, so that
// a file that cannot be decoded makes no sound; its length is what the decoder yielded.
// libasound is bound at the first sound, not at start, since it and the plugins it loads
// would delay the window for nothing.
class DefaultOutput final : public policy::SoundOutput {
public:
    Outcome<policy::ReadySound> prepare(ToneFile file) override
    {
        auto decoded = decoder::decodeWave(file);
        if (!decoded)
            return decoded.failure();
        const BoundAsound& asound = asoundLibrary();
        if (asound.api == nullptr)
            return PlaybackFailure{PlaybackError::LibraryMissing, asound.error};
        const std::size_t frames = decoded->frames();
        const auto rate = static_cast<std::uint32_t>(decoded->sampleRate);
        return policy::ReadySound{
            frames, rate,
            [&alsa = *asound.api, sound = std::move(*decoded)](Clock::time_point deadline) {
                return AlsaOutput(alsa).playWhole(sound, deadline);
            }};
    }
};

} // namespace

} // namespace kt5::platform::alsa

namespace kt5::platform {

// The sound service on Linux: the playback rules over ALSA's "default" PCM.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity& identity)
{
    alsa::nameTheProgramsStreams(identity);
    return policy::createPolicedService(std::make_shared<alsa::DefaultOutput>());
}

} // namespace kt5::platform
