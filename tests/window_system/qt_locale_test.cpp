// What the Qt backend does around Qt: the locale it hands Qt (only the character types become
// UTF-8, where the system can), Qt's messages as the program's lines, the faces it measures.
#include "qt/qt_locale.h"
#include "qt/qt_messages.h"
#include "qt/qt_style.h"

#include <QApplication>
#include <QLoggingCategory>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace kt5::test {
namespace {

using Variables = std::map<std::string, std::string>;

struct LocaleCase {
    std::string name;
    Variables given;
    std::set<std::string> system; // the locales the system has
    Variables expected;
};

const std::set<std::string> kSystem{"C", "C.UTF-8", "de_DE.UTF-8", "de_DE.ISO-8859-1",
                                    "en_GB.UTF-8"};

using ChosenLocale = testing::TestWithParam<LocaleCase>;

TEST_P(ChosenLocale, IsUtf8InItsCharacterTypesAloneWhereTheSystemHasSuchALocale)
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LC_TIME", "LC_MESSAGES", "LANG"})
        ::unsetenv(name);
    for (const auto& [name, value] : GetParam().given)
        ::setenv(name.c_str(), value.c_str(), 1);
    platform::qt::chooseUtf8CharacterTypes([](const std::string& locale, int) {
        if (!GetParam().system.contains(locale))
            return "";
        return locale.ends_with(".UTF-8") ? "UTF-8" : "ISO-8859-1";
    });
    for (const auto& [name, value] : GetParam().expected)
        EXPECT_EQ(std::getenv(name.c_str()) ? std::getenv(name.c_str()) : "-", value) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Environments, ChosenLocale,
    testing::Values(
        LocaleCase{"NoneAtAll", {}, kSystem, {{"LC_CTYPE", "C.UTF-8"}, {"LC_TIME", "C"}}},
        // LC_ALL outranks a category's own variable, and goes once each category has it.
        LocaleCase{"AllOverOneCategory",
                   {{"LC_ALL", "de_DE.ISO-8859-1"}, {"LC_TIME", "en_GB.UTF-8"}},
                   kSystem,
                   {{"LC_ALL", "-"}, {"LC_CTYPE", "de_DE.UTF-8"}, {"LC_TIME", "de_DE.ISO-8859-1"}}},
        // A locale the system lacks is C, as the C library makes it.
        LocaleCase{"OneTheSystemLacks",
                   {{"LANG", "xx_XX.UTF-8"}},
                   kSystem,
                   {{"LC_CTYPE", "C.UTF-8"}, {"LC_MESSAGES", "C"}}},
        // Without a UTF-8 locale, left as it was, not made one the C library would refuse.
        LocaleCase{"NoUtf8LocaleOnTheSystem",
                   {{"LC_ALL", "de_DE.ISO-8859-1"}},
                   {"C", "de_DE.ISO-8859-1"},
                   {{"LC_ALL", "de_DE.ISO-8859-1"}, {"LC_CTYPE", "-"}}}),
    [](const auto& row) { return row.param.name; });

// Qt's warnings as the program's lines, but for the accessibility bridge's notes on calls it
// does not answer, where nothing failed; faces and locales found where installed, and only there.
TEST(QtBackend, SaysQtsWarningsAsTheProgramAndFindsInstalledFacesAndLocalesOnly)
{
    EXPECT_EQ(platform::qt::systemLocaleEncoding("C.UTF-8", LC_CTYPE_MASK), "UTF-8");
    EXPECT_EQ(platform::qt::systemLocaleEncoding("xx_XX.UTF-8", LC_CTYPE_MASK), "");
    platform::qt::sayQtMessagesAsTheProgram();
    const QLoggingCategory bridge("qt.accessibility.atspi"), fonts("qt.qpa.fonts");
    testing::internal::CaptureStderr();
    qCWarning(bridge, "Could not find GetApplicationBusAddress");
    qCWarning(fonts, "no font for the display");
    qWarning("The Wayland connection broke.");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kt5_dtmf: the display: no font for the display\n"
              "kt5_dtmf: the Wayland compositor: The Wayland connection broke.\n");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qt_locale_test";
    char* argv[] = {name, nullptr};
    const QApplication app(argc, argv);
    EXPECT_GT(platform::qt::qtStemWidth({.face = "DejaVu Sans", .points = 72}).value_or(0), 0);
    EXPECT_FALSE(platform::qt::qtStemWidth({.face = "No Such Face", .points = 72}).has_value());
}

} // namespace
} // namespace kt5::test
