// The records files survive a crash at any instant: a copy of the program that
// starts, improves its record and saves, over and over, is killed (SIGKILL) at
// random moments; after every kill both files must pass their check and the best
// record saved so far must still be there.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "support/ScratchDir.h"
#include "support/Session.h"
#include "view/records/RecordsFile.h"

using namespace records;

namespace {

// The plain form of a coded file.
std::string Decode(std::string coded)
{
    for (std::size_t i = 0; i < coded.size() && i < kFileSize; ++i)
        coded[i] = static_cast<char>(((coded[i] & 0x7F) - kFileKey[i % kFileKey.size()]) & 0xFF);
    return coded;
}

// Starts, improves the mode A record and saves, without end. Every third round
// starts with the records file gone (when the backup holds the same), so the
// start-up restores it from the backup.
[[noreturn]] void PlayForever()
{
    for (int round = 0;; ++round) {
        if (round % 3 == 2 && ReadWholeFile(kIniName) == ReadWholeFile(kBakName))
            std::filesystem::remove(kIniName);
        Session s;
        s.sim.Invalidate(true);
        s.sim.PumpPaints(20);
        const double best = s.doc.m_dTotalRecord[0];
        s.doc.m_dSessionRecord[0] = best == 0.0 ? 900.0 : best - 0.5;
        s.sim.Deliver([&] { s.view.ChooseLanguage("ERLT"[round % 4]); });
        s.view.OnDestroy();
    }
}

}  // namespace

TEST(RecordsCrash, KillsAtRandomMomentsDamageNothingAndLoseNoRecord)
{
    std::mt19937 random(20261210);
    double best = 0.0;  // the best record seen in the files so far
    int damaged = 0, lost = 0, saves = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t pid = ::fork();
        if (pid == 0)
            PlayForever();
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<>(0, 30000)(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        // Each file is there whole or not at all (the records file may be gone only
        // as the player removed it, with the backup holding the records).
        double found = 0.0;
        for (const char* name : {kIniName, kBakName}) {
            if (!FileExists(name))
                continue;
            const auto contents = ReadGoodFile(Decode(ReadWholeFile(name)));
            if (!contents) {
                ++damaged;
                ADD_FAILURE() << name << " damaged after kill " << kill;
                continue;
            }
            if (contents->records[0] > 0.0 && (found == 0.0 || contents->records[0] < found))
                found = contents->records[0];
        }
        if (best != 0.0 && (found == 0.0 || found > best)) {
            ++lost;
            ADD_FAILURE() << "after kill " << kill << " the best record is " << found << ", was " << best;
        }
        if (found != 0.0 && found != best)
            ++saves;
        best = found == 0.0 ? best : std::min(best == 0.0 ? found : best, found);
    }
    EXPECT_GT(saves, 20) << "the kills must fall between saves too";
    std::printf("200 kills: %d damaged files, %d lost records, best record %.1f after %d improvements seen\n",
                damaged, lost, best, saves);
}
