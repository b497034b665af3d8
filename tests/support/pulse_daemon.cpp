#include "support/pulse_daemon.h"

#include <csignal>
#include <fstream>

namespace kt5::test {

using std::chrono::seconds;

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
    start();
}

PulseDaemon::~PulseDaemon()
{
    clock_.reset();
    server_.reset();
}

bool PulseDaemon::start()
{
    clock_.reset();
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-F",
                                 (dir_ / "default.pa").string(), "--use-pid-file=no",
                                 "--log-target=stderr"},
        env_, (dir_ / "pulseaudio.log").string());
    ready_ = waitUntil([this] { return !outputOf({"pactl", "info"}, env_).empty(); }, seconds(10));
    if (!ready_)
        return false;
    // An idle null sink renders in 2 s blocks, the longest latency it allows, and every
    // stream that joins then waits for the current block to end. A silent stream asking for
    // 10 ms keeps the sink ticking in short blocks, as a real card's clock would.
    clock_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pacat", "--playback", "--latency-msec=10", "--raw",
                                 "--format=s16le", "--rate=48000", "--channels=2", "/dev/zero"},
        env_);
    ready_ = waitUntil([this] { return hasClients("sink-inputs"); }, seconds(10));
    return ready_;
}

bool PulseDaemon::hasClients(const std::string& kind) const
{
    return !outputOf({"pactl", "list", "short", kind}, env_).empty();
}

std::unique_ptr<ChildProcess> PulseDaemon::record(const std::filesystem::path& rawFile,
                                                  int sampleRate, int latencyMs) const
{
    auto recorder = std::make_unique<ChildProcess>(
        std::vector<std::string>{"parec", "--device=kt5_null.monitor", "--raw", "--format=s16le",
                                 "--rate=" + std::to_string(sampleRate), "--channels=1",
                                 "--latency-msec=" + std::to_string(latencyMs)},
        env_, rawFile.string(), "/dev/null");
    waitUntil([this] { return hasClients("source-outputs"); }, seconds(10));
    return recorder;
}

void PulseDaemon::freeze()
{
    ::kill(server_->pid(), SIGSTOP);
}

void PulseDaemon::thaw()
{
    ::kill(server_->pid(), SIGCONT);
}

void PulseDaemon::kill()
{
    ::kill(server_->pid(), SIGKILL);
    server_->waitFor(5000);
    std::filesystem::remove(socket_);
}

} // namespace kt5::test
