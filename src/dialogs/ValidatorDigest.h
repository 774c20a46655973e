// The validator of a record: a keyed cryptographic hash of the record and the
// volume number, so that it cannot be made up for a record without the program.
#pragma once

#include <cstdint>

// A positive number (1..2^31-1), the same on every machine. The record counts in
// tenths of a millisecond, so a record and the value read back from its "%.1f"
// text give the same validator.
int ValidatorDigest(double record, std::int32_t volumeNumber);
