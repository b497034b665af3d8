#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kt5::tones {

// The index of a button of the Command1 array, which is also the number of its command.
using CommandIndex = std::int16_t;

inline constexpr CommandIndex kFirstCommand = 0;
inline constexpr CommandIndex kLastCommand = 10;

// The tone file that holds the DTMF sequence of a command: "00.wav" for 0 ... "10.wav" for 10.
// Empty for an index outside the table.
std::optional<std::string_view> toneFileFor(CommandIndex index);

} // namespace kt5::tones
