#pragma once

#include "testing/child_process.h"
#include "testing/files.h"

#include <alsa/asoundlib.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <string>
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

// One of those stacks, private to one test, started as a desktop runs it: PulseAudio, or
// PipeWire with WirePlumber and pipewire-pulse on a session bus of its own, each with a null
// sink clocked in real time and the state it remembers (outputs chosen per program) in a
// temporary directory; a second null sink, kt5_radio, stands for another sound card. What the
// default output plays is recorded as raw 16-bit mono.
class SoundStack {
public:
    explicit SoundStack(Stack stack)
        : stack_(stack)
    {
        std::filesystem::create_directories(dir_ / "run");
        std::filesystem::permissions(dir_ / "run", std::filesystem::perms::owner_all);
        const std::string d = dir_.path().string();
        for (const auto& [name, value] : {std::pair{"HOME=", ""},
                                          {"XDG_RUNTIME_DIR=", "/run"},
                                          {"XDG_CONFIG_HOME=", "/config"},
                                          {"XDG_STATE_HOME=", "/state"},
                                          {"XDG_DATA_HOME=", "/data"},
                                          {"PULSE_STATE_PATH=", "/state"},
                                          {"DBUS_SESSION_BUS_ADDRESS=unix:path=", "/run/bus"}})
            env_.push_back(name + d + value);
        env_.insert(env_.end(),
                    {"PATH=/usr/bin:/bin", "PULSE_SERVER=unix:" + pulseSocket().string()});
        std::ofstream(dir_ / ".asoundrc") << asoundrc();
        env_.push_back("ALSA_CONFIG_PATH=" + privateAlsaConfig().string());
        ready_ = start();
    }
    SoundStack(const SoundStack&) = delete;
    SoundStack& operator=(const SoundStack&) = delete;
    ~SoundStack()
    {
        while (!servers_.empty()) // in reverse of their start
            servers_.pop_back();
    }

    bool ready() const { return ready_; }
    bool hasServer() const { return stack_ != Stack::AlsaOnly; }
    // The environment of a program that plays on the stack: its home holds the .asoundrc;
    // its runtime directory, the session bus's socket.
    const std::vector<std::string>& environment() const { return env_; }
    std::filesystem::path runtimeDirectory() const { return dir_ / "run"; }

    // Points this process's ALSA default device, and its sound server clients, at the stack.
    void useInThisProcess() const
    {
        for (const std::string& variable : env_)
            ::putenv(const_cast<char*>(variable.c_str())); // the strings outlive the test
        snd_config_update_free_global();
    }

    // Records what reaches the output from now on into `raw`, until the recorder goes, as
    // 16-bit mono at `rate` (8 kHz without a server, where `raw` is the capture that ALSA's
    // file plugin appends every sound to) in fragments of `latencyMs`.
    std::unique_ptr<ChildProcess> record(const std::filesystem::path& raw, int rate = 8000,
                                         int latencyMs = 10) const
    {
        if (!hasServer()) {
            std::filesystem::remove(capture());
            std::filesystem::create_symlink(capture(), raw);
            return nullptr;
        }
        auto recorder = std::make_unique<ChildProcess>(
            std::vector<std::string>{"parec", "--device=kt5_null.monitor", "--raw",
                                     "--rate=" + std::to_string(rate), "--channels=1",
                                     "--latency-msec=" + std::to_string(latencyMs)},
            env_, raw.string(), "/dev/null");
        waitUntil(
            [this] {
                return !pactl({"list", "short", "source-outputs"}).empty();
            },
            std::chrono::seconds(10));
        return recorder;
    }

    // The process a client of the stack talks to stops answering, with its sockets open; or
    // goes on; or dies with the rest of the server, which then comes back.
    void freeze() const { ::kill(talkedTo().pid(), SIGSTOP); }
    void thaw() const { ::kill(talkedTo().pid(), SIGCONT); }
    void kill()
    {
        for (auto& process : servers_)
            ::kill(process->pid(), SIGKILL);
        servers_.clear();
        std::filesystem::remove(pulseSocket());
        std::filesystem::remove_all(dir_ / "run");
        std::filesystem::create_directories(dir_ / "run");
        std::filesystem::permissions(dir_ / "run", std::filesystem::perms::owner_all);
    }
    bool restart() { return ready_ = start(); }

    // Whether the server has noted the output a user chose for a program's streams (PulseAudio's
    // stream-restore does at once; WirePlumber writes it down a moment later).
    bool remembersOutput(std::string_view sink) const
    {
        return stack_ == Stack::PulseAudio ||
               readBytes(dir_ / "state/wireplumber/restore-stream")
                       .find(":target=" + std::string(sink)) != std::string::npos;
    }

