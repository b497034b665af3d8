#include "sound/output_watch.h"
#include "testing/alsa_capture.h"

#include <cstdlib>

namespace kt5::test {

OutputWatch::OutputWatch()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt5-output-XXXXXX").string();
    home_ = ::mkdtemp(pattern.data());
    redirectAlsaDefault(home_, alsaToWaveFile(home_ / "heard.wav"));
}

OutputWatch::~OutputWatch()
{
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

bool OutputWatch::heardAnything() const
{
    return std::filesystem::exists(home_ / "heard.wav");
}

} // namespace kt5::test
