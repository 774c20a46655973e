#include "history/sqlite/SqliteHistory.h"

#include "document/VeskDoc.h"
#include "history/Csv.h"
#include "platform/File.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace history {

namespace {

// How long a write waits for another copy of the program that is writing too. The
// write runs on the window's thread, between an answer and the next square.
constexpr int kBusyWaitMs = 250;
constexpr std::int64_t kDayMillis = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kRecentMillis = 30 * kDayMillis;

// Each step brings the schema from the version before it to its own; a database is
// taken through every step it has not had, in one transaction.
constexpr const char* kMigrations[] = {
    // 1: answers and series
    "CREATE TABLE answer ("
    "  id INTEGER PRIMARY KEY,"
    "  utc_ms INTEGER NOT NULL,"
    "  utc_offset_min INTEGER NOT NULL,"
    "  mode TEXT NOT NULL,"
    "  colour TEXT,"
    "  verdict TEXT NOT NULL,"
    "  shown_ms INTEGER,"
    "  raw_ms INTEGER,"
    "  wait_ms INTEGER NOT NULL,"
    "  language TEXT NOT NULL,"
    "  display_time TEXT NOT NULL,"
    "  stamp_source TEXT NOT NULL);"
    "CREATE INDEX answer_by_mode ON answer (mode, verdict, utc_ms);"
    "CREATE TABLE series ("
    "  id INTEGER PRIMARY KEY,"
    "  utc_ms INTEGER NOT NULL,"
    "  utc_offset_min INTEGER NOT NULL,"
    "  mode TEXT NOT NULL,"
    "  times TEXT NOT NULL,"
    "  average REAL NOT NULL,"
    "  median REAL NOT NULL,"
    "  sd REAL NOT NULL,"
    "  best INTEGER NOT NULL,"
    "  session_record INTEGER NOT NULL,"
    "  total_record INTEGER NOT NULL);"
    "CREATE INDEX series_by_mode ON series (mode, utc_ms);",
    // 2: the answers counted by mode, verdict, UTC day and 10-ms bucket of the shown
    // time (-1 without one), kept up by a trigger: the History window reads these
    // few rows, whatever the size of the history
    "CREATE TABLE answer_count ("
    "  mode TEXT NOT NULL,"
    "  verdict TEXT NOT NULL,"
    "  day INTEGER NOT NULL,"
    "  bucket INTEGER NOT NULL,"
    "  n INTEGER NOT NULL,"
    "  PRIMARY KEY (mode, verdict, day, bucket)) WITHOUT ROWID;"
    "INSERT INTO answer_count SELECT mode, verdict, utc_ms / 86400000, coalesce(shown_ms / 10, -1), count(*) "
    "  FROM answer GROUP BY 1, 2, 3, 4;"
    "CREATE TRIGGER answer_counted AFTER INSERT ON answer BEGIN"
    "  INSERT INTO answer_count VALUES (new.mode, new.verdict, new.utc_ms / 86400000,"
    "                                   coalesce(new.shown_ms / 10, -1), 1)"
    "  ON CONFLICT DO UPDATE SET n = n + 1;"
    "END;",
};
static_assert(std::size(kMigrations) == kSchemaVersion);

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { m_code = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int Prepared() const { return m_code; }
    sqlite3_stmt* operator*() const { return m_stmt; }
    void Bind(int i, std::int64_t v) { sqlite3_bind_int64(m_stmt, i, v); }
    void Bind(int i, double v) { sqlite3_bind_double(m_stmt, i, v); }
    void Bind(int i, const std::string& v) { sqlite3_bind_text(m_stmt, i, v.c_str(), -1, SQLITE_TRANSIENT); }
    void BindOrNull(int i, int v)
    {
        if (v < 0)
            sqlite3_bind_null(m_stmt, i);
        else
            sqlite3_bind_int64(m_stmt, i, v);
    }
    int Step() { return sqlite3_step(m_stmt); }
    std::int64_t Int(int col) const { return sqlite3_column_int64(m_stmt, col); }
    int IntOr(int col, int none) const
    {
        return sqlite3_column_type(m_stmt, col) == SQLITE_NULL ? none : sqlite3_column_int(m_stmt, col);
    }
    double Real(int col) const { return sqlite3_column_double(m_stmt, col); }
    std::string Text(int col) const
    {
        const auto* text = sqlite3_column_text(m_stmt, col);
        return text ? reinterpret_cast<const char*>(text) : "";
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_code = SQLITE_OK;
};

std::string ModeText(char mode)
{
    return std::string(1, static_cast<char>(mode - 'a' + 'A'));
}

char ModeLetter(const std::string& text)
{
    return text.size() == 1 ? static_cast<char>(text[0] - 'A' + 'a') : '?';
}

std::string TimesText(const std::vector<int>& times)
{
    std::string text;
    for (int t : times)
        text += (text.empty() ? "" : " ") + std::to_string(t);
    return text;
}

std::vector<int> ParseTimes(const std::string& text)
{
    std::vector<int> times;
    std::istringstream in(text);
    for (int t; in >> t;)
        times.push_back(t);
    return times;
}

int Exec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

sqlite3* OpenDatabase(const std::string& name, int flags, Problem* problem)
{
    // A link is followed as the records files' are: only one the user alone could
    // have made; whoever else may change it could point it anywhere.
    const auto path = File::Follow(name);
    if (!path) {
        *problem = Problem::Link;
        return nullptr;
    }
    if (File::IsNotAFile(*path)) {
        *problem = Problem::NotAFile;
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(path->c_str(), &db, flags | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (code != SQLITE_OK) {
        *problem = ProblemOf(code);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, kBusyWaitMs);
    return db;
}

}  // namespace

Problem ProblemOf(int code)
{
    switch (code & 0xFF) {
    case SQLITE_OK: case SQLITE_DONE: case SQLITE_ROW: return Problem::None;
    case SQLITE_BUSY: case SQLITE_LOCKED: return Problem::Locked;
    case SQLITE_READONLY: case SQLITE_CANTOPEN: case SQLITE_PERM: case SQLITE_AUTH: return Problem::ReadOnly;
    case SQLITE_FULL: return Problem::Full;
    case SQLITE_CORRUPT: case SQLITE_NOTADB: return Problem::Corrupt;
    default: return Problem::Other;
    }
}

std::unique_ptr<SqliteHistory> SqliteHistory::OpenForWriting(const std::string& path, Problem* problem)
{
    *problem = Problem::None;
    std::error_code error;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(path, error));
    sqlite3* db = OpenDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, problem);
    if (!db)
        return nullptr;
    std::unique_ptr<SqliteHistory> log(new SqliteHistory(db));
    // SQLite opens a file it may not write for reading, and says so only here.
    if (sqlite3_db_readonly(db, "main") == 1)
        *problem = Problem::ReadOnly;
    else if (existed)
        *problem = log->CheckPages();
    if (*problem == Problem::None)
        *problem = log->Migrate();
    if (*problem == Problem::None)
        return log;
    // Held by another program: it is set up as soon as it is free (see Add).
    if (*problem == Problem::Locked) {
        log->m_ready = false;
        return log;
    }
    // A database this call created and could not set up is not left behind empty.
    log.reset();
    if (!existed && std::filesystem::file_size(path, error) == 0 && !error)
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path + suffix, error);
    return nullptr;
}

