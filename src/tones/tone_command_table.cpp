#include "tones/tone_command_table.h"

namespace kt5::tones {

std::optional<std::string_view> toneFileFor(CommandIndex index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= kToneCommands.size())
        return std::nullopt;
    return kToneCommands[static_cast<std::size_t>(index)].file;
}

} // namespace kt5::tones
