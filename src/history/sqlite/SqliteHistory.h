// The history in an SQLite database beside the records: WAL, one transaction per
// answer, the schema's version in PRAGMA user_version.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryLog.h"
#include "history/Summary.h"

struct sqlite3;
class CVeskDoc;

namespace history {

// The database's name, in the folder the records are kept in.
constexpr const char* kDatabaseName = "kbr_dorin.db";
// The schema this build writes; a database of a later one is left alone.
constexpr int kSchemaVersion = 2;

class SqliteHistory : public Log {
public:
    // Opens the database at path, creating it or bringing its schema up to date
    // for writing; null with the reason when it cannot be written to. A database
    // that another program holds gives a log all the same, with Locked: it is set up
    // by the first Add that finds it free.
    static std::unique_ptr<SqliteHistory> OpenForWriting(const std::string& path, Problem* problem);
    // Opens it for reading only; null with the reason when it cannot be read.
    static std::unique_ptr<SqliteHistory> OpenForReading(const std::string& path, Problem* problem);
    ~SqliteHistory() override;

    Problem Add(const Answer& answer, const Series* series) override;

    // What the History window shows; nowMillis marks the start of the last 30 days.
    // False when the database could not be read.
    bool ReadSummary(std::int64_t nowMillis, Summary* summary);
    // Every answer, oldest first, until each returns false; false when reading failed.
    bool ForEachAnswer(const std::function<bool(const StoredAnswer&)>& each);

private:
    explicit SqliteHistory(sqlite3* db) : m_db(db) {}
    Problem Migrate();
    Problem CheckPages();
    Problem Fail(int code);
    Problem Fail(Problem problem);

    sqlite3* m_db;
    bool m_ready = true;  // the schema is set up
    Problem m_stopped = Problem::None;
};

// Opens the history for the session of doc: when it cannot be written, the
// document is told why (the window says so once) and null is returned.
std::unique_ptr<SqliteHistory> StartHistory(const std::string& path, CVeskDoc& doc);

// Writes every answer of the database at databasePath to csvPath as CSV (see Csv.h);
// the number of answers written, or -1 with what went wrong. The file is replaced
// only when it is whole; stopped, when given, is asked now and then whether to give up.
int ExportCsv(const std::string& databasePath, const std::string& csvPath, std::string* error,
              const std::function<bool()>& stopped = nullptr);
// Why the database at databasePath cannot be read, for a person: where it was
// looked for when it is not there at all.
std::string ProblemOfDatabase(const std::string& databasePath, Problem problem);

// The problem an SQLite result code stands for.
Problem ProblemOf(int sqliteCode);

}  // namespace history
