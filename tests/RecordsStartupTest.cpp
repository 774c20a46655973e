// Records at start-up and exit, on real files: every outcome of a damaged, missing
// or good records file and backup copy, and the places where the program guards
// the user's files.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>

#include "support/ScratchDir.h"
#include "support/Session.h"
#include "view/records/RecordsFile.h"

using namespace records;

namespace {

const std::string kRestored = "File 'kbr_dorin.ini' was found damaged and recovered from 'kbr_dorin.bak'.";
const std::string kCleared = "File 'kbr_dorin.ini' was found damaged and results were deleted.";
const std::string kBackupBad = "Unfortunately file 'kbr_dorin.bak' was damaged too and results were deleted.";
const std::string kReadOnly = "Records cannot be saved here: 'kbr_dorin.ini' or its folder is read-only.";
const std::string kLinkRefused = "Link 'kbr_dorin.ini' or 'kbr_dorin.bak' not followed: others could change it.";
const std::string kSaveFailed = "Records could not be saved: 'kbr_dorin.ini' is as it was (is the disk full?).";

// The coded records file a run with this mode A record leaves behind (made in a
// directory of its own, so the files of the test stay as they are).
std::string GoodFile(double recordA)
{
    const auto home = std::filesystem::current_path();
    std::filesystem::create_directory("made");
    std::filesystem::current_path("made");
    Session writer;
    writer.doc.m_dSessionRecord = {recordA, 0.0, 0.0};
    writer.doc.m_bRecordsLoaded = true;  // as after a start-up that found no files
    writer.view.SaveRecords();
    const std::string bytes = ReadWholeFile(kIniName);
    std::filesystem::current_path(home);
    std::filesystem::remove_all("made");
    return bytes;
}

// Changes the records file in its decoded form, as someone who knows the format
// would, and codes it again; edit gets the positions of the file's fields.
void EditPlainRecordsFile(const std::function<void(std::string&, const CVeskDoc&)>& edit)
{
    Session editor;
    editor.view.CodeRecordsFile("decode");
    editor.view.ReadRecordsHeader();
    std::string plain = ReadWholeFile(kIniName);
    edit(plain, editor.doc);
    WriteWholeFile(kIniName, plain);
    editor.view.CodeRecordsFile("encode");
}

// The records messages drawn so far, in order.
std::vector<std::string> Messages(const Session& s)
{
    std::vector<std::string> found;
    for (const auto& t : s.sim.screen.textLog)
        if (t.text == kRestored || t.text == kCleared || t.text == kBackupBad || t.text == kReadOnly ||
            t.text == kLinkRefused || t.text == kSaveFailed)
            found.push_back(t.text);
    return found;
}

// Starts a session on the files in the working directory; false when the
// start-up did not settle.
bool Start(Session& s)
{
    s.sim.Invalidate(true);
    return s.sim.PumpPaints(20);
}

}  // namespace

TEST(RecordsStartup, EveryOutcomeOfTheTwoFiles)
{
    const std::string good = GoodFile(180.3);
    const std::string backup = GoodFile(250.5);
    const std::string garbage(kFileSize, 'Z');
    const std::optional<std::string> none;

    struct Case {
        const char* name;
        std::optional<std::string> ini, bak;
        std::vector<std::string> messages;
        double recordA;
        bool backupAtExit;
    };
    const Case cases[] = {
        {"both good", good, good, {}, 180.3, false},
        {"records damaged, backup good", garbage, backup, {kRestored}, 250.5, false},
        {"records damaged, no backup", garbage, none, {kCleared}, 0.0, true},
        {"both damaged", garbage, garbage, {kRestored, kBackupBad}, 0.0, false},
        {"records missing, backup good", none, backup, {kRestored}, 250.5, false},
        {"records missing, backup damaged", none, garbage, {kRestored, kRestored, kBackupBad}, 0.0, false},
        {"first run", none, none, {}, 0.0, true},
        {"records of 10 bytes", std::string("0123456789"), backup, {kRestored}, 250.5, false},
        {"records of 400 bytes", good + std::string(105, 'q'), good, {}, 180.3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kIniName);
        std::filesystem::remove(kBakName);
        if (c.ini)
            WriteWholeFile(kIniName, *c.ini);
        if (c.bak)
            WriteWholeFile(kBakName, *c.bak);

        Session s;
        ASSERT_TRUE(Start(s));
        EXPECT_EQ(Messages(s), c.messages);
        EXPECT_EQ(s.sim.sleeps, std::vector<std::uint32_t>(c.messages.size(), 7000));
        EXPECT_EQ(s.doc.m_dTotalRecord[0], c.recordA);
        EXPECT_TRUE(s.doc.m_bRecordsLoaded);
        EXPECT_TRUE(s.Shows("    KBR_DORIN belongs to ''Arvenlo'' series.")) << "the start page follows";

        const std::string bakBefore = FileExists(kBakName) ? ReadWholeFile(kBakName) : "";
        s.view.OnDestroy();
        EXPECT_EQ(s.doc.m_chBackupState == 'B', c.backupAtExit);
        EXPECT_EQ(ReadWholeFile(kBakName) != bakBefore, c.backupAtExit);
        if (c.backupAtExit) {
            EXPECT_EQ(ReadWholeFile(kBakName), ReadWholeFile(kIniName).substr(0, kFileSize));
        }

        // Whatever happened, the next run finds both files good and the same records.
        Session next;
        ASSERT_TRUE(Start(next));
        EXPECT_TRUE(Messages(next).empty());
        EXPECT_EQ(next.doc.m_dTotalRecord[0], c.recordA);
    }
}

