#include "os/command_line.h"

#include "platform/native_string.h"

#include <windows.h>

#include <memory>
#include <shellapi.h>

namespace kt5::platform::os {

std::vector<std::string> utf8Arguments(int, char*[])
{
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    const auto free = [](LPWSTR* arguments) { LocalFree(arguments); };
    const std::unique_ptr<LPWSTR, decltype(free)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), free);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(utf8FromNative(wide.get()[i]));
    return arguments;
}

std::filesystem::path pathFromArgument(std::string_view argument)
{
    return std::u8string(argument.begin(), argument.end());
}

std::string argumentFromPath(const std::filesystem::path& path)
{
    return utf8FromNative(path.native());
}

} // namespace kt5::platform::os
