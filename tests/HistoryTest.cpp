// The history of answers in a real SQLite database in the test's scratch folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "history/Csv.h"
#include "history/sqlite/SqliteHistory.h"
#include "support/ScratchDir.h"
#include "support/Session.h"

using namespace history;

namespace {

std::vector<StoredAnswer> StoredAnswers(const std::string& path = kDatabaseName)
{
    Problem problem;
    std::vector<StoredAnswer> rows;
    if (const auto log = SqliteHistory::OpenForReading(path, &problem))
        log->ForEachAnswer([&](const StoredAnswer& row) {
            rows.push_back(row);
            return true;
        });
    return rows;
}

// Runs sql on the database at path with a connection of its own, kept open as long
// as the returned handle is.
struct Connection {
    explicit Connection(const std::string& sql, const std::string& path = kDatabaseName)
    {
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

std::string Scalar(const std::string& sql)
{
    Connection c("");
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(c.db, sql.c_str(), -1, &stmt, nullptr);
    std::string value;
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    return value;
}

int TimesDrawn(const Session& s, const std::string& text)
{
    int n = 0;
    for (const auto& t : s.sim.screen.textLog)
        n += t.text == text;
    return n;
}

}  // namespace

// Mode C: a wrong key, a false start, then a whole series; each answer is kept as
// the screen judged it, and the series with its figures.
TEST(History, AnswersAndTheirSeriesAreKeptAsTheyWereJudged)
{
    Problem problem;
    auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
    ASSERT_TRUE(log);
    Session s(0, log.get());
    s.sim.Invalidate(true);
    s.sim.PumpPaints();
    s.Press(key::C);

    struct Expected {
        Verdict verdict;
        std::string colour;
        int shown, raw, wait;
    };
    std::vector<Expected> expected;
    auto colourShown = [&] { return s.doc.m_nSide == 0 ? "yellow" : "blue"; };

    // The wrong hand.
    s.WaitOutPause();
    const int wait1 = s.doc.m_nDelay;
    s.Wait(300);
    s.Press(s.doc.m_nSide == 0 ? key::L : key::S);
    expected.push_back({Verdict::Mistake, colourShown(), -1, 300, wait1});
    ASSERT_TRUE(s.Shows("MISTAKE."));
    // A false start.
    const int wait2 = s.doc.m_nDelay;
    s.Wait(100);
    s.Press(key::S);
    s.Wait(static_cast<unsigned>(wait2 - 100));
    expected.push_back({Verdict::FalseStart, "", -1, -1, wait2});
    ASSERT_TRUE(s.Shows("FALSTART."));
    // Ten answers: 200, 210, ... 290 ms on the screen.
    for (int i = 0; i < 10; ++i) {
        const int ms = 200 + 10 * i;
        const int measured = ms + s.doc.m_nSeed % 10;
        s.WaitOutPause();
        const int wait = s.doc.m_nDelay;
        const std::string colour = colourShown();
        s.Wait(static_cast<unsigned>(measured));
        s.Press(s.doc.m_nSide == 1 ? key::L : key::S);
        expected.push_back({Verdict::Reaction, colour, ms, measured, wait});
    }
    ASSERT_TRUE(s.Shows("245.0 ms - average in series of 10 attempts."));

    const auto rows = StoredAnswers();
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Answer& a = rows[i].answer;
        EXPECT_EQ(a.mode, 'c');
        EXPECT_EQ(a.verdict, expected[i].verdict);
        EXPECT_EQ(a.colour, expected[i].colour);
        EXPECT_EQ(a.shownMs, expected[i].shown);
        EXPECT_EQ(a.rawMs, expected[i].raw);
        EXPECT_EQ(a.waitMs, expected[i].wait);
        EXPECT_EQ(a.language, 'E');
        EXPECT_GE(a.utcMillis, s.sim.startSeconds * 1000);
        EXPECT_LE(a.utcMillis, s.sim.startSeconds * 1000 + 1000 + static_cast<std::int64_t>(s.sim.Elapsed()));
    }
    EXPECT_EQ(rows[1].answer.displayTime, "none") << "a false start showed no square";

