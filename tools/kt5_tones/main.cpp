// kt5_tones: makes the tone files of the KT-5 dialer's remote-control commands, and checks
// what tone files hold.
//
//   kt5_tones make [--tone-ms N] [--gap-ms N] [--level-dbfs X] [--rate HZ] [--lead-ms N]
//                  [--tail-ms N] DIR
//   kt5_tones check [--loss-ms N] FILE...
#include "os/command_line.h"
#include "product/product.h"
#include "tone_check.h"
#include "tone_synthesis.h"
#include "tones/dtmf.h"
#include "tones/tone_command_table.h"
#include "wave_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kt5::tools::ToneSettings;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printHelp(std::ostream& out)
{
    const ToneSettings defaults;
    const auto ms = [](int value) { return std::to_string(value); };
    out << "usage: kt5_tones make [--tone-ms N] [--gap-ms N] [--level-dbfs X] [--rate HZ]\n"
           "                      [--lead-ms N] [--tail-ms N] DIR\n"
           "       kt5_tones check [--loss-ms N] FILE...\n"
           "\n"
           "make   writes 00.wav to 10.wav into DIR, which must exist: each file the DTMF\n"
           "       keys of its remote-control command, *00# to *10#. Each file is written\n"
           "       whole, through a temporary file in DIR, or left as it was.\n"
        << "         --tone-ms N       length of each key's tone (default " << ms(defaults.toneMs)
        << ";\n                           from " << ms(kt5::tones::kShortestToneMs) << " to "
        << ms(kt5::tools::kLongestMs) << ")\n"
        << "         --gap-ms N        silence after each key (default " << ms(defaults.gapMs)
        << "; from " << ms(kt5::tones::kShortestToneMs) << " to " << ms(kt5::tools::kLongestMs)
        << ")\n"
        << "         --level-dbfs X    level of each of a key's two tones (default "
        << defaults.levelDbfs << ";\n"
        << "                           from " << kt5::tones::kQuietestDbfs
        << " to where the two together reach full scale)\n"
        << "         --rate HZ         sample rate (default " << defaults.rate << "; from "
        << kt5::tools::kLowestRate << " to " << kt5::tools::kHighestRate << ")\n"
        << "         --lead-ms N       digital silence before the first key, for an output or\n"
           "                           a transmitter that loses the start of a sound (default "
        << ms(defaults.leadMs) << ";\n                           at most "
        << ms(kt5::tools::kLongestMs)
        << ")\n"
           "         --tail-ms N       digital silence after the last key's tone, instead of\n"
           "                           its gap (at most "
        << ms(kt5::tools::kLongestMs)
        << ")\n"
           "check  says of each FILE the keys it holds, each tone's length, the gap after it\n"
           "       and the levels of its two tones, its lead-in and tail of digital silence,\n"
           "       and whether a standard DTMF receiver takes it; fails for a file that is\n"
           "       not a sound, holds no DTMF or would not be taken.\n"
           "         --loss-ms N       also fails if an output that loses the first N ms\n"
           "                           would leave the first key too short\n";
    if (!kt5::tools::canCheck())
        out << "       (not available in this build, which has no DTMF receiver)\n";
    out << "\n--help says this, --version which version this is.\n"
           "Exit status: 0 done, 1 failed, 2 usage error or a value refused.\n";
}

int usageError(const std::string& message)
{
    std::cerr << "kt5_tones: " << message << "\nTry 'kt5_tones --help'.\n";
    return kUsage;
}

template <class Number>
std::optional<Number> parse(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int make(const std::vector<std::string_view>& arguments)
{
    ToneSettings settings;
    std::optional<std::filesystem::path> directory;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        const auto number = [&]<class Number>(Number& field) {
            const auto value =
                i + 1 < arguments.size() ? parse<Number>(arguments[++i]) : std::nullopt;
            if (value)
                field = *value;
            return value.has_value();
        };
        bool understood = true;
        if (option == "--tone-ms")
            understood = number(settings.toneMs);
        else if (option == "--gap-ms")
            understood = number(settings.gapMs);
        else if (option == "--level-dbfs")
            understood = number(settings.levelDbfs);
        else if (option == "--rate")
            understood = number(settings.rate);
        else if (option == "--lead-ms")
            understood = number(settings.leadMs);
        else if (option == "--tail-ms")
            understood = number(settings.tailMs.emplace());
        else if (!option.starts_with("--") && !directory)
            directory = kt5::platform::os::pathFromArgument(option);
        else
            return usageError("make: unexpected " + std::string(option));
        if (!understood)
            return usageError("make: " + std::string(option) + " wants a number");
    }
    if (!directory)
        return usageError("make: which directory?");
    if (const auto why = kt5::tools::refusal(settings))
        return usageError("make: " + *why);
    if (!std::filesystem::is_directory(*directory)) {
        std::cerr << "kt5_tones: make: " << kt5::platform::os::argumentFromPath(*directory)
                  << " is not a directory\n";
        return kFailed;
    }
    // A set whose files are links lives where they lead (the package keeps its set in /etc,
    // where upgrades respect it); replacing the links would leave it behind unchanged.
    for (const auto& command : kt5::tones::kToneCommandTable) {
        const auto file = *directory / command.file;
        if (std::filesystem::is_symlink(file)) {
            std::error_code ignored;
            const auto target = std::filesystem::canonical(file, ignored);
            std::cerr << "kt5_tones: make: " << kt5::platform::os::argumentFromPath(file)
                      << " is a link to "
                      << kt5::platform::os::argumentFromPath(
                             target.empty() ? std::filesystem::read_symlink(file, ignored) : target)
                      << ": make the set where it leads; nothing was written\n";
            return kFailed;
        }
    }
    for (const auto& command : kt5::tones::kToneCommandTable) {
        const auto samples = kt5::tools::synthesize(command.keys, settings);
        if (const auto error =
                kt5::tools::writeWaveFile(*directory / command.file, samples, settings.rate)) {
            std::cerr << "kt5_tones: make: " << *error << "\n";
            return kFailed;
        }
    }
    return kDone;
}

int check(const std::vector<std::string_view>& arguments)
{
    int lossMs = 0;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--loss-ms") {
            const auto value = i + 1 < arguments.size() ? parse<int>(arguments[++i]) : std::nullopt;
            if (!value || *value < 0)
                return usageError("check: --loss-ms wants a number of milliseconds");
            lossMs = *value;
        } else if (arguments[i].starts_with("--")) {
            return usageError("check: unexpected " + std::string(arguments[i]));
        } else {
            files.emplace_back(arguments[i]);
        }
    }
    if (files.empty())
        return usageError("check: which files?");
    return kt5::tools::checkToneFiles(files, lossMs, std::cout) ? kDone : kFailed;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> utf8 = kt5::platform::os::utf8Arguments(argc, argv);
    const std::vector<std::string_view> arguments(utf8.begin(), utf8.end());
    const auto asksFor = [&](std::string_view option) {
        return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
    };
    if (arguments.empty())
        return usageError("make or check?");
    if (asksFor("--help")) {
        printHelp(std::cout);
        return kDone;
    }
    if (asksFor("--version")) {
        std::cout << "kt5_tones " << kt5::product::kVersion << "\n";
        return kDone;
    }
    const std::vector<std::string_view> rest(arguments.begin() + 1, arguments.end());
    if (arguments.front() == "make")
        return make(rest);
    if (arguments.front() == "check")
        return check(rest);
    return usageError("unknown command " + std::string(arguments.front()));
}
