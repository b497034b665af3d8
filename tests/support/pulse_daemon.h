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

    // Records what the sink plays, as raw signed 16-bit mono at `sampleRate` in fragments of
    // `latencyMs`, until the returned process is destroyed; it is recording on return.
    std::unique_ptr<ChildProcess> record(const std::filesystem::path& rawFile, int sampleRate,
                                         int latencyMs = 20) const;

    // The server stops answering, its socket still open (SIGSTOP), and goes on (SIGCONT).
    void freeze();
    void thaw();
    // Kills the server; start() brings a new one up on the same socket.
    void kill();
    bool start();

private:
    bool hasClients(const std::string& kind) const;

    TempDir dir_;
    std::filesystem::path socket_;
    std::vector<std::string> env_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> clock_;
    bool ready_ = false;
};

} // namespace kt5::test
