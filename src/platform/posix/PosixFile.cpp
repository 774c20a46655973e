// Files on POSIX. The share modes of the records code are emulated with advisory
// locks (flock), which every running copy of the program takes the same way.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/File.h"

std::optional<File> File::Open(const std::string& name, FileAccess access, FileShare share, FileCreation creation)
{
    int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;  // non-blocking: a FIFO must not hang us
    flags |= access == FileAccess::Read ? O_RDONLY : access == FileAccess::Write ? O_WRONLY : O_RDWR;
    if (creation != FileCreation::OpenExisting)
        flags |= O_CREAT;

    const int fd = ::open(name.c_str(), flags, 0644);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const int lock = share == FileShare::None ? LOCK_EX : LOCK_SH;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, lock | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    // Truncate only once the share mode is granted, so a holder's data is never cut.
    if (creation == FileCreation::CreateAlways && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return File(fd, creation == FileCreation::CreateAlways);
}

File::File(File&& other) noexcept : m_handle(other.m_handle), m_written(other.m_written)
{
    other.m_handle = -1;
}

File::~File()
{
    if (m_handle < 0)
        return;
    if (m_written)
        ::fsync(static_cast<int>(m_handle));
    ::close(static_cast<int>(m_handle));  // also releases the lock
}

std::size_t File::ReadAt(std::uint64_t position, void* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(static_cast<int>(m_handle), static_cast<char*>(data) + done, size - done,
                                  static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void File::WriteAt(std::uint64_t position, const void* data, std::size_t size)
{
    m_written = true;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(static_cast<int>(m_handle), static_cast<const char*>(data) + done, size - done,
                                   static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
}

// ---------------------------------------------------------------------------------

// The lock is taken on the working directory itself, so no extra file is needed;
// locks on a directory and on the files in it are independent.
RecordsLock::RecordsLock() : m_handle(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_handle < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::flock(static_cast<int>(m_handle), LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() > deadline)
            break;  // a copy that hangs must not keep this one from saving
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

RecordsLock::~RecordsLock()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}
