// The layout of the records file, shared by its readers, its writers and the tests.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

// Where the fields of a plain file with shift n stand.
struct Positions {
    int language;                // the "[" before the language letter
    std::array<int, 13> checks;  // the check marks
    std::array<int, 9> values;   // the value slots, three per mode
};
Positions PositionsFor(int shift);

// The record slot j holds (0 when it does not begin with "[").
double SlotValue(std::string_view plain, int position);

// Two of three copies: the record they agree on, or nullopt when all three differ.
// Three zero copies give 0 (no record stored).
std::optional<double> Majority(const std::array<double, 3>& copies);

// The coding pass over the first 295 bytes, in place (a shorter file grows to them).
void CodeBytes(std::string& bytes, bool encode);

// What a plain file holds, when it passes every check of the start-up.
struct Contents {
    char language;
    std::array<double, 3> records;
};
std::optional<Contents> ReadGoodFile(std::string_view plain);

// The records file as the operations see it: read whole when an operation first
// needs it and written back whole (see CVeskView::WriteBackRecordsFile).
struct Image {
    bool loaded = false;
    bool readable = false;  // false: there is a file, but it cannot be opened
    bool existed = false;
    bool filled = false;    // a writer put fields into it
    std::string onDisk;     // the bytes as they were read
    std::string bytes;      // the file now
};

}  // namespace records