TEST(RecordsStartup, ClearedFileHoldsBlanksAndMessagesStandCentred)
{
    WriteWholeFile(kIniName, std::string(kFileSize, 'Z'));
    Session s;
    ASSERT_TRUE(Start(s));
    EXPECT_EQ(ReadWholeFile(kIniName), std::string(kFileSize, ' '));
    const auto& message = s.sim.screen.textLog.front();
    EXPECT_EQ(message.text, kCleared);
    EXPECT_EQ(message.font, RecordingCanvas::kDefaultFont) << "no font of the view is selected yet";
    const int width = static_cast<int>(kCleared.size()) * RecordingCanvas::kDefaultFont.width;
    EXPECT_EQ((Point{message.x, message.y}), (Point{(552 - width) / 2, (263 - 16) / 2 - 20}));

    WriteWholeFile(kIniName, std::string(kFileSize, 'Z'));
    WriteWholeFile(kBakName, std::string(kFileSize, 'Z'));
    Session both;
    ASSERT_TRUE(Start(both));
    const auto& last = both.sim.screen.textLog[1];
    EXPECT_EQ(last.text, kBackupBad);
    EXPECT_EQ(last.y, (263 - 16) / 2 - 20 + 20) << "the second message stands 20 pixels lower";
}

TEST(RecordsStartup, OneChangedCheckMarkByteBringsBackTheBackupsRecords)
{
    WriteWholeFile(kIniName, GoodFile(180.3));
    WriteWholeFile(kBakName, GoodFile(250.5));
    EditPlainRecordsFile([](std::string& plain, const CVeskDoc& at) { plain[at.m_nCheckPos[7] + 2] = 'x'; });
    Session s;
    ASSERT_TRUE(Start(s));
    EXPECT_EQ(Messages(s), std::vector<std::string>{kRestored});
    EXPECT_EQ(s.sim.beeps.size(), 1u);
    EXPECT_EQ(s.doc.m_dTotalRecord[0], 250.5);
}

