#include "linux/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <system_error>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

std::string describe(int error) {
    return std::generic_category().message(error);
}

// Closes the descriptor when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

class PosixWritableFile : public platform::WritableFile {
  public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}

    std::optional<std::string> writeAt(std::uint64_t offset, std::string_view bytes) override {
        constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
        if (fd_.get() < 0) return describe(EBADF);
        if (offset > kLargest - bytes.size()) return describe(EFBIG);
        while (!bytes.empty()) {
            const ssize_t written =
                ::pwrite(fd_.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) return describe(errno);
            bytes.remove_prefix(static_cast<std::size_t>(written));
            offset += static_cast<std::uint64_t>(written);
        }
        return std::nullopt;
    }

    std::optional<std::string> syncAndClose() override {
        const int fd = fd_.release();
        if (fd < 0) return describe(EBADF);
        const int syncError = ::fsync(fd) == 0 ? 0 : errno;
        const int closeError = ::close(fd) == 0 ? 0 : errno;
        if (syncError || closeError) return describe(syncError ? syncError : closeError);
        return std::nullopt;
    }

  private:
    Descriptor fd_;
};

} // namespace

std::optional<std::string> PosixFileStore::read(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

bool PosixFileStore::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::unique_ptr<platform::WritableFile> PosixFileStore::create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixWritableFile>(fd);
}

std::optional<std::string> PosixFileStore::replace(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    return describe(errno);
}

} // namespace vimbo::linuxdesktop
