#include "platform/alsa/regular_file_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kt5::platform::alsa {

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

PlaybackResult openFailure(int error)
{
    if (error == ENOENT || error == ENOTDIR || error == ELOOP)
        return failure(PlaybackError::FileMissing);
    return failure(PlaybackError::Unreadable, std::strerror(error));
}

} // namespace

Outcome<std::vector<std::byte>> readRegularFile(const std::string& path, std::size_t maxBytes)
{
    // O_NONBLOCK so that opening a FIFO without a writer, or a device, cannot block; the type
    // check below then refuses anything that is not a plain file.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == EISDIR ? failure(PlaybackError::NotRegularFile) : openFailure(errno);

    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        return failure(PlaybackError::Unreadable, std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return failure(PlaybackError::NotRegularFile);
    if (status.st_size == 0)
        return failure(PlaybackError::Empty);
    if (static_cast<unsigned long long>(status.st_size) > maxBytes)
        return failure(PlaybackError::TooLarge, std::to_string(status.st_size) + " bytes");

    std::vector<std::byte> bytes(static_cast<std::size_t>(status.st_size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(PlaybackError::Unreadable, std::strerror(errno));
        if (n == 0)
            return failure(PlaybackError::DataCutShort, "the file shrank while it was read");
        filled += static_cast<std::size_t>(n);
    }
    return bytes;
}

} // namespace kt5::platform::alsa