    Summary summary;
    ASSERT_TRUE(log->ReadSummary(s.sim.startSeconds * 1000, &summary));
    const ModeSummary& c = summary.modes[2];
    ASSERT_TRUE(c.last);
    EXPECT_EQ(c.last->times, (std::vector<int>{200, 210, 220, 230, 240, 250, 260, 270, 280, 290}));
    EXPECT_DOUBLE_EQ(c.last->average, 245.0);
    EXPECT_DOUBLE_EQ(c.last->median, 245.0);
    EXPECT_NEAR(c.last->sd, 30.277, 0.001);
    EXPECT_EQ(c.last->best, 200);
    EXPECT_TRUE(c.last->sessionRecord);
    EXPECT_TRUE(c.last->totalRecord) << "there was no all-time record";
    ASSERT_EQ(c.averages.size(), 1u);
    EXPECT_EQ(c.answers, 12);
    int counted = 0;
    for (const auto& [bucket, count] : c.histogramAll)
        counted += count;
    EXPECT_EQ(counted, 10) << "reactions only";
    EXPECT_TRUE(summary.modes[0].averages.empty());

    // A second series, slower than the first: no record of either kind.
    s.Press(key::Enter);
    for (int i = 0; i < 10; ++i)
        s.AnswerWithReaction(300);
    ASSERT_TRUE(log->ReadSummary(s.sim.startSeconds * 1000, &summary));
    ASSERT_EQ(summary.modes[2].averages.size(), 2u);
    EXPECT_FALSE(summary.modes[2].last->sessionRecord);
    EXPECT_FALSE(summary.modes[2].last->totalRecord);
}

// The window closes right after an answer's result was drawn, before the program
// was idle again: the answer is kept all the same.
TEST(History, AnAnswerDrawnJustBeforeTheEndIsKept)
{
    Problem problem;
    auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
    ASSERT_TRUE(log);
    Session s(0, log.get());
    s.Open();
    s.Press(key::A);
    s.sim.holdTasks = true;  // the main loop never gets idle again
    s.AnswerWithReaction(250);
    ASSERT_TRUE(s.Shows("250 ms REACTION."));
    EXPECT_TRUE(StoredAnswers().empty()) << "written after the paint, not in it";
    s.view.OnDestroy();
    const auto rows = StoredAnswers();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].answer.shownMs, 250);
}

// Mode B: the green square let pass is kept as withheld; one answered is a mistake.
TEST(History, AGreenSquareLetPassIsWithheld)
{
    Problem problem;
    auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
    ASSERT_TRUE(log);
    Session s(MillisForFirstSide(1), log.get());
    s.sim.Invalidate(true);
    s.sim.PumpPaints();
    s.Press(key::B);
    s.WaitOutPause();
    ASSERT_EQ(s.Square(), kGreen);
    s.Wait(1000);
    ASSERT_TRUE(s.Shows("OK."));
    const auto rows = StoredAnswers();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].answer.verdict, Verdict::Withheld);
    EXPECT_EQ(rows[0].answer.colour, "green");
    EXPECT_EQ(rows[0].answer.shownMs, -1);
    EXPECT_EQ(rows[0].answer.rawMs, 1000);
}