// A run ended between the two renames of its save leaves the backup copy behind the
// records file. The next start-up brings the copy up to the file, so that when the
// file is damaged later, its restore gives back what the file held.
TEST(RecordsStartup, ABackupCopyThatLagsBehindIsBroughtUpToTheFile)
{
    struct Case {
        const char* name;
        double iniRecord, bakRecord;  // mode A; 0: the copy is damaged
        double agreed;
    };
    const Case cases[] = {
        {"the copy is older", 180.3, 250.5, 180.3},
        {"the copy is damaged", 180.3, 0.0, 180.3},
        {"the copy holds the better record", 250.5, 180.3, 180.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(kIniName, GoodFile(c.iniRecord));
        WriteWholeFile(kBakName, c.bakRecord > 0.0 ? GoodFile(c.bakRecord) : std::string(kFileSize, 'Z'));
        {
            Session s;
            ASSERT_TRUE(Start(s));
            EXPECT_TRUE(Messages(s).empty());
            EXPECT_EQ(s.doc.m_dTotalRecord[0], c.agreed);
            EXPECT_EQ(ReadWholeFile(kBakName), ReadWholeFile(kIniName)) << "agreed at start-up";
            // Killed: no save at exit.
        }
        EditPlainRecordsFile([](std::string& plain, const CVeskDoc& at) { plain[at.m_nCheckPos[3] + 1] = 'x'; });
        Session after;
        ASSERT_TRUE(Start(after));
        EXPECT_EQ(Messages(after), std::vector<std::string>{kRestored});
        EXPECT_EQ(after.doc.m_dTotalRecord[0], c.agreed) << "the restore goes back on nothing";
    }
}

// The restore is told in the language the backup copy holds, whatever the damaged
// file gave (here an English default: its language letter is gone).
TEST(RecordsStartup, TheRestoreIsToldInTheBackupsLanguage)
{
    {
        Session russian;
        ASSERT_TRUE(Start(russian));
        russian.sim.Deliver([&] { russian.view.ChooseLanguage('R'); });
        russian.view.OnDestroy();
    }
    WriteWholeFile(kIniName, std::string(kFileSize, 'Z'));
    Session s;
    ASSERT_TRUE(Start(s));
    ASSERT_FALSE(s.sim.screen.textLog.empty());
    EXPECT_EQ(s.sim.screen.textLog.front().text,
              "Fail 'kbr_dorin.ini' naiden isportcen i vastanovlen pa 'kbr_dorin.bak'.");
    EXPECT_EQ(s.doc.m_chLanguage, 'R');
}

TEST(RecordsStartup, RecordsAndLanguageOutliveTheRun)
{
    {
        Session first;
        ASSERT_TRUE(Start(first));
        first.Press(key::A);
        for (int i = 0; i < 10; ++i)
            first.AnswerWithReaction(200 + i);
        first.sim.Deliver([&] { first.view.ChooseLanguage('L'); });
        first.view.OnDestroy();
    }
    Session second;
    ASSERT_TRUE(Start(second));
    EXPECT_EQ(second.doc.m_chLanguage, 'L');
    EXPECT_EQ(second.doc.m_dTotalRecord[0], 204.5);
    second.Press(key::A);
    EXPECT_TRUE(second.Shows("204.5 ms - absoliutus rekordas."));
}

// --- where the program guards the user's files ---------------------------------------------

#ifndef _WIN32  // POSIX permissions, links, processes and limits
// Records files that can be read but not written: the records are read and shown,
// the user is told once that they cannot be saved here, and nothing is written. A
// damaged one can neither be restored nor cleared: the start-up must not show its
// message and pause on every paint forever.
TEST(RecordsStartup, ReadOnlyRecordsAreShownAndLeftAsTheyAre)
{
    struct Case {
        const char* name;
        mode_t iniMode, folderMode;
        bool damaged;
        std::vector<std::string> messages;
        double recordA;
    };
    const Case cases[] = {
        {"file read-only", 0444, 0777, false, {kReadOnly}, 180.3},
        {"folder read-only", 0644, 0555, false, {kReadOnly}, 180.3},
        {"damaged file read-only", 0444, 0777, true, {kReadOnly}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::chmod(".", 0700);
        std::filesystem::remove(kIniName);
        std::filesystem::remove(kBakName);
        WriteWholeFile(kIniName, c.damaged ? std::string(kFileSize, 'Z') : GoodFile(180.3));
        WriteWholeFile(kBakName, GoodFile(250.5));
        ::chmod(kIniName, c.iniMode);
        ::chmod(kBakName, c.iniMode);
        ::chmod(".", c.folderMode);
        const std::string ini = ReadWholeFile(kIniName), bak = ReadWholeFile(kBakName);

        // Root may write anything, so the run takes an ordinary user's rights.
        EXPECT_EXIT(
            {
                if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                    std::_Exit(3);
                Session s;
                const bool settled = Start(s);
                const double shown = s.doc.m_dTotalRecord[0];
                s.doc.m_dSessionRecord[0] = 100.0;
                s.view.OnDestroy();
                const bool told = Messages(s) == c.messages;
                const bool paused = s.sim.sleeps.size() == (c.damaged ? 2u : 1u);  // a failed recovery, the notice
                std::_Exit(!settled ? 1 : !told ? 2 : !paused ? 4 : shown != c.recordA ? 5
                          : s.doc.m_nNotices != 0 ? 6 : 0);
            },
            testing::ExitedWithCode(0), "");
        ::chmod(".", 0700);
        EXPECT_EQ(ReadWholeFile(kIniName), ini);
        EXPECT_EQ(ReadWholeFile(kBakName), bak);
    }
}
#endif

#ifndef _WIN32
// A folder under a records file's name: the records cannot be saved, and the
// notice says why (not that the folder is read-only, nor later that the disk is full).
TEST(RecordsStartup, AFolderUnderARecordsFilesNameIsSaidForWhatItIs)
{
    const std::string kNotAFile = "Records cannot be saved here: 'kbr_dorin.ini' or 'kbr_dorin.bak' is not a file.";
    for (const char* folder : {kIniName, kBakName}) {
        SCOPED_TRACE(folder);
        for (const char* name : {kIniName, kBakName})
            std::filesystem::remove_all(name);
        WriteWholeFile(folder == kIniName ? kBakName : kIniName, GoodFile(180.3));
        std::filesystem::create_directory(folder);
        Session s;
        ASSERT_TRUE(Start(s));
        s.doc.m_dSessionRecord[0] = 100.0;
        s.view.OnDestroy();
        std::vector<std::string> told;
        for (const auto& t : s.sim.screen.textLog)
            if (t.text.rfind("Records", 0) == 0)
                told.push_back(t.text);
        EXPECT_EQ(told, std::vector<std::string>{kNotAFile});
        EXPECT_EQ(s.sim.sleeps.size(), 1u) << "no restore tried over a folder, no pause without a message";
        EXPECT_EQ(s.doc.m_nNotices, 0u) << "nothing more to tell at the end";
        EXPECT_TRUE(std::filesystem::is_directory(folder));
    }
    for (const char* name : {kIniName, kBakName})
        std::filesystem::remove_all(name);
}

// A folder under the name a save writes beside the file (left there by anyone)
// does not keep the records from being saved.
TEST(RecordsStartup, AFolderInTheWayOfTheSaveDoesNotStopIt)
{
    WriteWholeFile(kIniName, GoodFile(180.3));
    WriteWholeFile(kBakName, GoodFile(180.3));
    std::filesystem::create_directory(std::string(kIniName) + ".new");
    {
        Session s;
        ASSERT_TRUE(Start(s));
        s.doc.m_dSessionRecord[0] = 100.0;
        s.view.OnDestroy();
        EXPECT_EQ(s.doc.m_nNotices, 0u) << "no save failed";
    }
    Session next;
    ASSERT_TRUE(Start(next));
    EXPECT_EQ(next.doc.m_dTotalRecord[0], 100.0);
    std::filesystem::remove_all(std::string(kIniName) + ".new");
}

// Notices that wait at the start are shown together, one under another, for one
// pause that a key may end; the page follows.
TEST(RecordsStartup, NoticesAreShownTogetherForOnePause)
{
    WriteWholeFile("target", GoodFile(180.3));
    std::filesystem::create_symlink("target", kIniName);
    ::chmod(".", 0777);  // a link others could have planted is refused
    Session s;
    s.doc.m_nNotices |= notice::kDataFolder | notice::kHistoryWaiting;
    ASSERT_TRUE(Start(s));
    ::chmod(".", 0700);
    const std::string kDataFolder = "Data folder cannot be used; records are kept in the folder it was started in.";
    const std::string kWaiting = "'kbr_dorin.db' is in use by another program: answers are kept once it is free.";
    std::vector<DrawnText> told;
    for (const auto& t : s.sim.screen.textLog)
        if (t.text == kDataFolder || t.text == kLinkRefused || t.text == kWaiting)
            told.push_back(t);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0].text, kDataFolder);
    EXPECT_EQ(told[1].text, kLinkRefused);
    EXPECT_EQ(told[2].text, kWaiting);
    EXPECT_LT(told[0].y + 16, told[1].y) << "one under another";
    EXPECT_LT(told[1].y + 16, told[2].y);
    EXPECT_EQ(s.sim.sleeps, std::vector<std::uint32_t>{7000}) << "one pause for all";
    EXPECT_EQ(s.sim.sleepsUntilInput, 1);
    EXPECT_EQ(s.doc.m_nNotices, 0u);
    EXPECT_TRUE(s.Shows("    KBR_DORIN belongs to ''Arvenlo'' series.")) << "the start page follows";
    std::filesystem::remove(kIniName);
    std::filesystem::remove("target");
    std::filesystem::remove(kBakName);
}
#endif

