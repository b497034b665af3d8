#include "support/pulse_daemon.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace kt5::test {

PulseDaemon::PulseDaemon()
    : socket_(dir_ / "native")
{
    std::ofstream(dir_ / "default.pa")
        << "load-module module-null-sink sink_name=kt5_null rate=48000 channels=2\n"
        << "load-module module-native-protocol-unix socket=" << socket_.string()
        << " auth-anonymous=1\n"
        << "set-default-sink kt5_null\n";
    const std::string home = dir_.path().string();
    env_ = {
        "PATH=/usr/bin:/bin",
        "HOME=" + home,
        "XDG_RUNTIME_DIR=" + home,
        "XDG_CONFIG_HOME=" + home + "/config",
        "PULSE_RUNTIME_PATH=" + home + "/runtime",
        "PULSE_STATE_PATH=" + home + "/state",
        "PULSE_SERVER=unix:" + socket_.string(),
    };
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-F",
                                 (dir_ / "default.pa").string(), "--use-pid-file=no",
                                 "--log-target=stderr"},
        env_, (dir_ / "pulseaudio.log").string());

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(socket_) && server_->running() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!std::filesystem::exists(socket_))
        return;

    // An idle null sink renders in 2 s blocks, the longest latency it allows, and every
    // stream that joins then waits for the current block to end. A silent stream asking for
    // 10 ms keeps the sink ticking in short blocks, as a real card's clock would.
    clock_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pacat", "--playback", "--latency-msec=10", "--raw",
                                 "--format=s16le", "--rate=48000", "--channels=2", "/dev/zero"},
        env_);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ready_ = server_->running() && clock_->running();
}

std::unique_ptr<ChildProcess> PulseDaemon::record(const std::filesystem::path& rawFile,
                                                  int sampleRate) const
{
    auto recorder = std::make_unique<ChildProcess>(
        std::vector<std::string>{"parec", "--device=kt5_null.monitor", "--raw", "--format=s16le",
                                 "--rate=" + std::to_string(sampleRate), "--channels=1",
                                 "--latency-msec=20"},
        env_, rawFile.string(), "/dev/null");
    // Until the stream is connected, the sink's sound is not recorded.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return recorder;
}

PulseDaemon::~PulseDaemon()
{
    clock_.reset();
    server_.reset();
}

} // namespace kt5::test
