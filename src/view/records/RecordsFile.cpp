// The records file: its coding pass and the readers and writers of its parts.
//
// The operations work on the file as a whole held in memory (records::Image): it is
// read when an operation first needs it and written back whole, by replacing the
// file, never byte by byte in place. An operation on its own writes the file back
// when it is done. Within a start-up or a save (RecordsSequence) the file is
// written back only by the encode pass that ends it, so a crash at any instant
// leaves the file on disk as it was before or as it is after, never half coded.
// A file that cannot be opened makes the operation do nothing.
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

char ByteAt(std::string_view bytes, std::size_t position)
{
    return position < bytes.size() ? bytes[position] : '\0';  // a short file reads as zero bytes
}

}  // namespace

// ---------------------------------------------------------------------------------
// The layout, shared by the operations and by the merge of a save.

Positions records::PositionsFor(int n)
{
    Positions at{n + 3, {}, {}};
    for (int k = 0; k < 13; ++k)
        at.checks[k] = n + 6 + 19 * k;
    for (int j = 0; j < 9; ++j)
        at.values[j] = n + 14 + 19 * j;
    return at;
}

double records::SlotValue(std::string_view plain, int position)
{
    if (ByteAt(plain, position) != '[')
        return 0.0;
    char text[kValueTextLength + 1] = {};
    for (std::size_t i = 0; i < kValueTextLength; ++i)
        text[i] = ByteAt(plain, position + 1 + i);
    return AtoF(std::string_view(text, std::strlen(text)));
}

std::optional<double> records::Majority(const std::array<double, 3>& v)
{
    // The first copy that another one confirms.
    if (v[0] == v[1] || v[0] == v[2])
        return v[0];
    if (v[1] == v[2])
        return v[1];
    return std::nullopt;
}

std::optional<Contents> records::ReadGoodFile(std::string_view plain)
{
    const char* letter = static_cast<const char*>(std::memchr(kShiftAlphabet, ByteAt(plain, kShiftLetterPos), 26));
    if (!letter)
        return std::nullopt;
    const Positions at = PositionsFor(static_cast<int>(letter - kShiftAlphabet));
    for (int check : at.checks)
        for (std::size_t i = 0; i < kCheckMarkLength; ++i)
            if (ByteAt(plain, check + i) != kCheckMark[i])
                return std::nullopt;
    if (ByteAt(plain, at.language) != '[')
        return std::nullopt;
    Contents contents{ByteAt(plain, at.language + 1), {}};
    for (int m = 0; m < 3; ++m) {
        const auto record = Majority({SlotValue(plain, at.values[3 * m]), SlotValue(plain, at.values[3 * m + 1]),
                                      SlotValue(plain, at.values[3 * m + 2])});
        if (!record)
            return std::nullopt;
        contents.records[m] = *record;
    }
    return contents;
}

void records::CodeBytes(std::string& bytes, bool encode)
{
    const std::size_t have = bytes.size();
    if (have < kFileSize)
        bytes.resize(kFileSize);
    // Past the end of a short file each position repeats the byte last written.
    unsigned char b = ' ';
    for (std::size_t i = 0; i < kFileSize; ++i) {
        if (i < have)
            b = static_cast<unsigned char>(bytes[i]);
        const int digit = kFileKey[i % kFileKey.size()];
        const int v = (b & 0x7F) + (encode ? digit : -digit);
        b = static_cast<unsigned char>(v & 0xFF);
        bytes[i] = static_cast<char>(b);
    }
}

// ---------------------------------------------------------------------------------
// The file in memory

std::string* CVeskView::RecordsFileBytes(bool create)
{
    Image& file = m_recordsFile;
    if (!file.loaded) {
        file = Image{};
        file.loaded = true;
        if (auto bytes = File::ReadAll(kIniName)) {
            file.readable = file.existed = true;
            file.onDisk = *bytes;
            file.bytes = std::move(*bytes);
        } else {
            // A missing file is created when it is written back; one that is there
            // but cannot be opened (a refused link, a folder, no rights) is left alone.
            file.readable = File::IsMissing(kIniName);
        }
    }
    if (!file.readable || (!create && !file.existed && file.bytes.empty()))
        return nullptr;
    return &file.bytes;
}

// Writes the file back whole when it changed. Within a sequence a file that was
// missing is made only by a save: a start-up that found none leaves none, so a run
// ended before its save leaves no file that would fail its check at the next start.
void CVeskView::WriteBackRecordsFile()
{
    Image& file = m_recordsFile;
    if (!file.loaded || !file.readable)
        return;
    const bool make = file.existed || file.filled || !m_bRecordsSequence;
    if (make && (!file.existed || file.bytes != file.onDisk)) {
        if (File::Replace(kIniName, file.bytes)) {
            file.onDisk = file.bytes;
            file.existed = true;
        } else {
            m_bRecordsWriteFailed = true;
        }
    }
}

