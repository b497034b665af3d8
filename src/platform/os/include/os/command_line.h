#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kt5::platform::os {

// A command-line program's arguments as UTF-8. Windows hands main() its arguments in the
// ANSI code page, where a folder named outside it arrives as question marks, so there they
// are read again from the UTF-16 command line, and the console is told that output is UTF-8
// too. Elsewhere they are the bytes they were given.
std::vector<std::string> utf8Arguments(int argc, char* argv[]);

// A path from an argument, and a path for a message, both in the arguments' encoding.
std::filesystem::path pathFromArgument(std::string_view argument);
std::string argumentFromPath(const std::filesystem::path& path);

} // namespace kt5::platform::os
