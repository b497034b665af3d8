#include "tones/tone_command_table.h"

#include <array>

namespace kt5::tones {

namespace {

// Literal names, not formatted from the index: these are the names users' tone files carry.
constexpr std::array<std::string_view, kLastCommand + 1> kToneFiles = {
    "00.wav", "01.wav", "02.wav", "03.wav", "04.wav", "05.wav",
    "06.wav", "07.wav", "08.wav", "09.wav", "10.wav",
};

} // namespace

std::optional<std::string_view> toneFileFor(CommandIndex index)
{
    if (index < kFirstCommand || index > kLastCommand)
        return std::nullopt;
    return kToneFiles[static_cast<std::size_t>(index)];
}

} // namespace kt5::tones
