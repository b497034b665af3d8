// The version block and icon of the built kt5_dtmf.exe, read back from the file with icoutils
// and parsed here, field by field. The Windows build runs it with KT5_WINDOWS_APP_DIR naming
// the directory of kt5_dtmf.exe.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace kt5::test {
namespace {

std::string run(const std::string& command)
{
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string output;
    char buffer[4096];
    std::size_t n = 0;
    while (pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, n);
    return output;
}

std::string exePath()
{
    const char* dir = std::getenv("KT5_WINDOWS_APP_DIR");
    return dir != nullptr ? std::string(dir) + "/kt5_dtmf.exe" : std::string();
}

// A VS_VERSIONINFO block: length, value length, type, UTF-16 key, value, children, each
// aligned to 32 bits.
struct Block {
    std::u16string key;
    std::string value; // raw bytes
    bool text = false;
    std::vector<Block> children;
};

std::uint16_t word(const std::string& data, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                      static_cast<unsigned char>(data[at + 1]) << 8);
}

std::size_t aligned(std::size_t at)
{
    return (at + 3) & ~std::size_t{3};
}

Block parse(const std::string& data, std::size_t at, std::size_t& end)
{
    Block block;
    const std::size_t length = word(data, at);
    const std::size_t valueLength = word(data, at + 2);
    block.text = word(data, at + 4) == 1;
    end = at + length;
    std::size_t p = at + 6;
    while (word(data, p) != 0) {
        block.key += static_cast<char16_t>(word(data, p));
        p += 2;
    }
    p = aligned(p + 2);
    const std::size_t valueBytes = block.text ? valueLength * 2 : valueLength;
    block.value = data.substr(p, valueBytes);
    p = aligned(p + valueBytes);
    while (p + 6 <= end) {
        std::size_t childEnd = 0;
        block.children.push_back(parse(data, p, childEnd));
        p = aligned(childEnd);
    }
    return block;
}

std::string narrow(const std::u16string& text)
{
    return {text.begin(), text.end()}; // the fields are ASCII
}

std::string textOf(const Block& block)
{
    std::string result;
    for (std::size_t i = 0; i + 1 < block.value.size(); i += 2)
        if (const auto c = word(block.value, i); c != 0)
            result += static_cast<char>(c);
    return result;
}

class BuiltExecutable : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(exePath().empty()) << "KT5_WINDOWS_APP_DIR is not set"; }
};

TEST_F(BuiltExecutable, VersionBlockCarriesTheProductAndItsVersion)
{
    const std::string data = run("wrestool -x --raw -t 16 '" + exePath() + "'");
    ASSERT_GT(data.size(), 92u);
    std::size_t end = 0;
    const Block root = parse(data, 0, end);
    EXPECT_EQ(narrow(root.key), "VS_VERSION_INFO");

    ASSERT_EQ(root.value.size(), 52u); // VS_FIXEDFILEINFO
    const auto dword = [&](std::size_t at) {
        return std::uint32_t{word(root.value, at)} | std::uint32_t{word(root.value, at + 2)} << 16;
    };
    EXPECT_EQ(dword(0), 0xFEEF04BDu);
    EXPECT_EQ(dword(8), 0x00010008u) << "file version 1.8";
    EXPECT_EQ(dword(12), 0x00000002u) << "file version .0.2";
    EXPECT_EQ(dword(16), 0x00010008u) << "product version 1.8";
    EXPECT_EQ(dword(20), 0x00000002u) << "product version .0.2";

    std::map<std::string, std::string> strings;
    std::string table;
    for (const Block& info : root.children)
        if (narrow(info.key) == "StringFileInfo")
            for (const Block& t : info.children) {
                table = narrow(t.key);
                for (const Block& field : t.children)
                    strings[narrow(field.key)] = textOf(field);
            }
    EXPECT_EQ(table, "040904B0");
    EXPECT_EQ(strings["FileVersion"], "1.08.0002");
    EXPECT_EQ(strings["ProductVersion"], "1.08.0002");
    EXPECT_EQ(strings["ProductName"], "HALVORN DTMF Dialer");
    EXPECT_EQ(strings["InternalName"], "kt5_dtmf");
    EXPECT_EQ(strings["OriginalFilename"], "kt5_dtmf.exe");
}

TEST_F(BuiltExecutable, IconGroupHoldsOne32By32SixteenColourImage)
{
    const std::string listing =
        run("wrestool -x -t 14 '" + exePath() + "' 2>/dev/null | icotool -l - 2>&1");
    EXPECT_EQ(listing, "--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16\n");
}

} // namespace
} // namespace kt5::test
