#include "history/Csv.h"

#include <charconv>
#include <cstdio>

namespace history {

namespace {

constexpr const char* kColumns[] = {"id",      "utc",        "local_time", "mode",    "colour",
                                    "verdict", "shown_ms",   "raw_ms",     "wait_ms", "language",
                                    "display_time", "stamp_source"};
constexpr std::size_t kColumnCount = std::size(kColumns);

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::string IsoTime(std::int64_t millis)
{
    const std::int64_t days = FloorDiv(millis, 86'400'000);
    const std::int64_t inDay = millis - days * 86'400'000;
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, &y, &m, &d);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02d.%03d", static_cast<long long>(y), m, d,
                  static_cast<int>(inDay / 3'600'000), static_cast<int>(inDay / 60'000 % 60),
                  static_cast<int>(inDay / 1000 % 60), static_cast<int>(inDay % 1000));
    return text;
}

// "YYYY-MM-DDTHH:MM:SS.mmm" followed by "Z" or "+HH:MM"/"-HH:MM".
bool ParseIso(const std::string& text, std::int64_t* localMillis, int* offsetMinutes)
{
    int y, mo, d, h, mi, s, ms, n = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3d%n", &y, &mo, &d, &h, &mi, &s, &ms, &n) != 7 || n != 23)
        return false;
    *localMillis = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86'400'000 +
                   ((h * 60LL + mi) * 60 + s) * 1000 + ms;
    const std::string zone = text.substr(23);
    if (zone == "Z") {
        *offsetMinutes = 0;
        return true;
    }
    int oh, om, m = 0;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') ||
        std::sscanf(zone.c_str() + 1, "%2d:%2d%n", &oh, &om, &m) != 2 || m != 5)
        return false;
    *offsetMinutes = (zone[0] == '-' ? -1 : 1) * (oh * 60 + om);
    return true;
}

std::string Quoted(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string NumberOrEmpty(int value)
{
    return value < 0 ? std::string() : std::to_string(value);
}

// The fields of one record; a quoted field may hold line breaks.
bool ReadRecord(std::istream& in, std::vector<std::string>* fields)
{
    fields->clear();
    std::string field;
    bool quoted = false, any = false;
    for (char c; in.get(c);) {
        any = true;
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    in.get();
                    field += '"';
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields->push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            fields->push_back(std::move(field));
            return true;
        } else if (c != '\r') {
            field += c;
        }
    }
    if (any)
        fields->push_back(std::move(field));
    return any;
}

bool ToInt(const std::string& text, std::int64_t* value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ToIntOrNone(const std::string& text, int* value)
{
    std::int64_t v = -1;
    if (!text.empty() && !ToInt(text, &v))
        return false;
    *value = static_cast<int>(v);
    return true;
}

}  // namespace

std::string IsoUtc(std::int64_t utcMillis)
{
    return IsoTime(utcMillis) + "Z";
}

std::string IsoLocal(std::int64_t utcMillis, int offsetMinutes)
{
    const int off = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', off / 60, off % 60);
    return IsoTime(utcMillis + offsetMinutes * 60'000LL) + zone;
}

std::string CsvHeader()
{
    std::string line;
    for (const char* column : kColumns)
        line += (line.empty() ? "" : ",") + std::string(column);
    return line + "\n";
}

std::string CsvRow(const StoredAnswer& row)
{
    const Answer& a = row.answer;
    const std::string fields[] = {
        std::to_string(row.id),
        IsoUtc(a.utcMillis),
        IsoLocal(a.utcMillis, a.utcOffsetMinutes),
        std::string(1, static_cast<char>(a.mode - 'a' + 'A')),
        a.colour,
        VerdictName(a.verdict),
        NumberOrEmpty(a.shownMs),
        NumberOrEmpty(a.rawMs),
        std::to_string(a.waitMs),
        std::string(1, a.language),
        a.displayTime,
        a.stampSource,
    };
    std::string line;
    for (const auto& field : fields)
        line += (line.empty() ? "" : ",") + Quoted(field);
    return line + "\n";
}

bool ReadCsv(std::istream& in, std::vector<StoredAnswer>* rows)
{
    std::vector<std::string> fields;
    if (!ReadRecord(in, &fields) || fields.size() != kColumnCount)
        return false;
    for (std::size_t i = 0; i < kColumnCount; ++i)
        if (fields[i] != kColumns[i])
            return false;
    while (ReadRecord(in, &fields)) {
        if (fields.size() != kColumnCount)
            return false;
        StoredAnswer row;
        Answer& a = row.answer;
        std::int64_t utc, local, wait;
        int utcOffset, offset;
        if (!ToInt(fields[0], &row.id) || !ParseIso(fields[1], &utc, &utcOffset) || utcOffset != 0 ||
            !ParseIso(fields[2], &local, &offset) || local - utc != offset * 60'000LL)
            return false;
        a.utcMillis = utc;
        a.utcOffsetMinutes = offset;
        if (fields[3].size() != 1 || fields[3][0] < 'A' || fields[3][0] > 'C')
            return false;
        a.mode = static_cast<char>(fields[3][0] - 'A' + 'a');
        a.colour = fields[4];
        if (!ParseVerdict(fields[5], &a.verdict) || !ToIntOrNone(fields[6], &a.shownMs) ||
            !ToIntOrNone(fields[7], &a.rawMs) || !ToInt(fields[8], &wait) || fields[9].size() != 1)
            return false;
        a.waitMs = static_cast<int>(wait);
        a.language = fields[9][0];
        a.displayTime = fields[10];
        a.stampSource = fields[11];
        rows->push_back(std::move(row));
    }
    return true;
}

}  // namespace history
