#include "os/windows_text.h"

#include "platform/native_string.h"

#include <climits>
#include <optional>

namespace kt5::platform::os {

namespace {

// The system's conversion with `flags`, measured and then made into a buffer of exactly that
// size; nothing when either call refuses or the two disagree.
std::optional<std::wstring> convertedFromUtf8(std::string_view utf8, DWORD flags)
{
    const auto size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, wide.data(), length) != length)
        return std::nullopt;
    return wide;
}

} // namespace

std::wstring wideFromUtf8(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    // Strictly first; text that is not UTF-8 throughout then goes through the lenient
    // conversion, which on every Windows this program runs on (and on Wine) replaces each
    // ill-formed sequence with U+FFFD, where Windows XP dropped it.
    if (auto strict = convertedFromUtf8(utf8, MB_ERR_INVALID_CHARS))
        return std::move(*strict);
    return convertedFromUtf8(utf8, 0).value_or(std::wstring{});
}

std::string systemErrorText(DWORD error)
{
    wchar_t buffer[512]{};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, buffer, 512, nullptr);
    while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r'))
        --length;
    std::string text = utf8FromNative(std::wstring_view(buffer, length));
    return (text.empty() ? "" : text + " ") + "(error " + std::to_string(error) + ")";
}

} // namespace kt5::platform::os
