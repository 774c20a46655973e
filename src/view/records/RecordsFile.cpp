// The records file: its coding pass and the readers and writers of its parts.
// Each operation opens the file by its bare name, does its work and closes it;
// a file that cannot be opened makes the operation do nothing.
#include "view/records/RecordsFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/File.h"
#include "view/Format.h"
#include "view/VeskView.h"
#include "view/records/RecordsText.h"

using namespace records;

namespace {

constexpr unsigned kDamageBeepHz = 4000;
constexpr unsigned kDamageBeepMs = 20;

std::optional<File> OpenRecords(FileAccess access, FileShare share)
{
    return File::Open(kIniName, access, share,
                      access == FileAccess::Read ? FileCreation::OpenExisting : FileCreation::OpenAlways);
}

char ReadByte(File& file, std::size_t position)
{
    char byte = 0;  // a short file leaves it so
    file.ReadAt(position, &byte, 1);
    return byte;
}

}  // namespace

// ---------------------------------------------------------------------------------

void CVeskView::CodeRecordsFile(std::string_view operation)
{
    auto file = OpenRecords(FileAccess::ReadWrite, FileShare::Allowed);
    if (!file)
        return;
    const bool decode = operation == "decode";
    char bytes[kFileSize];
    const std::size_t have = file->ReadAt(0, bytes, kFileSize);

    // Past the end of a short file each position repeats the byte last written.
    unsigned char b = ' ';
    for (std::size_t i = 0; i < kFileSize; ++i) {
        if (i < have)
            b = static_cast<unsigned char>(bytes[i]);
        const int digit = kFileKey[i % kFileKey.size()];
        const int v = (b & 0x7F) + (decode ? -digit : digit);
        b = static_cast<unsigned char>(v & 0xFF);
        bytes[i] = static_cast<char>(b);
    }
    file->WriteAt(0, bytes, kFileSize);
}

void CVeskView::ComputeFilePositions()
{
    CVeskDoc& doc = GetDocument();
    const int n = doc.m_nFileShift;
    doc.m_nLanguagePos = n + 3;
    for (int k = 0; k < 13; ++k)
        doc.m_nCheckPos[k] = n + 6 + 19 * k;
    for (int j = 0; j < 9; ++j)
        doc.m_nValuePos[j] = n + 14 + 19 * j;
}

void CVeskView::ReadRecordsHeader()
{
    CVeskDoc& doc = GetDocument();
    auto file = OpenRecords(FileAccess::Read, FileShare::Allowed);
    if (!file)
        return;

    const char letter = ReadByte(*file, kShiftLetterPos);
    if (const char* at = static_cast<const char*>(std::memchr(kShiftAlphabet, letter, 26)))
        doc.m_nFileShift = static_cast<int>(at - kShiftAlphabet);
    ComputeFilePositions();

    if (ReadByte(*file, doc.m_nLanguagePos) == '[')
        doc.m_chLanguage = ReadByte(*file, doc.m_nLanguagePos + 1);

    for (int k = 0; k < 13; ++k) {
        char mark[kCheckMarkLength] = {};
        file->ReadAt(doc.m_nCheckPos[k], mark, kCheckMarkLength);
        for (std::size_t i = 0; i < kCheckMarkLength; ++i) {
            if (mark[i] != kCheckMark[i] && !doc.m_bIniMissing) {
                doc.m_bRecordsDamaged = true;
                m_platform.sound.Beep(kDamageBeepHz, kDamageBeepMs);
            }
        }
    }
}

void CVeskView::WriteRecordsHeader()
{
    CVeskDoc& doc = GetDocument();
    auto file = File::Open(kIniName, FileAccess::Write, FileShare::None, FileCreation::OpenAlways);
    if (!file)
        return;

    // A new shift at every save, from the clock.
    m_random.Seed(static_cast<std::uint32_t>(m_platform.clock.Now().seconds));
    const double scaled = std::fabs((m_random.Next() % 100) * 0.26);
    const int shift = static_cast<int>(std::min(scaled, 25.0));

    // Filler from the seed counter.
    m_random.Seed(static_cast<std::uint32_t>(doc.m_nSeed));
    const int r1 = m_random.Next();
    const int r2 = m_random.Next();
    const int r3 = m_random.Next();
    std::string filler = Format("%d %s %d %s %d %s", r3, "B", r2, "R", r1, "A");
    while (filler.size() < 100)
        filler = filler + "COBRA" + filler;
    std::string bytes = filler.substr(0, 100) + filler.substr(0, 100) + filler.substr(0, 95);

    doc.m_nFileShift = shift;
    bytes[kShiftLetterPos] = kShiftAlphabet[shift];
    ComputeFilePositions();
    bytes[doc.m_nLanguagePos] = '[';
    bytes[doc.m_nLanguagePos + 1] = doc.m_chLanguage;
    for (int k = 0; k < 13; ++k)
        bytes.replace(doc.m_nCheckPos[k], kCheckMarkLength, kCheckMark);
    file->WriteAt(0, bytes.data(), kFileSize);
}

void CVeskView::ReadRecords()
{
    CVeskDoc& doc = GetDocument();
    auto file = OpenRecords(FileAccess::Read, FileShare::Allowed);
    if (!file)
        return;

    for (int m = 0; m < 3; ++m) {
        double v[3] = {};
        for (int c = 0; c < 3; ++c) {
            const int pos = doc.m_nValuePos[3 * m + c];
            if (ReadByte(*file, pos) != '[')
                continue;
            char text[kValueTextLength + 1] = {};
            file->ReadAt(pos + 1, text, kValueTextLength);
            v[c] = AtoF(std::string_view(text, std::strlen(text)));
        }
        if (v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0)
            continue;
        // Two of three: the first copy that another one confirms.
        if (v[0] == v[1] || v[0] == v[2])
            doc.m_dTotalRecord[m] = v[0];
        else if (v[1] == v[2])
            doc.m_dTotalRecord[m] = v[1];
        else
            doc.m_bRecordsDamaged = true;
    }
}

void CVeskView::WriteRecords()
{
    CVeskDoc& doc = GetDocument();
    auto file = OpenRecords(FileAccess::ReadWrite, FileShare::Allowed);
    if (!file)
        return;

    for (int m = 0; m < 3; ++m) {
        const double session = doc.m_dSessionRecord[m];
        double& total = doc.m_dTotalRecord[m];
        if (session > 0.0 && (total == 0.0 || total > session)) {
            total = session;  // a lower time is the better record
            doc.m_chBackupState = 'b';
        }
        // "[" and 9 bytes of text: cut after 9, or ended by zero bytes.
        char slot[1 + kValueTextLength] = {'['};
        const std::string text = GcvtText(total, 10);
        std::memcpy(slot + 1, text.data(), std::min(text.size(), kValueTextLength));
        for (int c = 0; c < 3; ++c)
            file->WriteAt(doc.m_nValuePos[3 * m + c], slot, sizeof slot);
    }
}
