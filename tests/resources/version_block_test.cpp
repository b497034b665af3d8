// What kt5_dtmf.exe carries about itself, read back the way Windows reads it: the version
// block through the version API, the icon group from its resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kt5::test {
namespace {

const std::wstring kExecutable = KT5_EXE;

TEST(BuiltExecutable, VersionBlockCarriesTheProductAndItsVersion)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(kExecutable.c_str(), &ignored));
    ASSERT_FALSE(block.empty()) << "no version block";
    ASSERT_TRUE(GetFileVersionInfoW(kExecutable.c_str(), 0, static_cast<DWORD>(block.size()),
                                    block.data()));
    const auto value = [&](const std::wstring& path) -> std::wstring {
        void* data = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), path.c_str(), &data, &length) || length == 0)
            return L"(missing)";
        return static_cast<const wchar_t*>(data);
    };

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010008u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000002u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010008u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);

    const std::wstring table = L"\\StringFileInfo\\040904B0\\";
    EXPECT_EQ(value(table + L"FileVersion"), L"1.08.0002");
    EXPECT_EQ(value(table + L"ProductVersion"), L"1.08.0002");
    EXPECT_EQ(value(table + L"ProductName"), L"HALVORN DTMF Dialer");
    EXPECT_EQ(value(table + L"InternalName"), L"kt5_dtmf");
    EXPECT_EQ(value(table + L"OriginalFilename"), L"kt5_dtmf.exe");
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST(BuiltExecutable, IconGroupHoldsOne32By32SixteenColourImage)
{
    HMODULE module = LoadLibraryExW(kExecutable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceW(module, L"KT5_DTMF", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const IconGroup*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 32);
    EXPECT_EQ(group->entries[0].height, 32);
    EXPECT_EQ(group->entries[0].colours, 16);
    EXPECT_EQ(group->entries[0].bitCount, 4);
    FreeLibrary(module);
}

} // namespace
} // namespace kt5::test
