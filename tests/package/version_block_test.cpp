// What kt5_dtmf.exe, kt5_tones.exe and the installer say about themselves, read back as
// Windows' file properties read it: the version blocks, through the version API.
#include <windows.h>

#include <gtest/gtest.h>

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

// The fixed block's file and product versions, as versionValue() gives them.
std::wstring fixedVersions()
{
    const std::wstring one = std::to_wstring(KT5_VERSION_MAJOR << 16 | KT5_VERSION_MINOR) + L"." +
                             std::to_wstring(KT5_VERSION_PATCH << 16 | KT5_VERSION_TWEAK);
    return one + L" " + one;
}

TEST(BuiltExecutables, VersionBlocksCarryTheProductItsVersionAndEachFilesOwnName)
{
    const std::wstring strings = L"\\StringFileInfo\\040904B0\\"; // US English, Unicode
    const std::wstring dtmf = KT5_RUNTIME_DIR L"/kt5_dtmf.exe";
    const std::wstring tones = KT5_RUNTIME_DIR L"/kt5_tones.exe";
    for (const std::wstring& file : {dtmf, tones, std::wstring(KT5_INSTALLER)}) {
        EXPECT_EQ(versionValue(file.c_str(), L"\\"), fixedVersions()) << file;
        EXPECT_EQ(versionValue(file.c_str(), strings + L"ProductName"), KT5_PRODUCT_NAME) << file;
        EXPECT_EQ(versionValue(file.c_str(), strings + L"ProductVersion"), KT5_FILE_VERSION);
        EXPECT_EQ(versionValue(file.c_str(), strings + L"FileVersion"), KT5_FILE_VERSION);
    }
    for (const std::wstring name : {L"kt5_dtmf", L"kt5_tones"}) {
        const std::wstring file = KT5_RUNTIME_DIR L"/" + name + L".exe";
        EXPECT_EQ(versionValue(file.c_str(), strings + L"InternalName"), name);
        EXPECT_EQ(versionValue(file.c_str(), strings + L"OriginalFilename"), name + L".exe");
    }
    EXPECT_NE(versionValue(dtmf.c_str(), strings + L"FileDescription"),
              versionValue(tones.c_str(), strings + L"FileDescription"));
}

} // namespace
} // namespace kt5::test
