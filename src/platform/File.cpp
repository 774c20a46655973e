// What files offer the same way on every system, built on the system's own part.
#include "platform/File.h"

std::optional<std::string> File::ReadAll(const std::string& name)
{
    auto file = Open(name, FileAccess::Read, FileShare::Allowed, FileCreation::OpenExisting);
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    while (const std::size_t n = file->ReadAt(bytes.size(), chunk, sizeof chunk)) {
        bytes.append(chunk, n);
        if (n < sizeof chunk)
            break;
    }
    return bytes;
}
