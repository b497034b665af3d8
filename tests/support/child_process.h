#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kt5::test {

// A program started in the background with a given environment; terminated and reaped when
// the object goes.
class ChildProcess {
public:
    // Standard output goes to `outputFile`, standard error to `errorFile` (empty: the same).
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& outputFile = "/dev/null", const std::string& errorFile = "");
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool running();
    // Waits up to `timeoutMs` for it to end; returns its exit status, or -1 if still running.
    int waitFor(int timeoutMs);
    int pid() const { return pid_; }

private:
    int pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end and gives what it wrote on standard output.
std::string outputOf(const std::vector<std::string>& argv, const std::vector<std::string>& env);

// Polls `condition` until it holds or `limit` has passed; true when it held.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

} // namespace kt5::test
