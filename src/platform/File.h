// A file opened by name in the working directory, the way the records code needs
// it: with an access mode, a share mode (may others have it open meanwhile?) and a
// creation rule. Opening fails for anything but a regular file.
//
// Symbolic links: a user may keep a records file as a link (into a synced folder,
// say), so a link is followed where only the user can have made it: the link is
// the user's own and its folder is writable by nobody else. Any other link is
// refused, as if the file could not be opened, so a link planted in a shared
// folder never makes the program read or write another file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

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

    // The whole content of a file, opened with sharing; nullopt when it cannot be
    // opened (missing files included).
    static std::optional<std::string> ReadAll(const std::string& name);
    // Replaces the file whole: the new content is written beside it, flushed to
    // disk and renamed over it, and the folder is flushed, so that at any instant
    // the file on disk is either the old one or the new one. False when that could
    // not be done; the old file is then as it was.
    static bool Replace(const std::string& name, std::string_view bytes);
    // Replace, with the content written piece by piece (a large file is never held
    // whole in memory): produce is handed a writer, which is false once writing
    // failed, and gives up by returning false itself; the old file then stays as it
    // was. On failure *why, when asked for, says what stood in the way.
    using Writer = std::function<bool(std::string_view)>;
    static bool ReplaceWith(const std::string& name, const std::function<bool(const Writer&)>& produce,
                            std::string* why = nullptr);
    // May the file be replaced here: its folder, and the file where it exists, can
    // be written.
    static bool CanReplace(const std::string& name);
    // Nothing is there by that name (or a link that is followed leads nowhere).
    static bool IsMissing(const std::string& name);
    // The name is a symbolic link that is not followed (see above).
    static bool IsRefusedLink(const std::string& name);
    // Something other than a file is there by that name (a folder, a device...).
    static bool IsNotAFile(const std::string& name);
    // Where the name leads: the name itself, or the target of a link that is
    // followed; nullopt for a refused link, which is never read or written through.
    static std::optional<std::string> Follow(const std::string& name);

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
