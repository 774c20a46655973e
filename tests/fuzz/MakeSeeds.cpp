// Writes the seed corpus of the start-up fuzzer: good, damaged, short and long
// records files with and without their backup copy. Run it in tests/fuzz/corpus.
#include <filesystem>
#include <fstream>

#include "support/Session.h"
#include "view/records/RecordsFile.h"

using namespace records;

namespace {

std::string GoodFile(std::array<double, 3> session, char language)
{
    std::filesystem::remove(kIniName);
    std::filesystem::remove(kBakName);
    Session writer;
    writer.doc.m_dSessionRecord = session;
    writer.doc.m_chLanguage = language;
    writer.doc.m_bRecordsLoaded = true;  // as after a start-up that found no files
    writer.view.SaveRecords();
    std::ifstream in(kIniName, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(kIniName);
    std::filesystem::remove(kBakName);
    return bytes;
}

void Seed(const char* name, int flags, const std::string& ini, const std::string& bak)
{
    std::ofstream out(name, std::ios::binary);
    out << static_cast<char>(flags) << static_cast<char>(ini.size() & 0xFF) << static_cast<char>(ini.size() >> 8)
        << ini << bak;
}

}  // namespace

int main()
{
    const std::string a = GoodFile({180.3, 0.0, 256.7}, 'L');
    const std::string b = GoodFile({250.5, 301.0, 0.0}, 'R');
    std::string damaged = a;
    damaged[100] ^= 0x11;
    Seed("both-good", 3, a, b);
    Seed("no-backup", 1, a, "");
    Seed("first-run", 0, "", "");
    Seed("damaged-with-backup", 3, damaged, b);
    Seed("damaged-alone", 1, damaged, "");
    Seed("missing-with-backup", 2, "", b);
    Seed("short", 3, "0123456789", b);
    Seed("long", 3, a + std::string(105, 'q'), b);
    Seed("blanks", 3, std::string(kFileSize, ' '), damaged);
    return 0;
}