#ifndef _WIN32  // POSIX permissions, links, processes and limits
// A user may keep the records files as links (into a synced folder, say): a link
// of the user's own in a folder nobody else may write to is followed, and the
// records are saved into its target, the link staying a link. A link that someone
// else could have planted is refused, never read or written through, and the user
// is told.
TEST(RecordsStartup, RecordsFilesAreKeptThroughTheUsersOwnLinksOnly)
{
    const std::string backup = GoodFile(250.5);
    struct Case {
        const char* linked;
        mode_t folderMode;
        bool followed;
    };
    const Case cases[] = {
        {kIniName, 0700, true},
        {kBakName, 0700, true},
        {kIniName, 0777, false},
        {kBakName, 0770, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.linked << " in a folder of mode " << std::oct << c.folderMode);
        ::chmod(".", 0700);
        for (const char* name : {kIniName, kBakName, "target"})
            std::filesystem::remove(name);
        WriteWholeFile("target", c.linked == kIniName ? GoodFile(180.3) : backup);
        const std::string before = ReadWholeFile("target");
        if (c.linked == kIniName)
            WriteWholeFile(kBakName, backup);
        else
            WriteWholeFile(kIniName, GoodFile(180.3));
        std::filesystem::create_symlink("target", c.linked);
        ::chmod(".", c.folderMode);

        Session s;
        ASSERT_TRUE(Start(s));
        EXPECT_EQ(s.doc.m_dTotalRecord[0], c.followed || c.linked == kBakName ? 180.3 : 0.0)
            << "a refused records file brings no records";
        EXPECT_EQ(Messages(s), c.followed ? std::vector<std::string>{} : std::vector<std::string>{kLinkRefused});
        EXPECT_EQ(s.sim.sleeps.size(), Messages(s).size()) << "no pause without a message";
        s.doc.m_dSessionRecord[0] = 150.0;
        s.view.OnDestroy();

        EXPECT_TRUE(std::filesystem::is_symlink(c.linked));
        if (!c.followed) {
            EXPECT_EQ(ReadWholeFile("target"), before);
            continue;
        }
        EXPECT_NE(ReadWholeFile("target"), before) << "saved into the link's target";
        Session next;
        ASSERT_TRUE(Start(next));
        EXPECT_TRUE(Messages(next).empty());
        EXPECT_EQ(next.doc.m_dTotalRecord[0], 150.0);
    }
    ::chmod(".", 0700);
}
#endif

