#include "os/regular_file.h"

#include "os/windows_text.h"

#include <memory>

namespace kt5::platform::os {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

FileContents problem(FileProblem what, std::string detail = {})
{
    return {{}, what, std::move(detail)};
}

FileContents openFailure(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME)
        return problem(FileProblem::Missing);
    return problem(FileProblem::Unreadable, systemErrorText(error));
}

} // namespace

FileContents readRegularFile(const NativeString& path, std::size_t maxBytes)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return openFailure(GetLastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return problem(FileProblem::NotRegular);
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return openFailure(GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK) // a pipe or a device under the name
        return problem(FileProblem::NotRegular);

    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return problem(FileProblem::Unreadable, systemErrorText(GetLastError()));
    if (size.QuadPart == 0)
        return problem(FileProblem::Empty);
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return problem(FileProblem::TooLarge, std::to_string(size.QuadPart) + " bytes");

    FileContents contents{std::vector<std::byte>(static_cast<std::size_t>(size.QuadPart)), {}};
    std::size_t filled = 0;
    while (filled < contents.bytes.size()) {
        DWORD read = 0;
        const auto wanted = static_cast<DWORD>(contents.bytes.size() - filled);
        if (!ReadFile(file.get(), contents.bytes.data() + filled, wanted, &read, nullptr))
            return problem(FileProblem::Unreadable, systemErrorText(GetLastError()));
        if (read == 0)
            return problem(FileProblem::Shrank, "the file shrank while it was read");
        filled += read;
    }
    return contents;
}

} // namespace kt5::platform::os
