// The number of the volume that holds the working directory (and so the records).
#pragma once

#include <cstdint>
#include <optional>

class VolumeNumber {
public:
    virtual ~VolumeNumber() = default;
    // Empty when it cannot be read.
    virtual std::optional<std::uint32_t> Read() = 0;
};

// The machine's own: the file system identifier on POSIX, the volume serial number
// on Windows.
class SystemVolumeNumber : public VolumeNumber {
public:
    std::optional<std::uint32_t> Read() override;
};
