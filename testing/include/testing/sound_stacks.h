#pragma once

#include "testing/child_process.h"
#include "testing/files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <alsa/asoundlib.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kt5::test {

// The sound stacks a Linux desktop runs behind ALSA's "default" device.
enum class Stack {
    AlsaOnly,      // no sound server: the file plugin over null, appending to a raw capture
    PulseAudio,    // the pulse ALSA plugin to PulseAudio
    PipeWireAlsa,  // PipeWire's own ALSA plugin to PipeWire
    PipeWirePulse, // the pulse ALSA plugin to PipeWire's pipewire-pulse
};

inline std::string nameOf(Stack stack)
{
    constexpr const char* kNames[] = {"AlsaOnly", "PulseAudio", "PipeWireAlsa", "PipeWirePulse"};
    return kNames[static_cast<int>(stack)];
}

// What this machine lacks to run a stack, or nothing: a test skips a stack it cannot run.
inline std::string lackedFor(Stack stack)
{
    if (stack == Stack::PipeWireAlsa && std::string_view(KT5_UNPACKED_SERVERS).empty())
        return "PipeWire's ALSA plugin is not unpacked (scripts/install-deps --tests unpacks it)";
    return {};
}

// One of those stacks, private to one test, run by testing/sound-stack as a desktop runs it;
// none where the machine lacks what it needs.
class SoundStack {
public:
    explicit SoundStack(Stack stack)
        : stack_(stack)
        , lacked_(lackedFor(stack))
    {
        if (lacked_.empty())
            start();
    }

    bool ready() const { return ready_; }
    // What the machine lacks to run this stack, or nothing.
    const std::string& lacked() const { return lacked_; }
    // The environment of a program that plays on the stack.
    const std::vector<std::string>& environment() const { return env_; }

    // Points this process's ALSA default device, and its sound server clients, at the stack.
    void useInThisProcess() const
    {
        for (const std::string& variable : env_) {
            const std::size_t equals = variable.find('=');
            ::setenv(variable.substr(0, equals).c_str(), variable.c_str() + equals + 1, 1);
        }
        snd_config_update_free_global();
    }

    // Records into `raw` from now on, until the recorder goes, what reaches the default output,
    // as 16-bit mono at `rate` in fragments of `latencyMs`; or, with no server or `asWritten`,
    // what programs write to ALSA's default device, whole even where a player lags the sink.
    std::unique_ptr<ChildProcess> record(const std::filesystem::path& raw, int rate = 8000,
                                         int latencyMs = 10, bool asWritten = false) const
    {
        if (stack_ == Stack::AlsaOnly || asWritten) {
            if (stack_ != Stack::AlsaOnly) // the device behind the capture's plugin
                std::filesystem::rename(dir_ / "written.asoundrc", dir_ / ".asoundrc");
            std::filesystem::remove(dir_ / "capture.raw");
            std::filesystem::create_symlink(dir_ / "capture.raw", raw);
            return nullptr;
        }
        auto recorder = std::make_unique<ChildProcess>(
            std::vector<std::string>{"parec", "--device=kt5_null.monitor", "--raw",
                                     "--rate=" + std::to_string(rate), "--channels=1",
                                     "--latency-msec=" + std::to_string(latencyMs)},
            env_, raw.string(), "/dev/null");
        const auto recording = [this] { return !listed("source-outputs").empty(); };
        if (!waitUntil(recording, std::chrono::seconds(10)))
            throw std::runtime_error("the recorder did not start:\n" + logs());
        return recorder;
    }

    // The stack dies, as in a crash; and then comes back.
    void kill()
    {
        ::kill(runner_->pid(), SIGUSR1);
        if (runner_->waitFor(5000) == -1)
            throw std::runtime_error("the sound stack did not die");
    }
    bool restart()
    {
        ready_ = false;
        return start();
    }
    // The end of each server's log, for a failure to show what the stack said.
    std::string logs() const
    {
        return outputOf({"/bin/sh", "-c", "tail -n 20 \"$0\"/*.log", dir_.path().string()},
                        {"PATH=/usr/bin:/bin"});
    }

    // The servers stop answering, as on a machine that swaps; and go on.
    void freeze() const { signalServers(SIGSTOP); }
    void thaw() const { signalServers(SIGCONT); }

    // The entries the server's PulseAudio interface lists of `kind` ("sink-inputs", ...).
    std::vector<QJsonObject> listed(const std::string& kind) const
    {
        const std::string text = outputOf({"pactl", "--format=json", "list", kind}, env_);
        QJsonParseError error{};
        const auto list = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        if (error.error != QJsonParseError::NoError || !list.isArray())
            throw std::runtime_error("pactl listed " + kind + " as no JSON list: " + text);
        std::vector<QJsonObject> entries;
        for (const auto& entry : list.array())
            entries.push_back(entry.toObject());
        return entries;
    }

private:
    void signalServers(int signal) const
    {
        std::istringstream pids(readBytes(dir_ / "servers"));
        for (int pid = 0; pids >> pid;)
            ::kill(pid, signal);
    }

    // Started afresh, a second time when the first start has not played a sound within its
    // time: a stack that fails to come up is the harness's fault, not the program's.
    bool start()
    {
        constexpr const char* kKinds[] = {"alsa", "pulseaudio", "pipewire-alsa", "pipewire-pulse"};
        for (int attempt = 0; attempt < 2 && !ready_; ++attempt) {
            runner_.reset(); // the last stack, and its servers, gone first
            std::filesystem::remove(dir_ / "ready");
            runner_ = std::make_unique<ChildProcess>(
                std::vector<std::string>{KT5_SOUND_STACK, kKinds[static_cast<int>(stack_)],
                                         dir_.path().string(), KT5_UNPACKED_SERVERS},
                std::vector<std::string>{"PATH=/usr/bin:/bin"});
            ready_ = waitUntil([this] { return std::filesystem::exists(dir_ / "ready"); },
                               std::chrono::seconds(15));
        }
        std::istringstream lines(readBytes(dir_ / "env"));
        env_.clear();
        for (std::string line; std::getline(lines, line);)
            env_.push_back(line);
        return ready_;
    }

    Stack stack_;
    std::string lacked_;
    TempDir dir_;
    std::vector<std::string> env_;
    std::unique_ptr<ChildProcess> runner_;
    bool ready_ = false;
};

} // namespace kt5::test
