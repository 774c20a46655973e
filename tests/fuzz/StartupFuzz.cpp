// Runs the whole records start-up on arbitrary records and backup files.
// Input: a flags byte (bit 0: records file present, bit 1: backup present), two
// bytes of records-file length (little-endian), the records file, then the backup.
// It must end within a bounded number of paints, and a record may only come from
// a records file that holds two equal copies of it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/Session.h"
#include "view/records/RecordsFile.h"
#include "view/records/RecordsText.h"

using namespace records;

namespace {

void Write(const char* name, const std::uint8_t* data, std::size_t size)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
}

std::string Read(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How many value slots of mode m in the records file on disk, read at the shift
// the program used, hold exactly record.
int CopiesOnDisk(int m, double record, int shift)
{
    std::string bytes = Read(kIniName);
    if (bytes.size() < kFileSize)
        return 0;
    for (std::size_t i = 0; i < kFileSize; ++i)
        bytes[i] = static_cast<char>(((bytes[i] & 0x7F) - kFileKey[i % kFileKey.size()]) & 0xFF);
    int copies = 0;
    for (int c = 0; c < 3; ++c) {
        const std::size_t pos = static_cast<std::size_t>(shift + 14 + 19 * (3 * m + c));
        if (bytes[pos] != '[')
            continue;
        const std::string text = bytes.substr(pos + 1, kValueTextLength);
        if (AtoF(std::string_view(text.c_str())) == record)
            ++copies;
    }
    return copies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool inScratch = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("kbr_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        return true;
    }();
    (void)inScratch;
    if (size < 3)
        return 0;
    const std::uint8_t flags = data[0];
    const std::size_t iniSize = std::min<std::size_t>(data[1] | (data[2] << 8), size - 3);
    std::filesystem::remove(kIniName);
    std::filesystem::remove(kBakName);
    if (flags & 1)
        Write(kIniName, data + 3, iniSize);
    if (flags & 2)
        Write(kBakName, data + 3 + iniSize, size - 3 - iniSize);

    Session s;
    s.sim.Invalidate(true);
    if (!s.sim.PumpPaints(12) || !s.doc.m_bRecordsLoaded || s.sim.sleeps.size() > 3)
        std::abort();  // the start-up did not come to an end
    for (int m = 0; m < 3; ++m) {
        const double record = s.doc.m_dTotalRecord[m];
        if (record != 0.0 && CopiesOnDisk(m, record, s.doc.m_nFileShift) < 2)
            std::abort();  // a record without two equal copies behind it
    }
    s.view.OnDestroy();
    return 0;
}
