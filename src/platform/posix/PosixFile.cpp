// Files on POSIX. The share modes of the records code are emulated with advisory
// locks (flock), which every running copy of the program takes the same way.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/File.h"

namespace {

// The folder a path lies in ("." for a bare name).
std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link only the user can have made: owned by the user, in a folder of the user's
// (or the system's) that nobody else may write to.
bool TrustedLink(const std::string& name, const struct stat& link)
{
    struct stat folder {};
    if (::stat(FolderOf(name).c_str(), &folder) != 0)
        return false;
    const uid_t me = ::geteuid();
    return link.st_uid == me && (folder.st_uid == me || folder.st_uid == 0) &&
           (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Where the name leads: the name itself, or the target of a link that is followed;
// nullopt for a refused link.
std::optional<std::string> Resolve(const std::string& name)
{
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return name;
    if (!TrustedLink(name, st))
        return std::nullopt;
    if (char* real = ::realpath(name.c_str(), nullptr)) {
        std::string target(real);
        std::free(real);
        return target;
    }
    // A link to a file that does not exist yet: the file it names, created on save.
    char target[PATH_MAX];
    const ssize_t n = ::readlink(name.c_str(), target, sizeof target - 1);
    if (n <= 0)
        return std::nullopt;
    std::string path(target, static_cast<std::size_t>(n));
    if (path[0] != '/' && FolderOf(name) != ".")
        path = FolderOf(name) + "/" + path;
    return path;
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<File> File::Open(const std::string& name, FileAccess access, FileShare share, FileCreation creation)
{
    const auto path = Resolve(name);
    if (!path)
        return std::nullopt;
    int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;  // non-blocking: a FIFO must not hang us
    flags |= access == FileAccess::Read ? O_RDONLY : access == FileAccess::Write ? O_WRONLY : O_RDWR;
    if (creation != FileCreation::OpenExisting)
        flags |= O_CREAT;

    const int fd = ::open(path->c_str(), flags, 0644);
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

bool File::Replace(const std::string& name, std::string_view bytes)
{
    return ReplaceWith(name, [bytes](const Writer& write) { return write(bytes); });
}

bool File::ReplaceWith(const std::string& name, const std::function<bool(const Writer&)>& produce, std::string* why)
{
    auto fail = [why](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };
    auto failErrno = [&fail](int error) { return fail(std::strerror(error)); };
    const auto path = Resolve(name);
    if (!path)
        return fail("it is a link that others could change");
    struct stat old {};
    const bool existed = ::stat(path->c_str(), &old) == 0;
    // A file the user made read-only is not replaced behind their back.
    if (existed && !S_ISREG(old.st_mode))
        return fail(S_ISDIR(old.st_mode) ? "it is a folder" : "it is not a regular file");
    if (existed && ::access(path->c_str(), W_OK) != 0)
        return failErrno(errno);

    // A fixed name beside the file: a copy killed half-way leaves at most this one
    // behind, and the next save starts it afresh. O_EXCL: never through a link.
    // Should something that cannot be removed stand under that name (a folder, say),
    // a name of its own is made instead.
    const mode_t mode = existed ? (old.st_mode & 07777) : 0644;
    std::string fresh = *path + ".new";
    ::unlink(fresh.c_str());
    int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && errno == EEXIST) {
        std::string pattern = *path + ".new-XXXXXX";
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) {
            fresh = pattern;
            ::fchmod(fd, mode);
        }
    }
    if (fd < 0)
        return failErrno(errno);
    int error = 0;
    const Writer write = [fd, &error](std::string_view bytes) {
        if (error == 0 && !WriteAll(fd, bytes))
            error = errno != 0 ? errno : EIO;
        return error == 0;
    };
    const bool produced = produce(write);
    if (error == 0 && produced && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && produced && ::rename(fresh.c_str(), path->c_str()) != 0)
        error = errno;
    if (error != 0 || !produced) {
        ::unlink(fresh.c_str());
        return error != 0 ? failErrno(error) : fail("it was given up");
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(*path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool File::CanReplace(const std::string& name)
{
    const auto path = Resolve(name);
    if (!path || ::access(FolderOf(*path).c_str(), W_OK | X_OK) != 0)
        return false;
    struct stat st {};
    if (::stat(path->c_str(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && ::access(path->c_str(), W_OK) == 0;
}

bool File::IsNotAFile(const std::string& name)
{
    const auto path = Resolve(name);
    struct stat st {};
    return path && ::stat(path->c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::optional<std::string> File::Follow(const std::string& name)
{
    return Resolve(name);
}

bool File::IsMissing(const std::string& name)
{
    const auto path = Resolve(name);
    struct stat st {};
    return path && ::lstat(path->c_str(), &st) != 0 && errno == ENOENT;
}

bool File::IsRefusedLink(const std::string& name)
{
    return !Resolve(name).has_value();
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
