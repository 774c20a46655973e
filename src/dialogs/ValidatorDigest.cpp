#include "dialogs/ValidatorDigest.h"

#include "dialogs/Blake2b.h"

#include <array>
#include <cmath>

namespace {

// The program's fixed key: changing it changes every validator ever shown.
constexpr std::array<unsigned char, 32> kKey = {
    0x6b, 0x62, 0x72, 0x5f, 0x64, 0x6f, 0x72, 0x69, 0x6e, 0x20, 0x76, 0x61, 0x6c, 0x69, 0x64, 0x61,
    0x74, 0x6f, 0x72, 0x20, 0x32, 0x2e, 0x38, 0x20, 0x41, 0x72, 0x76, 0x65, 0x6e, 0x6c, 0x6f, 0x21};

void PutLittleEndian(unsigned char* out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

int ValidatorDigest(double record, std::int32_t volumeNumber)
{
    // Tenths of a millisecond; anything that is not a plausible time counts as 0.
    const double tenths = std::round(record * 10.0);
    const std::int64_t scaled = std::isfinite(tenths) && std::fabs(tenths) < 1e15 ? static_cast<std::int64_t>(tenths) : 0;

    std::array<unsigned char, 12> message{};
    PutLittleEndian(message.data(), static_cast<std::uint64_t>(scaled), 8);
    PutLittleEndian(message.data() + 8, static_cast<std::uint32_t>(volumeNumber), 4);

    std::array<unsigned char, 8> hash{};
    // Keyed BLAKE2b with an 8-byte result (what libsodium's crypto_generichash computes,
    // which earlier builds used): the same validators on every build and machine.
    Blake2b(hash.data(), hash.size(), message.data(), message.size(), kKey.data(), kKey.size());
    const std::uint32_t value = (hash[0] | hash[1] << 8 | hash[2] << 16 | static_cast<std::uint32_t>(hash[3]) << 24) &
                                0x7FFFFFFFu;
    return value == 0 ? 1 : static_cast<int>(value);
}
