#include "support/dtmf_decoder.h"

#include <cstdio>
#include <memory>

namespace kt5::test {

namespace {

std::string keysFromPipeline(const std::string& soxInput)
{
    // multimon-ng wants 22050 Hz signed 16-bit mono; sox converts whatever it is given.
    const std::string command = "sox " + soxInput +
                                " -t raw -r 22050 -e signed-integer -b 16 -c 1 - 2>/dev/null"
                                " | multimon-ng -q -t raw -a DTMF - 2>/dev/null";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string output;
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()))
        output += buffer;
    std::string keys;
    for (std::size_t at = 0; (at = output.find("DTMF: ", at)) != std::string::npos; at += 6)
        keys += output[at + 6];
    return keys;
}

} // namespace

std::string dtmfKeysIn(const std::filesystem::path& soundFile)
{
    return keysFromPipeline("'" + soundFile.string() + "'");
}

std::string dtmfKeysInRaw(const std::filesystem::path& rawFile, int sampleRate)
{
    return keysFromPipeline("-t raw -r " + std::to_string(sampleRate) +
                            " -e signed-integer -b 16 -c 1 '" + rawFile.string() + "'");
}

} // namespace kt5::test
