#include <windows.h>

#include "platform/VolumeNumber.h"

// The serial number of the drive of the working directory.
std::optional<std::uint32_t> SystemVolumeNumber::Read()
{
    DWORD serial = 0;
    if (!::GetVolumeInformationA(nullptr, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return std::nullopt;
    return static_cast<std::uint32_t>(serial);
}
