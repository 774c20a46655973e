// The history as CSV, one row per answer, for spreadsheets and scripts: UTF-8 (the
// texts are ASCII), a header row, times in ISO 8601.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "history/HistoryLog.h"

namespace history {

// "2026-12-10T14:03:22.123Z", and the same moment as the local time then,
// "2026-12-10T16:03:22.123+02:00".
std::string IsoUtc(std::int64_t utcMillis);
std::string IsoLocal(std::int64_t utcMillis, int offsetMinutes);

std::string CsvHeader();  // ends with a newline, as each row does
std::string CsvRow(const StoredAnswer& row);

// Reads what CsvHeader and CsvRow wrote; false at the first line that is not such.
bool ReadCsv(std::istream& in, std::vector<StoredAnswer>* rows);

}  // namespace history
