#pragma once

#include "support/child_process.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace kt5::test {

// The centre of button `index` in the client area, in pixels at 96 DPI, from the window's own
// description.
std::pair<int, int> centreOfButton(std::int16_t index);

// What a recorder captured, as DTMF keys, once at least as many keys as `expected` holds have
// been heard (the recorder delivers in blocks of a second or two), or after ten seconds. The
// recorder is stopped.
std::string keysRecorded(std::unique_ptr<ChildProcess>& recorder,
                         const std::filesystem::path& rawFile, int sampleRate,
                         const std::string& expected);

std::set<std::filesystem::path> filesUnder(const std::filesystem::path& directory);

void pauseMs(int milliseconds);

} // namespace kt5::test
