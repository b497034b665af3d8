#include "alsa_output/alsa_output.h"
#include "alsa_output/asound_library.h"
#include "platform/sound_service.h"
#include "policy/playback_policy.h"
#include "stream_identity.h"

#include <memory>

namespace kt5::platform::alsa {

namespace {

// ALSA's default PCM once libasound is found: bound at the first sound, not at start, since
// it and the plugins it loads would delay the window for nothing.
class DefaultOutput final : public policy::SoundOutput {
public:
    PlaybackResult playWhole(const decoder::DecodedSound& sound,
                             Clock::time_point deadline) override
    {
        const BoundAsound& asound = asoundLibrary();
        if (asound.api == nullptr)
            return PlaybackFailure{PlaybackError::LibraryMissing, asound.error};
        return AlsaOutput(*asound.api).playWhole(sound, deadline);
    }
};

} // namespace

} // namespace kt5::platform::alsa

namespace kt5::platform {

// The sound service on Linux: the file checked and decoded whole before the output opens, so
// that a bad file makes no sound at all; then ALSA's "default" PCM plays it.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity& identity)
{
    alsa::nameTheProgramsStreams(identity);
    return policy::createPolicedService(std::make_shared<alsa::DefaultOutput>());
}

} // namespace kt5::platform
