#pragma once

#include "support/child_process.h"
#include "support/files.h"

#include <alsa/asoundlib.h>

#include <memory>

namespace kt5::test {

// Points this process's ALSA "default" PCM at `pcm` (a pcm.!default body) from now on, with
// an .asoundrc in a home of its own.
inline void redirectAlsaDefault(const std::filesystem::path& home, const std::string& pcm)
{
    std::ofstream(home / ".asoundrc") << "pcm.!default {\n" << pcm << "\n}\n";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    snd_config_update_free_global(); // ALSA caches its configuration per process
}

// pcm.!default bodies: into a WAV file (the `file` plugin over `null`), or to a PulseAudio server.
inline std::string alsaToWaveFile(const std::filesystem::path& capture)
{
    return "type file\nslave.pcm \"null\"\nfile \"" + capture.string() + "\"\nformat \"wav\"";
}

inline std::string alsaToPulseServer(const std::filesystem::path& socket)
{
    return "type pulse\nserver \"unix:" + socket.string() + "\"";
}

// A private PulseAudio server with one null sink, clocked in real time like a sound card, that
// keeps all it has in a temporary directory: nothing of the machine's sound setup is touched.
class PulseDaemon {
public:
    PulseDaemon()
    {
        std::ofstream(dir_ / "default.pa")
            << "load-module module-null-sink sink_name=kt5_null rate=48000 channels=2\n"
            << "load-module module-native-protocol-unix socket=" << socket_.string()
            << " auth-anonymous=1\nset-default-sink kt5_null\n";
        const std::string home = dir_.path().string();
        env_ = {"PATH=/usr/bin:/bin", "HOME=" + home, "XDG_RUNTIME_DIR=" + home,
                "PULSE_STATE_PATH=" + home, "PULSE_SERVER=unix:" + socket_.string()};
        start();
    }

    const std::filesystem::path& socket() const { return socket_; }
    bool ready() const { return ready_; }

    // Brings a server up on the socket: at construction, and again after kill().
    bool start()
    {
        clock_.reset();
        server_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
                                     "-F", (dir_ / "default.pa").string(), "--use-pid-file=no"},
            env_);
        // An idle null sink renders in 2 s blocks, and every stream that joins waits for the
        // current block to end. A silent stream asking for 10 ms keeps it ticking in short
        // blocks, as a real card's clock would.
        clock_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"sh", "-c",
                                     "until pactl info >/dev/null 2>&1; do sleep 0.02; done; "
                                     "exec pacat --latency-msec=10 --raw /dev/zero"},
            env_);
        ready_ = waitUntil([this] { return hasClients("sink-inputs"); }, std::chrono::seconds(10));
        return ready_;
    }

    // Records what the sink plays, as raw signed 16-bit mono at `sampleRate` in fragments of
    // `latencyMs`, until the returned process goes; it is recording on return.
    std::unique_ptr<ChildProcess> record(const std::filesystem::path& rawFile, int sampleRate,
                                         int latencyMs = 20) const
    {
        auto recorder = std::make_unique<ChildProcess>(
            std::vector<std::string>{"parec", "--device=kt5_null.monitor", "--raw",
                                     "--rate=" + std::to_string(sampleRate), "--channels=1",
                                     "--latency-msec=" + std::to_string(latencyMs)},
            env_, rawFile.string(), "/dev/null");
        waitUntil([this] { return hasClients("source-outputs"); }, std::chrono::seconds(10));
        return recorder;
    }

    // The server stops answering with its socket still open, and goes on; or it dies.
    void freeze() { ::kill(server_->pid(), SIGSTOP); }
    void thaw() { ::kill(server_->pid(), SIGCONT); }
    void kill()
    {
        ::kill(server_->pid(), SIGKILL);
        server_->waitFor(5000);
        std::filesystem::remove(socket_);
    }

private:
    bool hasClients(const std::string& kind) const
    {
        return !outputOf({"pactl", "list", "short", kind}, env_).empty();
    }

    TempDir dir_;
    std::filesystem::path socket_ = dir_ / "native";
    std::vector<std::string> env_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> clock_; // stops before the server
    bool ready_ = false;
};

} // namespace kt5::test