// A database whose pages are damaged is left as it is: writing into it could only
// spread the damage. quick_check reads every page but skips the checks of the
// indexes against their tables, which would cost as much again.
Problem SqliteHistory::CheckPages()
{
    Statement check(m_db, "PRAGMA quick_check(1)");
    const int code = check.Prepared() != SQLITE_OK ? check.Prepared() : check.Step();
    if (code != SQLITE_ROW)
        return ProblemOf(code);
    return check.Text(0) == "ok" ? Problem::None : Problem::Corrupt;
}

std::unique_ptr<SqliteHistory> SqliteHistory::OpenForReading(const std::string& path, Problem* problem)
{
    *problem = Problem::None;
    sqlite3* db = OpenDatabase(path, SQLITE_OPEN_READONLY, problem);
    if (!db)
        return nullptr;
    std::unique_ptr<SqliteHistory> log(new SqliteHistory(db));
    Statement version(db, "PRAGMA user_version");
    const int code = version.Prepared() != SQLITE_OK ? version.Prepared() : version.Step();
    if (code != SQLITE_ROW) {
        *problem = ProblemOf(code);
        return nullptr;
    }
    if (version.Int(0) > kSchemaVersion)
        *problem = Problem::Newer;
    else if (version.Int(0) < kSchemaVersion)
        *problem = Problem::Other;  // nothing was ever written to it
    return *problem == Problem::None ? std::move(log) : nullptr;
}

