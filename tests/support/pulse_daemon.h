#pragma once

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kt5::test {

// A private PulseAudio server with one null sink as its default, clocked in real time like a
// sound card. Everything it keeps lies in its own temporary directory; nothing of the
// machine's or the user's sound setup is touched.
class PulseDaemon {
public:
    PulseDaemon();
    ~PulseDaemon();

    const std::filesystem::path& socket() const { return socket_; }
    bool ready() const { return ready_; }

    // Records what the sink plays, as raw signed 16-bit mono at `sampleRate`, until the
    // returned process is destroyed.
    std::unique_ptr<ChildProcess> record(const std::filesystem::path& rawFile,
                                         int sampleRate) const;

private:
    TempDir dir_;
    std::filesystem::path socket_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> clock_;
    std::vector<std::string> env_;
    bool ready_ = false;
};

} // namespace kt5::test
