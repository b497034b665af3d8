#include "support/child_process.h"

#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

namespace kt5::test {

namespace {

std::vector<char*> pointersTo(const std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (const auto& s : strings)
        result.push_back(const_cast<char*>(s.c_str()));
    result.push_back(nullptr);
    return result;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, const std::string& outputFile,
                           const std::string& errorFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (errorFile.empty())
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    auto args = pointersTo(argv);
    auto envp = pointersTo(env);
    const int rc = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv.front());
}

ChildProcess::~ChildProcess()
{
    if (running()) {
        ::kill(pid_, SIGCONT); // a stopped process does not act on SIGTERM
        ::kill(pid_, SIGTERM);
        if (waitFor(3000) == -1) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
}

bool ChildProcess::running()
{
    if (status_ != -1)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

int ChildProcess::waitFor(int timeoutMs)
{
    waitUntil([this] { return !running(); }, std::chrono::milliseconds(timeoutMs));
    return running() ? -1 : status_;
}

std::string outputOf(const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    const TempDir scratch;
    ChildProcess(argv, env, (scratch / "out").string(), "/dev/null").waitFor(30'000);
    return readBytes(scratch / "out");
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace kt5::test
