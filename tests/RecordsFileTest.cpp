// The records file on real files in a scratch directory: coding, layout, value
// texts, the majority of three copies, the merge of records and the check marks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "support/ScratchDir.h"
#include "support/Session.h"
#include "view/records/RecordsFile.h"
#include "view/records/RecordsText.h"

using namespace records;

namespace {

// The seconds of the clock that make a save choose the given shift.
std::int64_t SecondsForShift(int shift)
{
    for (std::int64_t s = 1'700'000'000;; ++s) {
        RuntimeRandom random;
        random.Seed(static_cast<std::uint32_t>(s));
        if (static_cast<int>(std::min((random.Next() % 100) * 0.26, 25.0)) == shift)
            return s;
    }
}

// A plain (decoded) records file with the given shift, language and records.
void WritePlainFile(Session& s, int shift, std::array<double, 3> records, char language = 'E')
{
    s.sim.startSeconds = SecondsForShift(shift);
    s.doc.m_chLanguage = language;
    s.doc.m_dTotalRecord = records;
    s.view.WriteRecordsHeader();
    s.view.WriteRecords();
}

void PutSlot(std::string& bytes, int pos, const char* text)
{
    char slot[10] = {};
    std::memcpy(slot, text, std::min<size_t>(std::strlen(text), 10));
    bytes.replace(pos, 10, slot, 10);
}

}  // namespace

TEST(RecordsFile, EncodeThenDecodeGivesBackEveryPlainByte)
{
    std::string plain(kFileSize, '\0');
    for (size_t i = 0; i < kFileSize; ++i)
        plain[i] = static_cast<char>(i % 0x77);  // every byte a plain file can hold, at every key digit
    WriteWholeFile(kIniName, plain);
    Session s;
    s.view.CodeRecordsFile("encode");
    const std::string coded = ReadWholeFile(kIniName);
    EXPECT_NE(coded, plain);
    for (char c : coded)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    s.view.CodeRecordsFile("decode");
    EXPECT_EQ(ReadWholeFile(kIniName), plain);
}

TEST(RecordsFile, CodingMakesAnyFileAtLeast295BytesAndLeavesTheRestAlone)
{
    Session s;
    s.view.CodeRecordsFile("decode");
    EXPECT_EQ(ReadWholeFile(kIniName).size(), kFileSize) << "a missing file is created";

    WriteWholeFile(kIniName, "0123456789");
    s.view.CodeRecordsFile("encode");
    EXPECT_EQ(ReadWholeFile(kIniName).size(), kFileSize);

    const std::string tail(105, 'q');
    WriteWholeFile(kIniName, std::string(kFileSize, 'A') + tail);
    s.view.CodeRecordsFile("encode");
    const std::string after = ReadWholeFile(kIniName);
    ASSERT_EQ(after.size(), 400u);
    EXPECT_EQ(after.substr(kFileSize), tail);
}

TEST(RecordsFile, FieldsStandAtTheShiftedPositions)
{
    for (int shift : {0, 25}) {
        SCOPED_TRACE(shift);
        Session s;
        s.doc.m_nSeed = 473;
        WritePlainFile(s, shift, {180.3, 0.0, 256.7}, 'L');
        const std::string bytes = ReadWholeFile(kIniName);
        ASSERT_EQ(bytes.size(), kFileSize);
        EXPECT_EQ(s.doc.m_nFileShift, shift);
        EXPECT_EQ(bytes[kShiftLetterPos], kShiftAlphabet[shift]);
        EXPECT_EQ(bytes.substr(shift + 3, 2), "[L");
        for (int k = 0; k < 13; ++k)
            EXPECT_EQ(bytes.substr(shift + 6 + 19 * k, 7), "CONSTAN") << k;
        const char* values[] = {"180.3", "0.", "256.7"};
        for (int j = 0; j < 9; ++j) {
            std::string expected = std::string("[") + values[j / 3];
            expected.resize(10, '\0');
            EXPECT_EQ(bytes.substr(shift + 14 + 19 * j, 10), expected) << j;
        }
        // The filler: three numbers of the seeded generator, last drawn first.
        RuntimeRandom random;
        random.Seed(473);
        const int r1 = random.Next(), r2 = random.Next(), r3 = random.Next();
        std::string filler = std::to_string(r3) + " B " + std::to_string(r2) + " R " + std::to_string(r1) + " A";
        while (filler.size() < 100)
            filler = filler + "COBRA" + filler;
        EXPECT_EQ(bytes.substr(0, 3), filler.substr(0, 3));
        EXPECT_EQ(bytes.substr(kFileSize - 24), filler.substr(71, 24));
    }
}

TEST(RecordsFile, ShiftAlphabetHoldsEachCapitalOnce)
{
    const std::set<char> letters(kShiftAlphabet, kShiftAlphabet + 26);
    EXPECT_EQ(letters.size(), 26u);
    EXPECT_EQ(*letters.begin(), 'A');
    EXPECT_EQ(*letters.rbegin(), 'Z');
    EXPECT_EQ(kShiftAlphabet[26], ' ');
}

TEST(RecordsFile, ValueTextIsWrittenLikeGcvtWithTenDigits)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {180.3, "180.3"},        {0.0, "0."},           {256.7, "256.7"},       {180.0, "180."},
        {245.25, "245.25"},      {1234567.891, "1234567.891"}, {9999999999.0, "9999999999."},
        {0.1, "0.1"},            {0.05, "5.e-002"},     {12345678901.0, "1.23456789e+010"},
        {0.0999999999999, "0.1"}, {-0.05, "-5.e-002"},
        {0.00001, "1.e-005"},    {1.0 / 3.0, "0.3333333333"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GcvtText(c.value, 10), c.text) << c.value;
}

