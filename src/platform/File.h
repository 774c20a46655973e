// A file opened by name in the working directory, the way the records code needs
// it: with an access mode, a share mode (may others have it open meanwhile?) and a
// creation rule. Opening fails, rather than following, when the name is a symbolic
// link, and fails for anything but a regular file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

enum class FileAccess { Read, Write, ReadWrite };

// Without sharing the open fails while anyone else has the file open, and while it
// is open every other open fails. With sharing it only fails against an open
// without sharing.
enum class FileShare { None, Allowed };

enum class FileCreation {
    OpenExisting,  // fail when missing
    OpenAlways,    // create when missing, never truncate
    CreateAlways,  // create anew and empty
};

class File {
public:
    static std::optional<File> Open(const std::string& name, FileAccess access, FileShare share,
                                    FileCreation creation);

    File(File&& other) noexcept;
    File& operator=(File&&) = delete;
    File(const File&) = delete;
    ~File();  // data written is on disk before the file is closed; a file only read costs no sync

    // Reads up to size bytes at position; returns how many were read.
    std::size_t ReadAt(std::uint64_t position, void* data, std::size_t size);
    // Writes size bytes at position, growing the file as needed.
    void WriteAt(std::uint64_t position, const void* data, std::size_t size);

private:
    File(std::intptr_t handle, bool written) : m_handle(handle), m_written(written) {}

    std::intptr_t m_handle;
    bool m_written;  // changed since it was opened
};

// Serialises the records sequences of all running copies of the program that
// share a working directory. Waits a bounded time for another copy, then goes on.
class RecordsLock {
public:
    RecordsLock();
    ~RecordsLock();
    RecordsLock(const RecordsLock&) = delete;
    RecordsLock& operator=(const RecordsLock&) = delete;

private:
    std::intptr_t m_handle;
};