#ifndef _WIN32  // POSIX permissions, links, processes and limits
// Two copies of the program closing at the same moment take turns.
TEST(RecordsStartup, SavesOfTwoCopiesAtOnceLeaveAGoodFile)
{
    WriteWholeFile(kIniName, GoodFile(300.0));
    std::vector<pid_t> copies;
    for (double record : {210.0, 220.0}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int i = 0; i < 40; ++i) {
                Session s;
                s.doc.m_bRecordsLoaded = true;
                s.doc.m_dSessionRecord = {record, record, record};
                s.view.SaveRecords();
            }
            std::_Exit(0);
        }
        copies.push_back(pid);
    }
    for (pid_t pid : copies) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Session s;
    ASSERT_TRUE(Start(s));
    EXPECT_TRUE(Messages(s).empty());
    EXPECT_TRUE(s.doc.m_dTotalRecord[0] == 210.0 || s.doc.m_dTotalRecord[0] == 220.0) << s.doc.m_dTotalRecord[0];
}
#endif

// Mode A reads well, mode C's three copies all differ: the file is damaged, and
// its mode A record must not survive into the run over the restored copy.
TEST(RecordsStartup, DamagedFileBringsNoRecordsAtAll)
{
    WriteWholeFile(kBakName, GoodFile(0.0));
    WriteWholeFile(kIniName, GoodFile(180.3));
    EditPlainRecordsFile([](std::string& plain, const CVeskDoc& at) {
        const char* copies[] = {"[101.", "[102.", "[103."};
        for (int c = 0; c < 3; ++c)
            plain.replace(at.m_nValuePos[6 + c], 5, copies[c]);
    });
    Session s;
    ASSERT_TRUE(Start(s));
    EXPECT_EQ(Messages(s), std::vector<std::string>{kRestored});
    EXPECT_EQ(s.doc.m_dTotalRecord[0], 0.0);
}