TEST(RecordsFile, NumberTextsReadLikeTheRuntime)
{
    struct Case {
        const char* text;
        double f;
        long l;
    };
    const Case cases[] = {
        {"180.3", 180.3, 180},    {"  42abc", 42.0, 42}, {"+7", 7.0, 7},     {"-12.5", -12.5, -12},
        {"", 0.0, 0},             {"abc", 0.0, 0},       {"+-5", 0.0, 0},    {"99999999999", 99999999999.0, 0},
        {"1e999", HUGE_VAL, 1},   {"-1e400", -HUGE_VAL, -1}, {"1e-400", 0.0, 1}, {"2147483647", 2147483647.0, 2147483647},
        // no numbers to the classic runtime
        {"inf", 0.0, 0},          {"nan", 0.0, 0},       {"-infinity", 0.0, 0}, {"0x1p3", 0.0, 0},
        {".5", 0.5, 0},           {"-.5e1", -5.0, 0},    {".e1", 0.0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AtoF(c.text), c.f) << c.text;
        EXPECT_EQ(AtoL(c.text), c.l) << c.text;
    }
}

TEST(RecordsFile, TwoOfThreeCopiesDecideTheRecord)
{
    struct Case {
        const char* copies[3];
        double record;
        bool damaged;
    };
    const Case cases[] = {
        {{"[180.3", "[180.3", "[190."}, 180.3, false},
        {{"[190.", "[180.3", "[180.3"}, 180.3, false},
        {{"[0.", "[0.", "[180.3"}, 0.0, false},
        {{"[180.3", "[190.", "[200.1"}, 77.5, true},
        {{"180.3", "180.3", "180.3"}, 77.5, false},  // no "[": nothing read
        {{"[0.", "[0.", "[0."}, 77.5, false},       // all zero: no record stored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.copies[0] << " " << c.copies[1] << " " << c.copies[2]);
        Session s;
        WritePlainFile(s, 5, {0.0, 0.0, 0.0});
        std::string bytes = ReadWholeFile(kIniName);
        for (int copy = 0; copy < 3; ++copy)
            PutSlot(bytes, 5 + 14 + 19 * (3 + copy), c.copies[copy]);  // mode B
        WriteWholeFile(kIniName, bytes);

        s.doc.m_dTotalRecord = {11.0, 77.5, 33.0};
        s.view.ReadRecordsHeader();
        s.view.ReadRecords();
        EXPECT_EQ(s.doc.m_dTotalRecord[1], c.record);
        EXPECT_EQ(s.doc.m_bRecordsDamaged, c.damaged);
        EXPECT_EQ(s.doc.m_dTotalRecord[0], 11.0) << "three zero copies leave a record as it was";
    }
}

TEST(RecordsFile, BetterSessionRecordsReplaceTheTotalOnSave)
{
    struct Case {
        double session, total, after;
        bool backup;
    };
    const Case cases[] = {
        {175.0, 180.3, 175.0, true},
        {185.0, 180.3, 180.3, false},
        {0.0, 180.3, 180.3, false},
        {190.0, 0.0, 190.0, true},
        {0.0, 0.0, 0.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.session << " vs " << c.total);
        Session s;
        s.doc.m_dSessionRecord = {0.0, 0.0, c.session};
        s.doc.m_dTotalRecord = {0.0, 0.0, c.total};
        s.view.WriteRecordsHeader();
        s.view.WriteRecords();
        EXPECT_EQ(s.doc.m_dTotalRecord[2], c.after);
        EXPECT_EQ(s.doc.m_chBackupState, c.backup ? 'b' : ' ');

        Session reader;
        reader.view.ReadRecordsHeader();
        reader.view.ReadRecords();
        EXPECT_EQ(reader.doc.m_dTotalRecord[2], c.after) << "what was written reads back";
    }
}

TEST(RecordsFile, ShiftLetterOutsideTheAlphabetKeepsTheShift)
{
    Session s;
    WritePlainFile(s, 0, {1.0, 2.0, 3.0});
    std::string bytes = ReadWholeFile(kIniName);
    bytes[kShiftLetterPos] = ' ';
    WriteWholeFile(kIniName, bytes);
    s.doc.m_nFileShift = 7;
    s.view.ReadRecordsHeader();
    EXPECT_EQ(s.doc.m_nFileShift, 7);
    EXPECT_EQ(s.doc.m_nLanguagePos, 10);
}

TEST(RecordsFile, ChangedCheckMarkBeepsOnceUnlessTheFileWasMissing)
{
    for (bool iniMissing : {false, true}) {
        SCOPED_TRACE(iniMissing);
        Session s;
        WritePlainFile(s, 12, {1.0, 2.0, 3.0}, 'R');
        std::string bytes = ReadWholeFile(kIniName);
        bytes[12 + 6 + 19 * 4 + 6] = 'X';  // the last letter of check mark 4
        WriteWholeFile(kIniName, bytes);
        s.doc.m_chLanguage = 'E';
        s.doc.m_bIniMissing = iniMissing;
        s.view.ReadRecordsHeader();
        EXPECT_EQ(s.doc.m_bRecordsDamaged, !iniMissing);
        EXPECT_EQ(s.sim.beeps.size(), iniMissing ? 0u : 1u);
        EXPECT_EQ(s.doc.m_chLanguage, 'R');
    }
}