SqliteHistory::~SqliteHistory()
{
    sqlite3_close(m_db);
}

Problem SqliteHistory::Migrate()
{
    // A database of a later version is not touched at all, not even its journal.
    {
        Statement read(m_db, "PRAGMA user_version");
        const int code = read.Prepared() != SQLITE_OK ? read.Prepared() : read.Step();
        if (code != SQLITE_ROW)
            return ProblemOf(code);
        if (read.Int(0) > kSchemaVersion)
            return Problem::Newer;
    }
    // WAL: a write appends to the log and a reader (the History window, another
    // copy of the program) is never in its way. A crash of the program loses
    // nothing committed; NORMAL syncs at checkpoints, not at every answer.
    int code;
    {
        Statement wal(m_db, "PRAGMA journal_mode=WAL");
        code = wal.Prepared() != SQLITE_OK ? wal.Prepared() : wal.Step();
        if (code != SQLITE_ROW)
            return ProblemOf(code);
    }
    if (int c = Exec(m_db, "PRAGMA synchronous=NORMAL"); c != SQLITE_OK)
        return ProblemOf(c);

    if (code = Exec(m_db, "BEGIN IMMEDIATE"); code != SQLITE_OK)
        return ProblemOf(code);
    std::int64_t version = 0;
    {
        Statement read(m_db, "PRAGMA user_version");
        code = read.Prepared() != SQLITE_OK ? read.Prepared() : read.Step();
        if (code != SQLITE_ROW) {
            Exec(m_db, "ROLLBACK");
            return ProblemOf(code);
        }
        version = read.Int(0);
    }
    if (version > kSchemaVersion) {
        Exec(m_db, "ROLLBACK");
        return Problem::Newer;
    }
    for (auto v = version; v < kSchemaVersion; ++v)
        if (code = Exec(m_db, kMigrations[v]); code != SQLITE_OK) {
            Exec(m_db, "ROLLBACK");
            return ProblemOf(code);
        }
    if (version < kSchemaVersion) {
        const std::string set = "PRAGMA user_version=" + std::to_string(kSchemaVersion);
        if (code = Exec(m_db, set.c_str()); code != SQLITE_OK) {
            Exec(m_db, "ROLLBACK");
            return ProblemOf(code);
        }
    }
    if (code = Exec(m_db, "COMMIT"); code != SQLITE_OK) {
        Exec(m_db, "ROLLBACK");
        return ProblemOf(code);
    }
    return Problem::None;
}

// A database held by another program is no reason to stop: the answer is not
// kept now, and the next call tries again.
Problem SqliteHistory::Fail(int code)
{
    return Fail(ProblemOf(code));
}

Problem SqliteHistory::Fail(Problem problem)
{
    if (sqlite3_get_autocommit(m_db) == 0)
        Exec(m_db, "ROLLBACK");
    if (problem == Problem::Locked)
        return problem;
    m_stopped = problem == Problem::None ? Problem::Other : problem;
    return m_stopped;
}

