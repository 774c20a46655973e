// BLAKE2b (RFC 7693), keyed, any output length from 1 to 64 bytes: the digest
// behind the validators, computed the same way by every build of the program.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes the outLength-byte BLAKE2b of in, keyed with key (up to 64 bytes; none
// when keyLength is 0), to out.
void Blake2b(std::uint8_t* out, std::size_t outLength, const void* in, std::size_t inLength, const void* key,
             std::size_t keyLength);