// A history that cannot be kept is told once, in the program's language, and the
// game goes on; what stands in the database's place is left as it was.
TEST(History, AHistoryThatCannotBeKeptIsToldOnceAndTheGameGoesOn)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;  // before the program starts
        bool asNobody;                  // root may write anything
        bool lockAfterStart;
        char language;
        std::string message;
    };
    auto v1 = [] {
        Problem p;
        SqliteHistory::OpenForWriting(kDatabaseName, &p);
    };
    // A database that opens well but has damaged pages among its answers.
    auto damagedPages = [] {
        {
            Problem p;
            auto log = SqliteHistory::OpenForWriting(kDatabaseName, &p);
            Answer a;
            a.mode = 'a';
            for (int i = 0; i < 500; ++i)
                log->Add(a, nullptr);
        }
        std::string bytes = ReadWholeFile(kDatabaseName);
        ASSERT_GT(bytes.size(), 4u * 4096);
        for (std::size_t page = 4096; page < bytes.size(); page += 4096)  // past the schema's page
            bytes.replace(page + 8, 200, std::string(200, 'Z'));
        WriteWholeFile(kDatabaseName, bytes);
    };
    const Case cases[] = {
        {"damaged", [] { WriteWholeFile(kDatabaseName, std::string(8192, 'Z')); }, false, false, 'E',
         "History not kept: 'kbr_dorin.db' is damaged; it is left as it is."},
        {"damaged pages", damagedPages, false, false, 'E',
         "History not kept: 'kbr_dorin.db' is damaged; it is left as it is."},
        {"newer", [] { Connection c("PRAGMA user_version=7; CREATE TABLE later(x);"); }, false, false, 'L',
         "Istorija nerašoma: 'kbr_dorin.db' iš naujesnės programos versijos."},
        {"read-only file", [&] { v1(); ::chmod(kDatabaseName, 0444); ::chmod(".", 0777); }, true, false, 'E',
         "History not kept: 'kbr_dorin.db' or its folder is read-only."},
        {"read-only folder", [] { ::chmod(".", 0555); }, true, false, 'R',
         "Istorija ne vedetsa: 'kbr_dorin.db' ili papka tol'ko dlja chtenija."},
        {"a folder in its place", [] { std::filesystem::create_directory(kDatabaseName); }, false, false, 'E',
         "History not kept: 'kbr_dorin.db' is not a file."},
        {"a link others could change",
         [] {
             Problem p;
             SqliteHistory::OpenForWriting("elsewhere.db", &p);
             std::filesystem::create_symlink("elsewhere.db", kDatabaseName);
             ::chmod(".", 0777);
         },
         false, false, 'L', "Istorija nerašoma: nuoroda 'kbr_dorin.db' nenaudojama: ją gali pakeisti kiti."},
        // Held by another program: the answers wait for it (see the next test).
        {"locked at start", v1, false, false, 'T',
         "'kbr_dorin.db' naudoja kita programa: atsakymai bus irasyti, kai jis atsilaisvins."},
        {"locked during the game", v1, false, true, 'E',
         "'kbr_dorin.db' is in use by another program: answers are kept once it is free."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::chmod(".", 0700);
        for (const char* f : {"kbr_dorin.db", "kbr_dorin.db-wal", "kbr_dorin.db-shm", "elsewhere.db"})
            std::filesystem::remove_all(f);
        c.prepare();
        const bool lockedAtStart = std::string(c.name) == "locked at start";
        EXPECT_EXIT(
            {
                if (c.asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                    std::_Exit(9);
                std::optional<Connection> lock;
                if (lockedAtStart)
                    lock.emplace("BEGIN EXCLUSIVE; INSERT INTO answer (utc_ms, utc_offset_min, mode, verdict, "
                                 "wait_ms, language, display_time, stamp_source) VALUES (0,0,'A','x',0,'E','','');");
                const bool aFile = std::filesystem::is_regular_file(kDatabaseName);
                const std::string before = aFile ? ReadWholeFile(kDatabaseName) : "";
                Session s;
                s.doc.m_chLanguage = c.language;
                auto log = StartHistory(kDatabaseName, s.doc);
                CVeskView view(s.doc, {s.sim, s.sim, s.sim, s.sim, s.sim, log.get()});
                s.sim.onPaint = [&](Canvas& dc) { view.OnDraw(dc); };
                s.sim.onTimer = [&](unsigned id) { view.OnTimer(id); };
                s.sim.Invalidate(true);
                s.sim.PumpPaints(20);
                s.doc.m_chLanguage = c.language;  // whatever the records said
                if (c.lockAfterStart) {
                    if (!log)
                        std::_Exit(1);
                    lock.emplace("BEGIN EXCLUSIVE; INSERT INTO answer (utc_ms, utc_offset_min, mode, verdict, "
                                 "wait_ms, language, display_time, stamp_source) VALUES (0,0,'A','x',0,'E','','');");
                } else if (log.operator bool() != lockedAtStart) {
                    std::_Exit(2);
                }
                s.sim.Deliver([&] { view.OnKeyDown(key::A, 1, 0); });
                for (int i = 0; i < 3; ++i) {
                    s.WaitOutPause();
                    s.Wait(250 + static_cast<unsigned>(s.doc.m_nSeed % 10));
                    s.sim.Deliver([&] { view.OnKeyDown(key::S, 1, 0); });
                }
                s.WaitOutPause();
                const int told = TimesDrawn(s, c.message);
                const bool playing = s.doc.m_dSeriesCount == 3.0;
                const bool untouched = c.lockAfterStart || !FileExists(kDatabaseName) ||
                                       (aFile ? ReadWholeFile(kDatabaseName) == before
                                              : std::filesystem::is_directory(kDatabaseName) ||
                                                    std::filesystem::is_symlink(kDatabaseName));
                std::_Exit(told != 1 ? 3 : !playing ? 4 : !untouched ? 5 : 0);
            },
            testing::ExitedWithCode(0), "");
    }
    ::chmod(".", 0700);
}

// The user's own link to the database (into a synced folder, say) is followed, as
// the records files' are: the answers go into its target and the link stays.
TEST(History, TheUsersOwnLinkToTheDatabaseIsFollowed)
{
    ::chmod(".", 0700);
    std::filesystem::create_directory("synced");
    std::filesystem::create_symlink("synced/mine.db", kDatabaseName);
    Session s;
    auto log = StartHistory(kDatabaseName, s.doc);
    ASSERT_TRUE(log) << "no notice: " << s.doc.m_nNotices;
    Answer a;
    a.mode = 'a';
    EXPECT_EQ(log->Add(a, nullptr), Problem::None);
    log.reset();
    EXPECT_TRUE(std::filesystem::is_symlink(kDatabaseName));
    Problem problem;
    const auto read = SqliteHistory::OpenForReading("synced/mine.db", &problem);
    ASSERT_TRUE(read);
    int answers = 0;
    read->ForEachAnswer([&](const StoredAnswer&) { return ++answers, true; });
    EXPECT_EQ(answers, 1);
}

// A database another program holds for a while (a backup tool, a second window on
// it) keeps no answer from being kept: they wait in memory and are written once it
// is free, whether it was held at the start or during the game.
TEST(History, AnswersWaitForADatabaseAnotherProgramHolds)
{
    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "held at the start" : "held during the game");
        for (const char* f : {"kbr_dorin.db", "kbr_dorin.db-wal", "kbr_dorin.db-shm"})
            std::filesystem::remove(f);
        if (!atStart) {
            Problem p;
            SqliteHistory::OpenForWriting(kDatabaseName, &p);
        }
        std::optional<Connection> lock;
        lock.emplace(atStart ? "BEGIN EXCLUSIVE;" : "BEGIN EXCLUSIVE; INSERT INTO series (utc_ms, utc_offset_min, mode, "
                                                    "times, average, median, sd, best, session_record, "
                                                    "total_record) VALUES (0,0,'A','',0,0,0,0,0,0);");
        Session s;
        auto log = StartHistory(kDatabaseName, s.doc);
        ASSERT_TRUE(log);
        CVeskView view(s.doc, {s.sim, s.sim, s.sim, s.sim, s.sim, log.get()});
        s.sim.onPaint = [&](Canvas& dc) { view.OnDraw(dc); };
        s.sim.onTimer = [&](unsigned id) { view.OnTimer(id); };
        s.sim.Invalidate(true);
        s.sim.PumpPaints(20);
        s.sim.Deliver([&] { view.OnKeyDown(key::A, 1, 0); });
        auto answer = [&] {
            s.WaitOutPause();
            s.Wait(250 + static_cast<unsigned>(s.doc.m_nSeed % 10));
            s.sim.Deliver([&] { view.OnKeyDown(key::S, 1, 0); });
        };
        for (int i = 0; i < 3; ++i)
            answer();
        lock.reset();  // the other program lets go
        for (int i = 0; i < 3; ++i)
            answer();
        s.WaitOutPause();
        EXPECT_EQ(TimesDrawn(s, "'kbr_dorin.db' is in use by another program: answers are kept once it is free."), 1);
        EXPECT_EQ(s.doc.m_dSeriesCount, 6.0);
        EXPECT_EQ(StoredAnswers().size(), 6u) << "every answer, those of the held time too";
    }
}