Problem SqliteHistory::Add(const Answer& answer, const Series* series)
{
    if (m_stopped != Problem::None)
        return Problem::None;  // told once already
    if (!m_ready) {  // held by another program when it was opened
        Problem problem = CheckPages();
        if (problem == Problem::None)
            problem = Migrate();
        if (problem != Problem::None)
            return Fail(problem);
        m_ready = true;
    }
    if (int code = Exec(m_db, "BEGIN IMMEDIATE"); code != SQLITE_OK)
        return Fail(code);
    {
        Statement insert(m_db,
                         "INSERT INTO answer (utc_ms, utc_offset_min, mode, colour, verdict, shown_ms, raw_ms, "
                         "wait_ms, language, display_time, stamp_source) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
        if (insert.Prepared() != SQLITE_OK)
            return Fail(insert.Prepared());
        insert.Bind(1, answer.utcMillis);
        insert.Bind(2, std::int64_t{answer.utcOffsetMinutes});
        insert.Bind(3, ModeText(answer.mode));
        if (answer.colour.empty())
            sqlite3_bind_null(*insert, 4);
        else
            insert.Bind(4, answer.colour);
        insert.Bind(5, std::string(VerdictName(answer.verdict)));
        insert.BindOrNull(6, answer.shownMs);
        insert.BindOrNull(7, answer.rawMs);
        insert.Bind(8, std::int64_t{answer.waitMs});
        insert.Bind(9, std::string(1, answer.language));
        insert.Bind(10, answer.displayTime);
        insert.Bind(11, answer.stampSource);
        if (int code = insert.Step(); code != SQLITE_DONE)
            return Fail(code);
    }
    if (series) {
        Statement insert(m_db,
                         "INSERT INTO series (utc_ms, utc_offset_min, mode, times, average, median, sd, best, "
                         "session_record, total_record) VALUES (?,?,?,?,?,?,?,?,?,?)");
        if (insert.Prepared() != SQLITE_OK)
            return Fail(insert.Prepared());
        insert.Bind(1, series->utcMillis);
        insert.Bind(2, std::int64_t{series->utcOffsetMinutes});
        insert.Bind(3, ModeText(series->mode));
        insert.Bind(4, TimesText(series->times));
        insert.Bind(5, series->average);
        insert.Bind(6, series->median);
        insert.Bind(7, series->sd);
        insert.Bind(8, std::int64_t{series->best});
        insert.Bind(9, std::int64_t{series->sessionRecord});
        insert.Bind(10, std::int64_t{series->totalRecord});
        if (int code = insert.Step(); code != SQLITE_DONE)
            return Fail(code);
    }
    if (int code = Exec(m_db, "COMMIT"); code != SQLITE_OK)
        return Fail(code);
    return Problem::None;
}

bool SqliteHistory::ReadSummary(std::int64_t nowMillis, Summary* summary)
{
    *summary = {};
    for (int m = 0; m < 3; ++m) {
        ModeSummary& mode = summary->modes[m];
        const std::string letter = ModeText(static_cast<char>('a' + m));
        {
            Statement q(m_db, "SELECT utc_ms, average FROM series WHERE mode = ? ORDER BY utc_ms, id");
            if (q.Prepared() != SQLITE_OK)
                return false;
            q.Bind(1, letter);
            int code;
            while ((code = q.Step()) == SQLITE_ROW)
                mode.averages.push_back({q.Int(0), q.Real(1)});
            if (code != SQLITE_DONE)
                return false;
        }
        {
            // The last 30 days by whole UTC days: the day the 30 days began in counts.
            Statement q(m_db,
                        "SELECT bucket, sum(n), sum(CASE WHEN day >= ? THEN n ELSE 0 END) FROM answer_count "
                        "WHERE mode = ? AND verdict = 'reaction' GROUP BY bucket");
            if (q.Prepared() != SQLITE_OK)
                return false;
            q.Bind(1, (nowMillis - kRecentMillis) / kDayMillis);
            q.Bind(2, letter);
            int code;
            while ((code = q.Step()) == SQLITE_ROW) {
                const int bucket = static_cast<int>(q.Int(0)) * kBucketMs;
                mode.histogramAll[bucket] = static_cast<int>(q.Int(1));
                if (const auto recent = q.Int(2); recent > 0)
                    mode.histogramRecent[bucket] = static_cast<int>(recent);
            }
            if (code != SQLITE_DONE)
                return false;
        }
        {
            Statement q(m_db, "SELECT coalesce(sum(n), 0) FROM answer_count WHERE mode = ?");
            q.Bind(1, letter);
            if (q.Step() != SQLITE_ROW)
                return false;
            mode.answers = static_cast<int>(q.Int(0));
        }
        {
            Statement q(m_db,
                        "SELECT utc_ms, utc_offset_min, times, average, median, sd, best, session_record, "
                        "total_record FROM series WHERE mode = ? ORDER BY utc_ms DESC, id DESC LIMIT 1");
            q.Bind(1, letter);
            const int code = q.Step();
            if (code == SQLITE_ROW) {
                Series s;
                s.utcMillis = q.Int(0);
                s.utcOffsetMinutes = static_cast<int>(q.Int(1));
                s.mode = static_cast<char>('a' + m);
                s.times = ParseTimes(q.Text(2));
                s.average = q.Real(3);
                s.median = q.Real(4);
                s.sd = q.Real(5);
                s.best = static_cast<int>(q.Int(6));
                s.sessionRecord = q.Int(7) != 0;
                s.totalRecord = q.Int(8) != 0;
                mode.last = s;
            } else if (code != SQLITE_DONE) {
                return false;
            }
        }
    }
    return true;
}

bool SqliteHistory::ForEachAnswer(const std::function<bool(const StoredAnswer&)>& each)
{
    Statement q(m_db,
                "SELECT id, utc_ms, utc_offset_min, mode, colour, verdict, shown_ms, raw_ms, wait_ms, language, "
                "display_time, stamp_source FROM answer ORDER BY id");
    if (q.Prepared() != SQLITE_OK)
        return false;
    int code;
    while ((code = q.Step()) == SQLITE_ROW) {
        StoredAnswer row;
        row.id = q.Int(0);
        Answer& a = row.answer;
        a.utcMillis = q.Int(1);
        a.utcOffsetMinutes = static_cast<int>(q.Int(2));
        a.mode = ModeLetter(q.Text(3));
        a.colour = q.Text(4);
        if (!ParseVerdict(q.Text(5), &a.verdict))
            return false;
        a.shownMs = q.IntOr(6, -1);
        a.rawMs = q.IntOr(7, -1);
        a.waitMs = static_cast<int>(q.Int(8));
        const std::string language = q.Text(9);
        a.language = language.empty() ? 'E' : language[0];
        a.displayTime = q.Text(10);
        a.stampSource = q.Text(11);
        if (!each(row))
            return true;
    }
    return code == SQLITE_DONE;
}

std::unique_ptr<SqliteHistory> StartHistory(const std::string& path, CVeskDoc& doc)
{
    Problem problem = Problem::None;
    auto log = SqliteHistory::OpenForWriting(path, &problem);
    if (problem == Problem::Locked) {
        doc.m_bHistoryWaited = true;
        doc.m_nNotices |= notice::kHistoryWaiting;
    } else if (!log) {
        doc.m_nHistoryProblem = static_cast<int>(problem == Problem::None ? Problem::Other : problem);
        doc.m_nNotices |= notice::kHistoryStopped;
    }
    return log;
}

int ExportCsv(const std::string& databasePath, const std::string& csvPath, std::string* error,
              const std::function<bool()>& stopped)
{
    Problem problem;
    const auto log = SqliteHistory::OpenForReading(databasePath, &problem);
    if (!log) {
        *error = ProblemOfDatabase(databasePath, problem);
        return -1;
    }
    // Written beside the file and put in its place when whole: an export that fails
    // or is stopped half-way leaves an earlier file of that name as it was.
    int rows = 0;
    bool read = true;
    std::string why;
    const bool written = File::ReplaceWith(
        csvPath,
        [&](const File::Writer& write) {
            std::string chunk = CsvHeader();
            bool ok = true;
            read = log->ForEachAnswer(
                [&](const StoredAnswer& row) {
                    chunk += CsvRow(row);
                    ++rows;
                    if (chunk.size() > (1 << 16)) {
                        ok = write(chunk);
                        chunk.clear();
                    }
                    return ok && !(stopped && stopped());
                });
            return read && ok && !(stopped && stopped()) && write(chunk);
        },
        &why);
    if (!read) {
        *error = "cannot read " + databasePath;
        return -1;
    }
    if (!written) {
        *error = stopped && stopped() ? "stopped; " + csvPath + " is as it was" : "cannot write " + csvPath + ": " + why;
        return -1;
    }
    return rows;
}

std::string ProblemOfDatabase(const std::string& databasePath, Problem problem)
{
    std::error_code ignored;
    if (!std::filesystem::exists(databasePath, ignored)) {
        const auto folder = std::filesystem::absolute(databasePath, ignored).parent_path();
        return "no history found: there is no " + std::filesystem::path(databasePath).filename().string() +
               " in " + folder.string();
    }
    switch (problem) {
    case Problem::Locked: return databasePath + " is in use by another program; try again later";
    case Problem::Corrupt: return databasePath + " is damaged";
    case Problem::Newer: return databasePath + " was written by a newer version of the program";
    case Problem::Link: return databasePath + " is a link that others could change; it is not followed";
    case Problem::NotAFile: return databasePath + " is not a file";
    case Problem::ReadOnly:
    case Problem::Other:
    default: return "cannot read " + databasePath;
    }
}

}  // namespace history
