#pragma once

#include <filesystem>

namespace kt5::test {

// Watches the default sound output for as long as it lives. On Linux, ALSA's default device
// is redirected into a capture file; what it heard is what reached that. On Windows, a file
// the checks refuse never reaches PlaySound, whose own refusals carry another reason, so
// nothing can have sounded: there is nothing to watch.
class OutputWatch {
public:
    OutputWatch();
    ~OutputWatch();
    OutputWatch(const OutputWatch&) = delete;
    OutputWatch& operator=(const OutputWatch&) = delete;

    bool heardAnything() const;

private:
    std::filesystem::path home_;
};

} // namespace kt5::test
