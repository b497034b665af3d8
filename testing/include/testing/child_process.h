#pragma once

#include "testing/files.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kt5::test {

// A program started in the background with the given environment, its output to `outputFile`
// and its errors to `errorFile` (empty: the same); stopped and reaped when the object goes.
class ChildProcess {
public:
    ChildProcess(std::vector<std::string> argv, std::vector<std::string> env,
                 const std::string& outputFile = "/dev/null", const std::string& errorFile = "")
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (errorFile.empty())
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
        else
            posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const auto pointers = [](std::vector<std::string>& strings) {
            std::vector<char*> result;
            for (auto& s : strings)
                result.push_back(s.data());
            result.push_back(nullptr);
            return result;
        };
        const int rc = posix_spawnp(&pid_, argv.front().c_str(), &actions, nullptr,
                                    pointers(argv).data(), pointers(env).data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            throw std::runtime_error("cannot start " + argv.front());
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess()
    {
        if (!running())
            return;
        ::kill(pid_, SIGCONT); // a stopped process does not act on SIGTERM
        ::kill(pid_, SIGTERM);
        if (waitFor(3000) == -1) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool running()
    {
        int status = 0;
        if (status_ == -1 && ::waitpid(pid_, &status, WNOHANG) == pid_)
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return status_ == -1;
    }
    // Waits up to `timeoutMs` for it to end; its exit status, or -1 while it runs.
    int waitFor(int timeoutMs)
    {
        waitUntil([this] { return !running(); }, std::chrono::milliseconds(timeoutMs));
        return status_;
    }
    int pid() const { return pid_; }

private:
    int pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end and gives what it wrote on standard output.
inline std::string outputOf(const std::vector<std::string>& argv,
                            const std::vector<std::string>& env)
{
    const TempDir scratch;
    ChildProcess(argv, env, (scratch / "out").string(), "/dev/null").waitFor(30'000);
    return readBytes(scratch / "out");
}

} // namespace kt5::test