    // What the server's PulseAudio interface says (both servers have one).
    std::string pactl(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> command{"pactl"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return outputOf(command, env_);
    }

private:
    std::filesystem::path pulseSocket() const
    {
        return stack_ == Stack::PulseAudio ? dir_ / "native" : dir_ / "run/pulse/native";
    }
    std::filesystem::path capture() const { return dir_ / "capture.raw"; }

    // ALSA's own configuration without the drop-in folders, where the pulse plugin's hook
    // (libasound2-plugins) takes the default device for itself whenever a PulseAudio server,
    // pipewire-pulse included, answers: "default" is the .asoundrc's alone.
    std::filesystem::path privateAlsaConfig() const
    {
        std::ifstream system(std::string(snd_config_topdir()) + "/alsa.conf");
        std::ofstream config(dir_ / "alsa.conf");
        for (std::string line; std::getline(system, line);)
            if (line.find("conf.d\"") == std::string::npos)
                config << line << "\n";
        return dir_ / "alsa.conf";
    }

    std::string asoundrc() const
    {
        switch (stack_) {
        case Stack::AlsaOnly:
            return "pcm.!default { type file slave.pcm \"null\" file \"|cat >>'" +
                   capture().string() + "'\" format \"raw\" }\n";
        case Stack::PipeWireAlsa: // its plugin from a private folder: see scripts/install-deps
            return "pcm_type.pipewire { lib \"" KT5_PIPEWIRE_ALSA_PLUGIN "\" }\n"
                   "pcm.!default { type pipewire }\n";
        default:
            return "pcm.!default { type pulse server \"unix:" + pulseSocket().string() + "\" }\n";
        }
    }

    bool start()
    {
        servers_.clear();
        if (stack_ == Stack::AlsaOnly)
            return true;
        const auto spawn = [&](std::vector<std::string> command) -> ChildProcess& {
            servers_.push_back(std::make_unique<ChildProcess>(std::move(command), env_));
            return *servers_.back();
        };
        if (stack_ == Stack::PulseAudio) {
            std::ofstream(dir_ / "default.pa")
                << "load-module module-null-sink sink_name=kt5_null rate=48000 channels=2\n"
                << "load-module module-null-sink sink_name=kt5_radio rate=48000 channels=2\n"
                << "load-module module-native-protocol-unix socket=" << pulseSocket().string()
                << " auth-anonymous=1\nload-module module-stream-restore\n"
                << "set-default-sink kt5_null\n";
            spawn({"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-F",
                   (dir_ / "default.pa").string(), "--use-pid-file=no"});
            // An idle null sink renders in 2 s blocks, and every stream that joins waits for
            // the current block to end. A silent stream asking for 10 ms keeps it ticking in
            // short blocks, as a real card's clock would.
            spawn({"sh", "-c",
                   "until pactl info >/dev/null 2>&1; do sleep 0.02; done; "
                   "exec pacat --latency-msec=10 --raw /dev/zero"});
            return waitUntil(
                [this] {
                    return !pactl({"list", "short", "sink-inputs"}).empty();
                },
                std::chrono::seconds(10));
        }
        writePipeWireSink();
        spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile",
               "--address=unix:path=" + (dir_ / "run/bus").string()});
        spawn({"sh", "-c",
               "until [ -S \"$XDG_RUNTIME_DIR/bus\" ]; do sleep 0.01; done; exec pipewire"});
        // WirePlumber and pipewire-pulse give up when PipeWire is not there yet.
        waitUntil([this] { return std::filesystem::exists(dir_ / "run/pipewire-0"); },
                  std::chrono::seconds(10));
        spawn({"wireplumber"});
        spawn({"pipewire-pulse"});
        // Ready once WirePlumber has made the null sink the default and a sound plays there.
        return waitUntil(
            [this] {
                return pactl({"get-default-sink"}).starts_with("kt5_null") &&
                       ChildProcess({"sh", "-c",
                                     "head -c 320 /dev/zero | pacat --raw --rate=8000 "
                                     "--channels=1 --format=s16le"},
                                    env_)
                               .waitFor(5000) == 0;
            },
            std::chrono::seconds(10));
    }

    void writePipeWireSink() const
    {
        std::filesystem::create_directories(dir_ / "config/pipewire/pipewire.conf.d");
        std::ofstream config(dir_ / "config/pipewire/pipewire.conf.d/kt5-null.conf");
        config << "context.objects = [\n";
        for (const auto& [name, priority] : {std::pair{"kt5_null", 2000}, {"kt5_radio", 1000}})
            config << "{ factory = adapter args = { factory.name = support.null-audio-sink\n"
                   << "  node.name = " << name << " media.class = Audio/Sink object.linger = true\n"
                   << "  audio.position = [ FL FR ] audio.rate = 48000 priority.session = "
                   << priority << " priority.driver = " << priority << " } }\n";
        config << "]\n";
    }

    ChildProcess& talkedTo() const
    {
        // PulseAudio; PipeWire's daemon for its own plugin; pipewire-pulse for the pulse one.
        const std::size_t index = stack_ == Stack::PulseAudio     ? 0
                                  : stack_ == Stack::PipeWireAlsa ? 1
                                                                  : 3;
        return *servers_.at(index);
    }

    Stack stack_;
    TempDir dir_;
    std::vector<std::string> env_;
    std::vector<std::unique_ptr<ChildProcess>> servers_; // stop in reverse of their start
    bool ready_ = false;
};

} // namespace kt5::test
