#pragma once

#include <utility>
#include <vector>

namespace kt5::tools {

// A sound as it is measured: its channels averaged.
struct Sound {
    int rate = 0;
    std::vector<float> mono;
};

// A DTMF key's tone: where it begins and ends, in milliseconds, and the level of each of its
// two sines, in dBFS.
struct Tone {
    char key;
    double startMs;
    double endMs;
    double lowDbfs;
    double highDbfs;
};

// Where a tone a receiver reported really begins and ends: the points at half its full
// amplitude, looked for between the tones around it (a receiver reports both edges late); and
// the level of each of its sines over its steady middle.
Tone measure(const Sound& sound, const Tone& heard, double notBeforeMs, double notAfterMs);

// How much of the sound's start is digital silence, and of its end, in milliseconds.
std::pair<double, double> silentEnds(const Sound& sound);

} // namespace kt5::tools