// The program killed at any moment keeps every answer it had written, and the
// database stays whole: one that was drawn but not yet written is all it may lose.
TEST(History, AKillRightAfterAnAnswerLosesAtMostThatAnswer)
{
    std::mt19937 random(20261211);
    std::size_t stored = 0;
    for (int kill = 0; kill < 25; ++kill) {
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(acks[0]);
            Problem problem;
            auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
            if (!log)
                std::_Exit(1);
            Session s(kill, log.get());
            s.Open();
            s.Press(key::A);
            for (int i = 0;; ++i) {
                if (s.doc.m_bSeriesComplete)
                    s.Press(key::Enter);
                s.AnswerWithReaction(200 + i % 50);  // the answer is written once its paint is done
                const char ack = 1;
                if (::write(acks[1], &ack, 1) != 1)
                    std::_Exit(2);
            }
        }
        ::close(acks[1]);
        std::size_t acked = 0;
        char buffer[256];
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 40000 + 500);
        while (acked == 0 || std::chrono::steady_clock::now() < until) {
            const ssize_t n = ::read(acks[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            acked += static_cast<std::size_t>(n);
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        // What the child wrote before the kill and we have not read yet counts too.
        for (ssize_t n; (n = ::read(acks[0], buffer, sizeof buffer)) > 0;)
            acked += static_cast<std::size_t>(n);
        ::close(acks[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own: " << status;

        const std::size_t now = StoredAnswers().size();
        EXPECT_GE(now, stored + acked) << "kill " << kill;
        EXPECT_LE(now, stored + acked + 1) << "kill " << kill;
        EXPECT_EQ(Scalar("PRAGMA integrity_check"), "ok");
        // Every series kept has its ten times.
        EXPECT_EQ(Scalar("SELECT count(*) FROM series WHERE length(times) - length(replace(times, ' ', '')) != 9"),
                  "0");
        stored = now;
    }
    EXPECT_GT(stored, 25u);
}

TEST(History, ExportedCsvReadsBackAsStored)
{
    Problem problem;
    auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
    ASSERT_TRUE(log);
    Answer a;
    a.utcMillis = 1'796'911'402'123;  // 2026-12-10T14:03:22.123Z
    a.utcOffsetMinutes = 120;
    a.mode = 'c';
    a.colour = "yellow";
    a.shownMs = 245;
    a.rawMs = 251;
    a.waitMs = 2345;
    a.language = 'L';
    a.displayTime = "x11-property";
    a.stampSource = "event";
    Answer falseStart = a;
    falseStart.utcMillis += 4000;
    falseStart.utcOffsetMinutes = -210;  // Newfoundland
    falseStart.mode = 'a';
    falseStart.colour = "";
    falseStart.verdict = Verdict::FalseStart;
    falseStart.shownMs = falseStart.rawMs = -1;
    falseStart.displayTime = "a \"quoted\", odd\nsource";  // nothing of ours, but a field may hold anything
    Answer early = a;
    early.utcMillis = -1500;  // before 1970
    early.utcOffsetMinutes = 0;
    early.verdict = Verdict::Withheld;
    ASSERT_EQ(log->Add(a, nullptr), Problem::None);
    ASSERT_EQ(log->Add(falseStart, nullptr), Problem::None);
    ASSERT_EQ(log->Add(early, nullptr), Problem::None);

    std::string error;
    ASSERT_EQ(ExportCsv(kDatabaseName, "out.csv", &error), 3) << error;
    const std::string csv = ReadWholeFile("out.csv");
    std::istringstream lines(csv);
    std::string header, first;
    std::getline(lines, header);
    std::getline(lines, first);
    EXPECT_EQ(header, "id,utc,local_time,mode,colour,verdict,shown_ms,raw_ms,wait_ms,language,display_time,"
                      "stamp_source");
    EXPECT_EQ(first, "1,2026-12-10T14:03:22.123Z,2026-12-10T16:03:22.123+02:00,C,yellow,reaction,245,251,2345,L,"
                     "x11-property,event");
    EXPECT_NE(csv.find(",2026-12-10T10:33:26.123-03:30,A,,false start,,,2345,"), std::string::npos);
    EXPECT_NE(csv.find("3,1969-12-31T23:59:58.500Z,"), std::string::npos);

    std::istringstream in(csv);
    std::vector<StoredAnswer> read;
    ASSERT_TRUE(ReadCsv(in, &read));
    const auto stored = StoredAnswers();
    ASSERT_EQ(read.size(), stored.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].id, stored[i].id);
        EXPECT_EQ(CsvRow(read[i]), CsvRow(stored[i]));
        EXPECT_EQ(read[i].answer.utcMillis, stored[i].answer.utcMillis);
        EXPECT_EQ(read[i].answer.utcOffsetMinutes, stored[i].answer.utcOffsetMinutes);
        EXPECT_EQ(read[i].answer.displayTime, stored[i].answer.displayTime);
        EXPECT_EQ(read[i].answer.shownMs, stored[i].answer.shownMs);
    }

    EXPECT_EQ(ExportCsv("missing.db", "never.csv", &error), -1);
    EXPECT_FALSE(FileExists("never.csv"));
    EXPECT_EQ(ExportCsv(kDatabaseName, "no/such/folder/out.csv", &error), -1);
}

// An export replaces its file only when it is whole, never writes through a link
// that others could have planted, and says why when it cannot be done.
TEST(History, AnExportThatCannotCompleteLeavesTheEarlierFileAndSaysWhy)
{
    Problem problem;
    std::string error;
    EXPECT_EQ(ExportCsv(kDatabaseName, "out.csv", &error), -1);
    EXPECT_NE(error.find("no history found: there is no kbr_dorin.db in " +
                         std::filesystem::current_path().string()),
              std::string::npos)
        << error;

    {
        auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
        ASSERT_TRUE(log);
        Answer a;
        a.mode = 'a';
        a.shownMs = a.rawMs = 250;
        for (int i = 0; i < 2000; ++i)  // some 200 kB of CSV: written in several pieces
            ASSERT_EQ(log->Add(a, nullptr), Problem::None);
    }
    WriteWholeFile("out.csv", "an earlier export\n");
    std::filesystem::create_directory("out.csv.new");  // in the way of the usual name beside it

    int asked = 0;
    EXPECT_EQ(ExportCsv(kDatabaseName, "out.csv", &error, [&] { return ++asked > 1000; }), -1);
    EXPECT_EQ(ReadWholeFile("out.csv"), "an earlier export\n") << "stopped half-way";
    EXPECT_EQ(ExportCsv(kDatabaseName, "out.csv", &error), 2000) << error;
    EXPECT_EQ(ReadWholeFile("out.csv").substr(0, 3), "id,");

    struct Case {
        const char* name;
        std::string target;
        std::string why;
    };
    std::filesystem::create_directory("shared");
    ::chmod("shared", 01777);  // as /tmp: anyone may put a link there
    WriteWholeFile("victim.txt", "not ours\n");
    std::filesystem::create_symlink(std::filesystem::absolute("victim.txt"), "shared/out.csv");
    std::filesystem::create_directory("folder.csv");
    const Case cases[] = {
        {"no such folder", "no/such/folder/out.csv", "No such file or directory"},
        {"a link in a folder others can write", "shared/out.csv", "a link that others could change"},
        {"a folder", "folder.csv", "it is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        error.clear();
        EXPECT_EQ(ExportCsv(kDatabaseName, c.target, &error), -1);
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
    EXPECT_EQ(ReadWholeFile("victim.txt"), "not ours\n");
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find("out.csv.new-"), std::string::npos) << "left behind";
}

// The History window counts its histograms from per-day counts that a trigger keeps;
// a database of the first schema gets them from its answers when it is opened.
TEST(History, TheCountsAgreeWithTheAnswersAlsoAfterAnUpgrade)
{
    const std::int64_t now = 1'796'911'402'123;
    const std::int64_t day = 24LL * 3600 * 1000;
    struct Row {
        char mode;
        Verdict verdict;
        int shown;
        std::int64_t ago;
    };
    const Row rows[] = {
        {'a', Verdict::Reaction, 251, 0},          {'a', Verdict::Reaction, 259, 2 * day},
        {'a', Verdict::Reaction, 260, 29 * day},   {'a', Verdict::Reaction, 255, 31 * day},
        {'a', Verdict::FalseStart, -1, 0},         {'b', Verdict::Withheld, -1, day},
        {'b', Verdict::Reaction, 380, 45 * day},   {'c', Verdict::Mistake, -1, 3 * day},
    };
    auto write = [&] {
        Problem problem;
        auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
        ASSERT_TRUE(log);
        for (const Row& r : rows) {
            Answer a;
            a.mode = r.mode;
            a.verdict = r.verdict;
            a.shownMs = r.shown;
            a.utcMillis = now - r.ago;
            ASSERT_EQ(log->Add(a, nullptr), Problem::None);
        }
    };
    auto check = [&] {
        Problem problem;
        auto log = SqliteHistory::OpenForWriting(kDatabaseName, &problem);
        ASSERT_TRUE(log);
        Summary summary;
        ASSERT_TRUE(log->ReadSummary(now, &summary));
        const ModeSummary& a = summary.modes[0];
        EXPECT_EQ(a.answers, 5);
        EXPECT_EQ(a.histogramAll, (std::map<int, int>{{250, 3}, {260, 1}}));
        EXPECT_EQ(a.histogramRecent, (std::map<int, int>{{250, 2}, {260, 1}})) << "the last 30 days";
        EXPECT_EQ(summary.modes[1].answers, 2);
        EXPECT_EQ(summary.modes[1].histogramAll, (std::map<int, int>{{380, 1}}));
        EXPECT_TRUE(summary.modes[1].histogramRecent.empty());
        EXPECT_EQ(summary.modes[2].answers, 1);
        EXPECT_TRUE(summary.modes[2].histogramAll.empty());
    };
    write();
    check();
    // As the first schema left it: no counts.
    Connection("DROP TRIGGER answer_counted; DROP TABLE answer_count; PRAGMA user_version=1;");
    check();
}
