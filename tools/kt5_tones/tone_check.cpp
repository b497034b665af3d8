// Checking tone files: spandsp's DTMF receiver, a telephony receiver, says which keys a file
// holds and roughly where; each tone's edges and levels are then measured on the file's own
// samples at the key's two frequencies.
#include "tone_check.h"

#include "tones/dtmf.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <numbers>
#include <samplerate.h>
#include <spandsp.h>
#include <variant>

namespace kt5::tools {

using namespace kt5::tones; // the receiver limits and the key frequencies

namespace {

constexpr int kReceiverRate = 8000;       // what the receiver takes
constexpr double kMeasuredToMs = 1;       // how closely a length is measured
constexpr double kMostTwistDb = 4;        // the high tone louder than the low one
constexpr double kMostReverseTwistDb = 8; // the low tone louder than the high one
constexpr double kLongestSeconds = 600;

struct Sound {
    int rate = 0;
    std::vector<float> mono;
};

struct Tone {
    char key;
    double startMs;
    double endMs;
    double lowDbfs;
    double highDbfs;
};

std::variant<Sound, std::string> readSound(const std::string& path)
{
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, decltype(&sf_close)> file(sf_open(path.c_str(), SFM_READ, &info),
                                                             &sf_close);
    if (!file)
        return std::string("not a sound: ") + sf_strerror(nullptr);
    if (info.frames <= 0 || info.channels <= 0)
        return std::string("not a sound: no audio in it");
    if (double(info.frames) > kLongestSeconds * info.samplerate)
        return "longer than " + std::to_string(int(kLongestSeconds / 60)) +
               " minutes, not a tone file";
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t read = sf_readf_float(file.get(), frames.data(), info.frames);
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

// The amplitude of the sine at `hz` in samples [from, from + count), against full scale; the
// file is silent before its start and after its end. Hann-windowed, so that the key's other
// tone and the sine's own image do not leak in.
double amplitudeAt(const Sound& sound, long from, long count, double hz)
{
    double re = 0;
    double im = 0;
    double weights = 0;
    const auto size = static_cast<long>(sound.mono.size());
    for (long i = 0; i < count; ++i) {
        const double weight =
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * (double(i) + 0.5) / double(count));
        weights += weight;
        if (from + i < 0 || from + i >= size)
            continue;
        const double phase = 2 * std::numbers::pi * hz * double(i) / sound.rate;
        const double sample = weight * sound.mono[static_cast<std::size_t>(from + i)];
        re += sample * std::cos(phase);
        im += sample * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / weights;
}

// Where the receiver's tone really begins and ends: the points at half its full amplitude,
// looked for between the tones around it (the receiver reports both edges late). Then the
// level of each of its sines over its steady middle.
Tone measure(const Sound& sound, const Tone& heard, double notBeforeMs, double notAfterMs)
{
    const auto pair = *frequenciesOf(heard.key);
    const auto samples = [&](double ms) { return std::lround(ms * sound.rate / 1000); };
    const long window = samples(20);
    const long hop = std::max(1L, samples(1));
    const long from = samples(std::max(notBeforeMs, heard.startMs - 60)) - window / 2;
    const long to = samples(std::min(notAfterMs, heard.endMs + 10)) + window / 2;
    std::vector<std::pair<long, double>> envelope; // window centre, amplitude of both tones
    for (long at = from; at + window <= to; at += hop)
        envelope.emplace_back(at + window / 2, amplitudeAt(sound, at, window, pair.low) +
                                                   amplitudeAt(sound, at, window, pair.high));
    Tone tone = heard;
    if (envelope.empty())
        return tone;
    const double peak = std::max_element(envelope.begin(), envelope.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->second;
    // Where the envelope crosses half the peak, between the two windows on either side.
    const auto loud = [&](const auto& point) { return point.second >= peak / 2; };
    const auto crossing = [&](const auto& outside, const auto& inside) {
        const double share = (peak / 2 - outside.second) / (inside.second - outside.second);
        return 1000.0 * (double(outside.first) + share * double(inside.first - outside.first)) /
               sound.rate;
    };
    const auto up = std::find_if(envelope.begin(), envelope.end(), loud);
    const auto down = std::find_if(envelope.rbegin(), envelope.rend(), loud);
    const long first = up->first;
    const long last = down->first;
    tone.startMs = up == envelope.begin() ? 1000.0 * double(first) / sound.rate
                                          : crossing(*std::prev(up), *up);
    tone.endMs = down == envelope.rbegin() ? 1000.0 * double(last) / sound.rate
                                           : crossing(*std::prev(down), *down);

    // The steady middle, 10 ms in from each edge, or the whole of a tone too short for that.
    const bool room = last - first > 3 * window;
    const long start = room ? first + window : first;
    const long count = room ? last - first - 2 * window : std::max(window, last - first);
    tone.lowDbfs = 20 * std::log10(amplitudeAt(sound, start, count, pair.low));
    tone.highDbfs = 20 * std::log10(amplitudeAt(sound, start, count, pair.high));
    return tone;
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

// How much of the sound's start is digital silence, and of its end, in milliseconds.
std::pair<double, double> silentEnds(const Sound& sound)
{
    const auto isSound = [](float sample) { return sample != 0.0f; };
    const auto first = std::find_if(sound.mono.begin(), sound.mono.end(), isSound);
    const auto last = std::find_if(sound.mono.rbegin(), sound.mono.rend(), isSound);
    const auto ms = [&](auto samples) { return 1000.0 * double(samples) / sound.rate; };
    return {ms(first - sound.mono.begin()), ms(last - sound.mono.rbegin())};
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
