// Checking tone files: spandsp's DTMF receiver, a telephony receiver, says which keys a file
// holds and roughly where; each tone's edges and levels are then measured on the file's own
// samples at the key's two frequencies.
#include "tone_check.h"

#include "tone_file/tone_file.h"
#include "tone_measurement.h"
#include "tones/dtmf.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <samplerate.h>
#include <spandsp.h>
#include <variant>

namespace kt5::tools {

using tones::kLoudestDbfs;
using tones::kQuietestDbfs;
using tones::kShortestToneMs;

namespace {

constexpr int kReceiverRate = 8000;       // what the receiver takes
constexpr double kMeasuredToMs = 1;       // how closely a length is measured
constexpr double kMostTwistDb = 4;        // the high tone louder than the low one
constexpr double kMostReverseTwistDb = 8; // the low tone louder than the high one

// Why the dialer would refuse a file, in its own words.
std::string refusal(const platform::PlaybackFailure& failure)
{
    std::string why = "not a tone file: " + std::string(describe(failure.error));
    return failure.detail.empty() ? why : why + " (" + failure.detail + ")";
}

// The file as the dialer takes it: checked as it checks every tone file, its length included,
// then decoded; a file it would refuse is refused here for the same reason.
std::variant<Sound, std::string> readSound(const std::string& path)
{
    if (auto checked = platform::readToneFile(path); !checked)
        return refusal(checked.failure());
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, decltype(&sf_close)> file(sf_open(path.c_str(), SFM_READ, &info),
                                                             &sf_close);
    if (!file)
        return std::string("not a sound: ") + sf_strerror(nullptr);
    if (info.frames <= 0 || info.channels <= 0)
        return std::string("not a sound: no audio in it");
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t read = sf_readf_float(file.get(), frames.data(), info.frames);
    // What the decoder yields, which is what the dialer plays, whatever the header claims.
    if (auto tooLong = platform::longerThanATone(static_cast<std::uint64_t>(read),
                                                 static_cast<std::uint32_t>(info.samplerate)))
        return refusal(*tooLong);
    Sound sound{info.samplerate, {}};
    for (sf_count_t f = 0; f < read; ++f) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c)
            sum += frames[static_cast<std::size_t>(f * info.channels + c)];
        sound.mono.push_back(sum / static_cast<float>(info.channels));
    }
    return sound;
}

std::vector<std::int16_t> forReceiver(const Sound& sound)
{
    std::vector<float> in = sound.mono;
    std::vector<float> out = in;
    if (sound.rate != kReceiverRate) {
        const double ratio = double(kReceiverRate) / sound.rate;
        out.resize(static_cast<std::size_t>(double(in.size()) * ratio) + 16);
        SRC_DATA data{};
        data.data_in = in.data();
        data.input_frames = static_cast<long>(in.size());
        data.data_out = out.data();
        data.output_frames = static_cast<long>(out.size());
        data.src_ratio = ratio;
        if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0)
            return {};
        out.resize(static_cast<std::size_t>(data.output_frames_gen));
    }
    std::vector<std::int16_t> samples;
    for (const float s : out)
        samples.push_back(static_cast<std::int16_t>(std::clamp(s * 32767.0f, -32768.0f, 32767.0f)));
    return samples;
}

// The keys the receiver reports, with where it found each, in milliseconds.
std::vector<Tone> receive(const std::vector<std::int16_t>& samples)
{
    struct Report {
        std::vector<Tone> tones;
        std::size_t at = 0;
    } report;
    dtmf_rx_state_t* receiver = dtmf_rx_init(nullptr, nullptr, nullptr);
    dtmf_rx_set_realtime_callback(
        receiver,
        [](void* user, int code, int, int) {
            auto& r = *static_cast<Report*>(user);
            const double ms = 1000.0 * double(r.at) / kReceiverRate;
            if (code != 0)
                r.tones.push_back({static_cast<char>(code), ms, -1, 0, 0});
            else if (!r.tones.empty() && r.tones.back().endMs < 0)
                r.tones.back().endMs = ms;
        },
        &report);
    std::vector<std::int16_t> padded = samples; // silence after, to hear the last tone end
    padded.resize(samples.size() + kReceiverRate / 10, 0);
    constexpr std::size_t kBlock = 40;
    for (; report.at < padded.size(); report.at += kBlock)
        dtmf_rx(receiver, padded.data() + report.at,
                static_cast<int>(std::min(kBlock, padded.size() - report.at)));
    dtmf_rx_free(receiver);
    return report.tones;
}

