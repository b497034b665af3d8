#include "tones/play_wave_file.h"

namespace kt5::tones {

bool PlayWaveFile(platform::SoundService& sound, const platform::NativeString& path)
{
    return sound.playFileSync(path);
}

} // namespace kt5::tones
