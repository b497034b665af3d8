// What kt5_dtmf.exe and its installer say about themselves, read back as Windows' file
// properties read it: the version blocks, through the version API.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kt5::test {
namespace {

// The value at `path` in the version block of `file`: a string, or for the fixed block ("\")
// its file and product versions. Empty when there is none.
std::wstring versionValue(const wchar_t* file, const std::wstring& path)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(file, &ignored));
    void* data = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !GetFileVersionInfoW(file, 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), path.c_str(), &data, &length) || length == 0)
        return {};
    if (path != L"\\")
        return static_cast<const wchar_t*>(data);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    return std::to_wstring(fixed->dwFileVersionMS) + L"." +
           std::to_wstring(fixed->dwFileVersionLS) + L" " +
           std::to_wstring(fixed->dwProductVersionMS) + L"." +
           std::to_wstring(fixed->dwProductVersionLS);
}

TEST(BuiltExecutables, VersionBlocksCarryTheProductAndItsVersion)
{
    const std::wstring strings = L"\\StringFileInfo\\040904B0\\"; // US English, Unicode
    for (const wchar_t* file : {KT5_EXE, KT5_INSTALLER}) {
        EXPECT_EQ(versionValue(file, L"\\"), L"65544.2 65544.2") << file << ": 1.8.0.2";
        EXPECT_EQ(versionValue(file, strings + L"ProductName"), L"HALVORN DTMF Dialer") << file;
        EXPECT_EQ(versionValue(file, strings + L"ProductVersion"), L"1.08.0002") << file;
        EXPECT_EQ(versionValue(file, strings + L"FileVersion"), L"1.08.0002") << file;
    }
    EXPECT_EQ(versionValue(KT5_EXE, strings + L"InternalName"), L"kt5_dtmf");
    EXPECT_EQ(versionValue(KT5_EXE, strings + L"OriginalFilename"), L"kt5_dtmf.exe");
}

} // namespace
} // namespace kt5::test
