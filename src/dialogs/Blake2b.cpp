#include "dialogs/Blake2b.h"

#include <cstring>

namespace {

constexpr std::uint64_t kIv[8] = {
    0x6a09e667f3bcc908ULL, 0xbb67ae8584caa73bULL, 0x3c6ef372fe94f82bULL, 0xa54ff53a5f1d36f1ULL,
    0x510e527fade682d1ULL, 0x9b05688c2b3e6c1fULL, 0x1f83d9abfb41bd6bULL, 0x5be0cd19137e2179ULL,
};

constexpr std::uint8_t kSigma[12][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4}, {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13}, {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11}, {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5}, {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
};

std::uint64_t Rotr(std::uint64_t x, int n)
{
    return (x >> n) | (x << (64 - n));
}

std::uint64_t Load64(const std::uint8_t* p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

struct State {
    std::uint64_t h[8];
    std::uint64_t t[2] = {0, 0};
    std::uint8_t buffer[128] = {};
    std::size_t filled = 0;
    std::size_t outLength = 0;

    void Compress(bool last)
    {
        std::uint64_t v[16], m[16];
        for (int i = 0; i < 8; ++i) {
            v[i] = h[i];
            v[i + 8] = kIv[i];
        }
        v[12] ^= t[0];
        v[13] ^= t[1];
        if (last)
            v[14] = ~v[14];
        for (int i = 0; i < 16; ++i)
            m[i] = Load64(buffer + 8 * i);
        auto g = [&](int a, int b, int c, int d, std::uint64_t x, std::uint64_t y) {
            v[a] = v[a] + v[b] + x;
            v[d] = Rotr(v[d] ^ v[a], 32);
            v[c] = v[c] + v[d];
            v[b] = Rotr(v[b] ^ v[c], 24);
            v[a] = v[a] + v[b] + y;
            v[d] = Rotr(v[d] ^ v[a], 16);
            v[c] = v[c] + v[d];
            v[b] = Rotr(v[b] ^ v[c], 63);
        };
        for (const auto& s : kSigma) {
            g(0, 4, 8, 12, m[s[0]], m[s[1]]);
            g(1, 5, 9, 13, m[s[2]], m[s[3]]);
            g(2, 6, 10, 14, m[s[4]], m[s[5]]);
            g(3, 7, 11, 15, m[s[6]], m[s[7]]);
            g(0, 5, 10, 15, m[s[8]], m[s[9]]);
            g(1, 6, 11, 12, m[s[10]], m[s[11]]);
            g(2, 7, 8, 13, m[s[12]], m[s[13]]);
            g(3, 4, 9, 14, m[s[14]], m[s[15]]);
        }
        for (int i = 0; i < 8; ++i)
            h[i] ^= v[i] ^ v[i + 8];
    }

    void Update(const std::uint8_t* in, std::size_t length)
    {
        for (std::size_t i = 0; i < length; ++i) {
            if (filled == 128) {  // a full block is compressed only once more input follows
                t[0] += 128;
                if (t[0] < 128)
                    ++t[1];
                Compress(false);
                filled = 0;
            }
            buffer[filled++] = in[i];
        }
    }
};

}  // namespace

void Blake2b(std::uint8_t* out, std::size_t outLength, const void* in, std::size_t inLength, const void* key,
             std::size_t keyLength)
{
    if (outLength == 0 || outLength > 64 || keyLength > 64)
        return;
    State s;
    for (int i = 0; i < 8; ++i)
        s.h[i] = kIv[i];
    s.h[0] ^= 0x01010000ULL ^ (static_cast<std::uint64_t>(keyLength) << 8) ^ outLength;
    s.outLength = outLength;
    if (keyLength > 0) {
        std::uint8_t block[128] = {};
        std::memcpy(block, key, keyLength);
        s.Update(block, sizeof block);
    }
    s.Update(static_cast<const std::uint8_t*>(in), inLength);
    s.t[0] += s.filled;
    if (s.t[0] < s.filled)
        ++s.t[1];
    std::memset(s.buffer + s.filled, 0, 128 - s.filled);
    s.Compress(true);
    for (std::size_t i = 0; i < outLength; ++i)
        out[i] = static_cast<std::uint8_t>(s.h[i / 8] >> (8 * (i % 8)));
}
