#include "os/command_line.h"

namespace kt5::platform::os {

std::vector<std::string> utf8Arguments(int argc, char* argv[])
{
    return {argv + 1, argv + argc};
}

std::filesystem::path pathFromArgument(std::string_view argument)
{
    return argument;
}

std::string argumentFromPath(const std::filesystem::path& path)
{
    return path.native();
}

} // namespace kt5::platform::os
