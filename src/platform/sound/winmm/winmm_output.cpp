#include "os/shared_library.h"
#include "platform/sound_service.h"
#include "policy/playback_policy.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kt5::platform::winmm {

namespace {

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
using DeviceCountFunction = UINT(WINAPI*)();
using OpenFunction = MMRESULT(WINAPI*)(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR,
                                       DWORD);

struct Winmm {
    PlaySoundFunction playSound = nullptr;
    DeviceCountFunction outputDevices = nullptr;
    OpenFunction openOutput = nullptr;
};

struct BoundWinmm {
    Winmm api;
    std::string error; // why it is not bound, in the loader's words
};

// Bound once, at the first sound rather than at start: winmm.dll, and the audio drivers it
// loads, need not delay the window.
const BoundWinmm& winmmLibrary()
{
    static const BoundWinmm bound = [] {
        static os::SharedLibrary winmm("winmm.dll");
        BoundWinmm b;
        if (!winmm.bind("PlaySoundW", b.api.playSound) ||
            !winmm.bind("waveOutGetNumDevs", b.api.outputDevices) ||
            !winmm.bind("waveOutOpen", b.api.openOutput)) {
            b.api.playSound = nullptr;
            b.error = winmm.error();
        }
        return b;
    }();
    return bound;
}

void writeLe(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

// The file's bytes as PlaySound is to play them. Where its frames all have one size, the
// header's block alignment and byte rate are made what that size says: readers elsewhere go
// by it, and a file whose writer got those fields wrong plays whole there.
std::vector<std::byte> withTrueFrameSize(ToneFile file)
{
    const WaveFormat& format = file.layout.format;
    if (const auto frameBytes = format.frameBytes()) {
        writeLe(file.bytes, file.layout.formatOffset + 8, format.sampleRate * *frameBytes, 4);
        writeLe(file.bytes, file.layout.formatOffset + 12, *frameBytes, 2);
    }
    return std::move(file.bytes);
}

// Why PlaySound, which says no more than that it failed, did not play `sound`, where Windows
// can tell: no output device, or no codec for its format.
PlaybackFailure whyNotPlayed(const Winmm& winmm, const std::vector<std::byte>& sound,
                             const WaveLayout& layout)
{
    // The format as waveOutOpen reads it: its extension no longer than the chunk holds.
    std::vector<std::byte> format(std::max(layout.formatBytes, sizeof(WAVEFORMATEX)));
    std::memcpy(format.data(), sound.data() + layout.formatOffset, layout.formatBytes);
    auto* header = reinterpret_cast<WAVEFORMATEX*>(format.data());
    header->cbSize = layout.formatBytes < sizeof(WAVEFORMATEX)
                         ? 0
                         : static_cast<WORD>(std::min<std::size_t>(
                               header->cbSize, format.size() - sizeof(WAVEFORMATEX)));
    const MMRESULT query = winmm.openOutput(nullptr, WAVE_MAPPER, header, 0, 0, WAVE_FORMAT_QUERY);
    if (query == WAVERR_BADFORMAT) {
        char codec[64];
        std::snprintf(codec, sizeof codec, "no codec of this system plays format 0x%04X",
                      layout.format.codec);
        return {PlaybackError::CodecError, codec};
    }
    if (winmm.outputDevices() == 0 || query == MMSYSERR_NODRIVER || query == MMSYSERR_BADDEVICEID)
        return {PlaybackError::DeviceNotOpened, "no sound output device"};
    return {PlaybackError::Refused};
}

// The multimedia PlaySound service, synchronous and with no default sound, given the bytes
// that were checked, from memory: the sound played is the sound checked, even where the file
// is replaced meanwhile. PlaySound would play the part of a cut-short file that is there,
// and stream a file's claimed length in real time however long; the playback rules refuse
// both before it is asked.
class WinmmOutput final : public policy::SoundOutput {
public:
    Outcome<policy::ReadySound> prepare(ToneFile file) override
    {
        const BoundWinmm& bound = winmmLibrary();
        if (bound.api.playSound == nullptr)
            return PlaybackFailure{PlaybackError::LibraryMissing, bound.error};
        const WaveLayout layout = file.layout;
        return policy::ReadySound{
            layout.frames, layout.format.sampleRate,
            [&winmm = bound.api, layout, sound = withTrueFrameSize(std::move(file))](
                policy::Clock::time_point) -> PlaybackResult {
                // No SND_ASYNC: it returns once the sound has played. No module handle: only
                // resource sounds use one.
                constexpr DWORD kFlags = SND_MEMORY | SND_NOSTOP | SND_NODEFAULT;
                if (winmm.playSound(reinterpret_cast<LPCWSTR>(sound.data()), nullptr, kFlags))
                    return {};
                return whyNotPlayed(winmm, sound, layout);
            }};
    }

    // Stops what plays. Wine's waits, without a limit, for the thread that plays, which may
    // itself wait on a sound server that does not answer.
    void stop() override { winmmLibrary().api.playSound(nullptr, nullptr, 0); }
};

} // namespace

} // namespace kt5::platform::winmm

namespace kt5::platform {

// The sound service on Windows: the playback rules over PlaySound, which names its streams
// itself; there is nothing to set up.
std::unique_ptr<SoundService> createSoundService(const ProgramIdentity&)
{
    return policy::createPolicedService(std::make_shared<winmm::WinmmOutput>());
}

} // namespace kt5::platform
