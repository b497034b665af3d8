#include "e2e/e2e_support.h"

#include "support/dtmf_decoder.h"
#include "support/form_geometry.h"
#include "window/form1_description.h"

#include <chrono>
#include <thread>

namespace kt5::test {

std::pair<int, int> centreOfButton(std::int16_t index)
{
    const auto& d = window::form1Description();
    for (const auto& c : d.controls)
        if (c.name == "Command1" && c.index == index) {
            const platform::Rect r = clientRectOf(d, c);
            return {(r.left + r.width / 2) / 15, (r.top + r.height / 2) / 15};
        }
    return {-1, -1};
}

std::string keysRecorded(std::unique_ptr<ChildProcess>& recorder,
                         const std::filesystem::path& rawFile, int sampleRate,
                         const std::string& expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (dtmfKeysInRaw(rawFile, sampleRate).size() < expected.size() &&
           std::chrono::steady_clock::now() < deadline)
        pauseMs(250);
    pauseMs(300);
    recorder.reset();
    return dtmfKeysInRaw(rawFile, sampleRate);
}

std::set<std::filesystem::path> filesUnder(const std::filesystem::path& directory)
{
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory))
        files.insert(entry.path());
    return files;
}

void pauseMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace kt5::test