void CVeskView::DropRecordsFile()
{
    m_recordsFile = Image{};
}

// An operation on its own writes the file back at once.
void CVeskView::EndRecordsOperation()
{
    if (!m_bRecordsSequence) {
        WriteBackRecordsFile();
        DropRecordsFile();
    }
}

CVeskView::RecordsSequence::RecordsSequence(CVeskView& view) : m_view(view)
{
    m_view.DropRecordsFile();
    m_view.m_bRecordsSequence = true;
}

CVeskView::RecordsSequence::~RecordsSequence()
{
    m_view.m_bRecordsSequence = false;
    m_view.DropRecordsFile();  // a sequence that did not end with its encode pass writes nothing
}

// ---------------------------------------------------------------------------------
// The operations

void CVeskView::CodeRecordsFile(std::string_view operation)
{
    std::string* bytes = RecordsFileBytes(true);
    if (!bytes)
        return;
    const bool decode = operation == "decode";
    CodeBytes(*bytes, !decode);
    if (!decode)
        WriteBackRecordsFile();  // the pass that ends a sequence
    EndRecordsOperation();
}

void CVeskView::ComputeFilePositions()
{
    CVeskDoc& doc = GetDocument();
    const Positions at = PositionsFor(doc.m_nFileShift);
    doc.m_nLanguagePos = at.language;
    std::copy(at.checks.begin(), at.checks.end(), doc.m_nCheckPos.begin());
    std::copy(at.values.begin(), at.values.end(), doc.m_nValuePos.begin());
}

void CVeskView::ReadRecordsHeader()
{
    CVeskDoc& doc = GetDocument();
    const std::string* bytes = RecordsFileBytes(false);
    if (!bytes) {
        EndRecordsOperation();
        return;
    }
    const std::string_view plain = *bytes;

    if (const char* at = static_cast<const char*>(std::memchr(kShiftAlphabet, ByteAt(plain, kShiftLetterPos), 26)))
        doc.m_nFileShift = static_cast<int>(at - kShiftAlphabet);
    ComputeFilePositions();

    if (ByteAt(plain, doc.m_nLanguagePos) == '[')
        doc.m_chLanguage = ByteAt(plain, doc.m_nLanguagePos + 1);

    for (int k = 0; k < 13; ++k) {
        for (std::size_t i = 0; i < kCheckMarkLength; ++i) {
            if (ByteAt(plain, doc.m_nCheckPos[k] + i) != kCheckMark[i] && !doc.m_bIniMissing) {
                doc.m_bRecordsDamaged = true;
                m_platform.sound.Beep(kDamageBeepHz, kDamageBeepMs);
            }
        }
    }
    EndRecordsOperation();
}

void CVeskView::WriteRecordsHeader()
{
    CVeskDoc& doc = GetDocument();
    std::string* file = RecordsFileBytes(true);
    if (!file) {
        EndRecordsOperation();
        return;
    }

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
    if (file->size() < kFileSize)
        file->resize(kFileSize);
    file->replace(0, kFileSize, bytes);  // bytes past the 295 stay as they are
    m_recordsFile.filled = true;
    EndRecordsOperation();
}

void CVeskView::ReadRecords()
{
    CVeskDoc& doc = GetDocument();
    const std::string* bytes = RecordsFileBytes(false);
    if (!bytes) {
        EndRecordsOperation();
        return;
    }
    for (int m = 0; m < 3; ++m) {
        std::array<double, 3> v{};
        for (int c = 0; c < 3; ++c)
            v[c] = SlotValue(*bytes, doc.m_nValuePos[3 * m + c]);
        if (v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0)
            continue;
        if (const auto record = Majority(v))
            doc.m_dTotalRecord[m] = *record;
        else
            doc.m_bRecordsDamaged = true;
    }
    EndRecordsOperation();
}

void CVeskView::WriteRecords()
{
    CVeskDoc& doc = GetDocument();
    std::string* file = RecordsFileBytes(true);
    if (!file) {
        EndRecordsOperation();
        return;
    }
    if (file->size() < kFileSize)
        file->resize(kFileSize);
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
            file->replace(doc.m_nValuePos[3 * m + c], sizeof slot, slot, sizeof slot);
    }
    m_recordsFile.filled = true;
    EndRecordsOperation();
}
