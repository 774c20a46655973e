#include <sys/statvfs.h>

#include "platform/VolumeNumber.h"

// The identifier of the file system that holds the working directory, folded to
// 32 bits. It stays the same across runs and reboots for a given file system.
std::optional<std::uint32_t> SystemVolumeNumber::Read()
{
    struct statvfs info {};
    if (::statvfs(".", &info) != 0)
        return std::nullopt;
    const auto fsid = static_cast<std::uint64_t>(info.f_fsid);
    return static_cast<std::uint32_t>(fsid ^ (fsid >> 32));
}
