#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kt5::tones {

// The index of a button of the Command1 array, which is also the number of its command.
using CommandIndex = std::int16_t;

struct ToneCommand {
    std::string_view file; // beside the program
    std::string_view keys; // the DTMF sequence the file holds, and the button's caption
};

// Literal names, not formatted from the index: these are the names users' tone files carry.
inline constexpr std::array<ToneCommand, 11> kToneCommandTable{{
    {"00.wav", "*00#"},
    {"01.wav", "*01#"},
    {"02.wav", "*02#"},
    {"03.wav", "*03#"},
    {"04.wav", "*04#"},
    {"05.wav", "*05#"},
    {"06.wav", "*06#"},
    {"07.wav", "*07#"},
    {"08.wav", "*08#"},
    {"09.wav", "*09#"},
    {"10.wav", "*10#"},
}};

// The tone file of a command: "00.wav" for 0 ... "10.wav" for 10. Empty for an index outside
// the table.
constexpr std::optional<std::string_view> toneFileFor(CommandIndex index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= kToneCommandTable.size())
        return std::nullopt;
    return kToneCommandTable[static_cast<std::size_t>(index)].file;
}

} // namespace kt5::tones
