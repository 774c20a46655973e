// The layout of the records file, shared by its readers, its writers and the tests.
#pragma once

#include <array>
#include <cstddef>

namespace records {

inline constexpr const char* kIniName = "kbr_dorin.ini";
inline constexpr const char* kBakName = "kbr_dorin.bak";
inline constexpr std::size_t kFileSize = 295;
inline constexpr std::size_t kShiftLetterPos = 270;
inline constexpr const char* kCheckMark = "CONSTAN";
inline constexpr std::size_t kCheckMarkLength = 7;
inline constexpr std::size_t kValueTextLength = 9;

// Entry n is the letter of shift n; the closing blank is never searched for.
inline constexpr char kShiftAlphabet[28] = "QMWNEBRVTCYXUZIAOSPDLFKGJH ";

// Byte i of the file is coded with digit i mod 30.
inline constexpr std::array<int, 30> kFileKey = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7, 9,
                                                 3, 2, 3, 8, 4, 6, 2, 6, 4, 3, 3, 8, 3, 2, 7};

}  // namespace records
