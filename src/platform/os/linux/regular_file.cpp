#include "os/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kt5::platform::os {

namespace {

class UniqueFd {
public:
    explicit UniqueFd(int fd)
        : fd_(fd)
    {
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

FileContents problem(FileProblem what, std::string detail = {})
{
    return {{}, what, std::move(detail)};
}

FileContents openFailure(int error)
{
    if (error == EISDIR)
        return problem(FileProblem::NotRegular);
    if (error == ENOENT || error == ENOTDIR || error == ELOOP)
        return problem(FileProblem::Missing);
    return problem(FileProblem::Unreadable, std::strerror(error));
}

} // namespace

FileContents readRegularFile(const NativeString& path, std::size_t maxBytes)
{
    // O_NONBLOCK so that opening a FIFO without a writer, or a device, cannot block; the type
    // check below then refuses anything that is not a plain file.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return openFailure(errno);

    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        return problem(FileProblem::Unreadable, std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return problem(FileProblem::NotRegular);
    if (status.st_size == 0)
        return problem(FileProblem::Empty);
    if (static_cast<unsigned long long>(status.st_size) > maxBytes)
        return problem(FileProblem::TooLarge, std::to_string(status.st_size) + " bytes");

    FileContents contents{std::vector<std::byte>(static_cast<std::size_t>(status.st_size)), {}};
    auto& bytes = contents.bytes;
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return problem(FileProblem::Unreadable, std::strerror(errno));
        if (n == 0)
            return problem(FileProblem::Shrank, "the file shrank while it was read");
        filled += static_cast<std::size_t>(n);
    }
    return contents;
}

} // namespace kt5::platform::os