// Copy Y starts, copy X starts, sets a better record and a language, and ends; Y
// ends later. Y's save keeps X's record and X's language, unless Y chose one too.
TEST(RecordsStartup, ASaveKeepsWhatAnotherCopySavedMeanwhile)
{
    for (bool yChoosesLanguage : {false, true}) {
        SCOPED_TRACE(yChoosesLanguage);
        std::filesystem::remove(kIniName);
        std::filesystem::remove(kBakName);
        WriteWholeFile(kIniName, GoodFile(300.0));
        Session y, x;
        ASSERT_TRUE(Start(y));
        ASSERT_TRUE(Start(x));
        x.doc.m_dSessionRecord = {152.0, 0.0, 410.0};
        x.sim.Deliver([&] { x.view.ChooseLanguage('L'); });
        x.view.OnDestroy();

        y.doc.m_dSessionRecord = {248.3, 199.0, 420.0};
        if (yChoosesLanguage)
            y.sim.Deliver([&] { y.view.ChooseLanguage('R'); });
        y.view.OnDestroy();

        Session next;
        ASSERT_TRUE(Start(next));
        EXPECT_TRUE(Messages(next).empty());
        EXPECT_EQ(next.doc.m_dTotalRecord, (std::array<double, 3>{152.0, 199.0, 410.0})) << "the better of each mode";
        EXPECT_EQ(next.doc.m_chLanguage, yChoosesLanguage ? 'R' : 'L') << "the later choice";
    }
}

// The program ended while a records message shows (the start-up not done): the
// file just restored keeps its records, and no backup copy is made from it.
TEST(RecordsStartup, NothingIsSavedBeforeTheStartupIsDone)
{
    const std::string backup = GoodFile(250.5);
    WriteWholeFile(kIniName, std::string(kFileSize, 'Z'));
    WriteWholeFile(kBakName, backup);
    Session s;
    s.sim.Invalidate(true);
    s.sim.PumpPaints(2);  // the blank first paint, then the restore and its message
    ASSERT_EQ(Messages(s), std::vector<std::string>{kRestored});
    ASSERT_FALSE(s.doc.m_bRecordsLoaded);
    s.doc.m_chLanguage = 'R';
    s.view.OnDestroy();
    EXPECT_EQ(ReadWholeFile(kIniName), backup);
    EXPECT_EQ(ReadWholeFile(kBakName), backup);

    Session next;
    ASSERT_TRUE(Start(next));
    EXPECT_TRUE(Messages(next).empty());
    EXPECT_EQ(next.doc.m_dTotalRecord[0], 250.5);
}

#ifndef _WIN32  // POSIX permissions, links, processes and limits
// A save that cannot be completed (here: no byte may be written, as on a full
// disk) leaves the files as they were, or none on a first run, and says so.
TEST(RecordsStartup, ASaveThatCannotCompleteLeavesTheFilesAndSaysSo)
{
    for (bool firstRun : {true, false}) {
        SCOPED_TRACE(firstRun);
        std::filesystem::remove(kIniName);
        std::filesystem::remove(kBakName);
        if (!firstRun) {
            WriteWholeFile(kIniName, GoodFile(180.3));
            WriteWholeFile(kBakName, GoodFile(180.3));
        }
        const auto before = std::make_pair(ReadWholeFile(kIniName), ReadWholeFile(kBakName));
        Session s;
        ASSERT_TRUE(Start(s));
        s.doc.m_dSessionRecord[0] = 120.0;
        s.sim.Deliver([&] { s.view.ChooseLanguage('T'); });

        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto xfsz = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit none = saved;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
        s.view.OnDestroy();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, xfsz);

        EXPECT_EQ(FileExists(kIniName), !firstRun);
        EXPECT_EQ(FileExists(kBakName), !firstRun);
        EXPECT_EQ(std::make_pair(ReadWholeFile(kIniName), ReadWholeFile(kBakName)), before);
        EXPECT_FALSE(FileExists(std::string(kIniName) + ".new")) << "nothing left beside them";
        s.Repaint();
        const auto& log = s.sim.screen.textLog;
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const auto& t) {
                      return t.text == "Rezultatu issaugoti nepavyko: 'kbr_dorin.ini' liko koks buvo (diskas pilnas?).";
                  }), 1) << "in the language of the run";
    }
}
#endif

// What another copy left may be anything: a save over a short or damaged file
// takes nothing from it and writes a good one.
TEST(RecordsStartup, ASaveOverAShortOrDamagedFileWritesAGoodOne)
{
    for (const std::string left : {std::string(), std::string("0123456789"), std::string(kFileSize, 'Z')}) {
        SCOPED_TRACE(left.size());
        Session s;
        ASSERT_TRUE(Start(s));
        WriteWholeFile(kIniName, left);
        s.doc.m_dSessionRecord[0] = 190.5;
        s.view.OnDestroy();
        Session next;
        ASSERT_TRUE(Start(next));
        EXPECT_TRUE(Messages(next).empty());
        EXPECT_EQ(next.doc.m_dTotalRecord[0], 190.5);
        std::filesystem::remove(kIniName);
        std::filesystem::remove(kBakName);
    }
}
