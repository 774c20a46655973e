// Files on Windows, where share modes are the system's own.
#include <windows.h>

#include "platform/File.h"

std::optional<File> File::Open(const std::string& name, FileAccess access, FileShare share, FileCreation creation)
{
    const DWORD desired = access == FileAccess::Read    ? GENERIC_READ
                          : access == FileAccess::Write ? GENERIC_WRITE
                                                        : GENERIC_READ | GENERIC_WRITE;
    const DWORD shareMode = share == FileShare::None ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    const DWORD disposition = creation == FileCreation::OpenExisting ? OPEN_EXISTING
                              : creation == FileCreation::OpenAlways ? OPEN_ALWAYS
                                                                     : CREATE_ALWAYS;
    // Not through a symbolic link: open the link itself and refuse it.
    HANDLE h = ::CreateFileA(name.c_str(), desired, shareMode, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        ::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return std::nullopt;
    }
    return File(reinterpret_cast<std::intptr_t>(h), creation == FileCreation::CreateAlways);
}

File::File(File&& other) noexcept : m_handle(other.m_handle), m_written(other.m_written)
{
    other.m_handle = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

File::~File()
{
    HANDLE h = reinterpret_cast<HANDLE>(m_handle);
    if (h == INVALID_HANDLE_VALUE)
        return;
    if (m_written)
        ::FlushFileBuffers(h);
    ::CloseHandle(h);
}

std::size_t File::ReadAt(std::uint64_t position, void* data, std::size_t size)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD read = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(m_handle), data, static_cast<DWORD>(size), &read, &at))
        return 0;
    return read;
}

void File::WriteAt(std::uint64_t position, const void* data, std::size_t size)
{
    m_written = true;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD written = 0;
    ::WriteFile(reinterpret_cast<HANDLE>(m_handle), data, static_cast<DWORD>(size), &written, &at);
}

// ---------------------------------------------------------------------------------

bool File::Replace(const std::string& name, std::string_view bytes)
{
    return ReplaceWith(name, [bytes](const Writer& write) { return write(bytes); });
}

bool File::ReplaceWith(const std::string& name, const std::function<bool(const Writer&)>& produce, std::string* why)
{
    auto fail = [why](const char* reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (IsRefusedLink(name))
        return fail("it is a link");
    const DWORD old = ::GetFileAttributesA(name.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY))
        return fail("it is a folder");
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY))
        return fail("it is read-only");
    // A name of its own when something that cannot be replaced stands at the first.
    std::string fresh = name + ".new";
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 10 && h == INVALID_HANDLE_VALUE; ++attempt) {
        if (attempt > 0)
            fresh = name + ".new-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(attempt);
        h = ::CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_ACCESS_DENIED)
            break;
    }
    if (h == INVALID_HANDLE_VALUE)
        return fail(::GetLastError() == ERROR_PATH_NOT_FOUND ? "no such folder" : "it cannot be written");
    bool failed = false;
    const Writer write = [h, &failed](std::string_view bytes) {
        DWORD written = 0;
        if (!failed && !(::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                         written == bytes.size()))
            failed = true;
        return !failed;
    };
    const bool produced = produce(write);
    const bool ok = produced && !failed && ::FlushFileBuffers(h);
    ::CloseHandle(h);
    if (!ok || !::MoveFileExA(fresh.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(fresh.c_str());
        return fail(produced ? "it cannot be written" : "it was given up");
    }
    return true;
}

bool File::CanReplace(const std::string& name)
{
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    // A missing file: can one be made beside it?
    const std::string probe = name + ".new";
    HANDLE h = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

bool File::IsMissing(const std::string& name)
{
    return ::GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

// Links are not followed on Windows: making one takes rights a user rarely has.
bool File::IsRefusedLink(const std::string& name)
{
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool File::IsNotAFile(const std::string& name)
{
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

std::optional<std::string> File::Follow(const std::string& name)
{
    if (IsRefusedLink(name))
        return std::nullopt;
    return name;
}

// ---------------------------------------------------------------------------------

// A named mutex per working directory would need the directory's name; one per
// user session is enough to keep two copies from saving at the same moment.
RecordsLock::RecordsLock()
    : m_handle(reinterpret_cast<std::intptr_t>(::CreateMutexA(nullptr, FALSE, "Local\\kbr_dorin.records")))
{
    if (m_handle)
        ::WaitForSingleObject(reinterpret_cast<HANDLE>(m_handle), 5000);
}

RecordsLock::~RecordsLock()
{
    if (m_handle) {
        ::ReleaseMutex(reinterpret_cast<HANDLE>(m_handle));
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}