// Why a standard receiver would not take the tones, or nothing when it would.
std::string objection(const std::vector<Tone>& tones)
{
    char text[160];
    for (std::size_t i = 0; i < tones.size(); ++i) {
        const Tone& t = tones[i];
        const double twist = t.highDbfs - t.lowDbfs;
        if (t.endMs - t.startMs < kShortestToneMs - kMeasuredToMs)
            std::snprintf(text, sizeof text, "the tone of %c lasts %.0f ms, under %d ms", t.key,
                          t.endMs - t.startMs, kShortestToneMs);
        else if (i + 1 < tones.size() &&
                 tones[i + 1].startMs - t.endMs < kShortestToneMs - kMeasuredToMs)
            std::snprintf(text, sizeof text, "the pause after %c lasts %.0f ms, under %d ms", t.key,
                          tones[i + 1].startMs - t.endMs, kShortestToneMs);
        else if (std::max(t.lowDbfs, t.highDbfs) > kLoudestDbfs)
            std::snprintf(text, sizeof text, "%c is louder than %.0f dBFS per tone", t.key,
                          kLoudestDbfs);
        else if (std::min(t.lowDbfs, t.highDbfs) < kQuietestDbfs)
            std::snprintf(text, sizeof text, "%c is quieter than %.0f dBFS per tone", t.key,
                          kQuietestDbfs);
        else if (twist > kMostTwistDb || -twist > kMostReverseTwistDb)
            std::snprintf(text, sizeof text, "the two tones of %c differ by %.1f dB", t.key, twist);
        else
            continue;
        return text;
    }
    return {};
}

// What is left of the first tone when an output loses the first `lossMs` of the sound.
double firstToneAfterLoss(const Tone& first, int lossMs)
{
    return std::max(0.0, first.endMs - std::max(first.startMs, double(lossMs)));
}

bool checkOne(const std::string& path, int lossMs, std::ostream& out)
{
    auto read = readSound(path);
    if (auto* why = std::get_if<std::string>(&read)) {
        out << path << ": " << *why << "\n";
        return false;
    }
    const Sound& sound = std::get<Sound>(read);
    const std::vector<Tone> heard = receive(forReceiver(sound));
    if (heard.empty()) {
        out << path << ": no DTMF tones in it\n";
        return false;
    }
    const double lengthMs = 1000.0 * double(sound.mono.size()) / sound.rate;
    std::vector<Tone> tones;
    for (std::size_t i = 0; i < heard.size(); ++i)
        tones.push_back(measure(sound, heard[i], i > 0 ? heard[i - 1].endMs : 0,
                                i + 1 < heard.size() ? heard[i + 1].startMs : lengthMs));
    std::string keys;
    for (const Tone& t : tones)
        keys += t.key;
    out << path << ": " << keys << "\n";
    char line[160];
    for (std::size_t i = 0; i < tones.size(); ++i) {
        const Tone& t = tones[i];
        const double next = i + 1 < tones.size() ? tones[i + 1].startMs : lengthMs;
        std::snprintf(line, sizeof line,
                      "  %c  tone %6.1f ms  gap %6.1f ms  level %5.1f / %5.1f dBFS\n", t.key,
                      t.endMs - t.startMs, next - t.endMs, t.lowDbfs, t.highDbfs);
        out << line;
    }
    const auto [leadMs, tailMs] = silentEnds(sound);
    const Tone& first = tones.front();
    const double survives = first.endMs - (kShortestToneMs - kMeasuredToMs);
    std::snprintf(line, sizeof line,
                  "  lead-in %.0f ms, tail %.0f ms; the first key outlasts the loss of up to %.0f "
                  "ms of the start\n",
                  leadMs, tailMs, std::max(0.0, survives));
    out << line;

    std::string why = objection(tones);
    if (why.empty() && firstToneAfterLoss(first, lossMs) < kShortestToneMs - kMeasuredToMs) {
        std::snprintf(line, sizeof line,
                      "after the loss of the first %d ms, the tone of %c lasts %.0f ms, under %d "
                      "ms (make the set with a lead-in)",
                      lossMs, first.key, firstToneAfterLoss(first, lossMs), kShortestToneMs);
        why = line;
    }
    out << (why.empty() ? "  a standard DTMF receiver takes it\n"
                        : "  a standard DTMF receiver would not take it: " + why + "\n");
    return why.empty();
}

} // namespace

bool canCheck()
{
    return true;
}

bool checkToneFiles(const std::vector<std::string>& files, int lossMs, std::ostream& out)
{
    bool allGood = true;
    for (const std::string& file : files)
        allGood = checkOne(file, lossMs, out) && allGood;
    return allGood;
}

} // namespace kt5::tools
