// Validators and the Validation dialog's logic, without a window.
#include <gtest/gtest.h>

#include <climits>

#include "dialogs/Blake2b.h"
#include "dialogs/ValidatorDigest.h"
#include "support/Session.h"
#include "view/records/RecordsText.h"

TEST(Validation, DigestIsFixedForKnownPairs)
{
    // Caught here: a change of the key, the byte order or the rounding. The values
    // were computed apart from the program: keyed BLAKE2b-64 (Python's hashlib) of
    // the record in tenths (int64) and the volume (uint32), both little-endian.
    struct Case {
        double record;
        std::int32_t volume;
        int validator;
    };
    const Case cases[] = {
        {180.3, 1515917086, 1668215874},
        {245.0, 1, 1774452211},
        {0.1, INT_MAX, 149374880},
        {2503.7, 42, 1333519626},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidatorDigest(c.record, c.volume), c.validator) << c.record << " " << c.volume;
}

// The digest under the validators, against values computed apart from the program
// (RFC 7693's "abc", and Python's hashlib.blake2b): block edges, keys, lengths.
TEST(Validation, Blake2bGivesTheReferenceDigests)
{
    std::string key64, bytes255;
    for (int i = 0; i < 64; ++i)
        key64 += static_cast<char>(i);
    for (int i = 0; i < 255; ++i)
        bytes255 += static_cast<char>(i);
    struct Case {
        std::string data, key;
        std::size_t length;
        const char* hex;
    };
    const Case cases[] = {
        {"abc", "", 64,
         "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923"},
        {"", key64, 64,
         "10ebb67700b1868efb4417987acf4690ae9d972fb7a590c2f02871799aaa4786b5e996e8f0f4eb981fc214b005f42d2ff4233499391653df7aefcbc13fc51568"},
        {bytes255, key64, 64,
         "142709d62e28fcccd0af97fad0f8465b971e82201dc51070faa0372aa43e92484be1c1e73ba10906d5d1853db6a4106e0a7bf9800d373d6dee2d46d62ef2a461"},
        {bytes255.substr(0, 128), std::string(32, 'k'), 8, "f199b302b2eea614"},  // one whole block
        {bytes255.substr(0, 129), "", 20, "a7bf25f1599102ab631e3052e8303a2c097d1a7e"},
        {"kbr", "x", 1, "3a"},
    };
    for (const Case& c : cases) {
        std::uint8_t out[64];
        Blake2b(out, c.length, c.data.data(), c.data.size(), c.key.data(), c.key.size());
        std::string hex;
        for (std::size_t i = 0; i < c.length; ++i) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", out[i]);
            hex += two;
        }
        EXPECT_EQ(hex, c.hex) << c.data.size() << " bytes, key " << c.key.size() << ", out " << c.length;
    }
}

TEST(Validation, DigestIsPositiveAndFollowsBothInputs)
{
    for (int tenths = 1; tenths < 30000; tenths += 7) {
        const double record = tenths / 10.0;
        const int v = ValidatorDigest(record, 12345);
        ASSERT_GT(v, 0) << record;
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.1f", record);
        EXPECT_EQ(ValidatorDigest(AtoF(shown), 12345), v) << "the record read back from " << shown;
    }
    EXPECT_EQ(ValidatorDigest(180.3, 777), ValidatorDigest(AtoF("180.3"), 777));
    EXPECT_NE(ValidatorDigest(180.3, 777), ValidatorDigest(180.3, 778));
    EXPECT_NE(ValidatorDigest(180.3, 777), ValidatorDigest(180.4, 777));
}

namespace {

// Opens the dialog in a session with these all-time records and language; the
// user's actions run while it is open.
ValidationLogic OpenDialog(Session& s, std::array<double, 3> records, char language,
                           std::function<void(ValidationLogic&)> user = {})
{
    s.doc.m_dTotalRecord = records;
    s.doc.m_chLanguage = language;
    s.sim.onValidationDialog = std::move(user);
    s.view.ShowValidationDialog();
    return s.sim.validationShown.back();
}

void CopyTriple(ValidationLogic& f, int mode)
{
    f.m_strCheckHdVol = f.m_strHdVol;
    f.m_strCheckRecord = f.m_strRecord[mode];
    f.m_strCheckValidator = f.m_strValidator[mode];
}

}  // namespace

TEST(Validation, DialogShowsTheUsersOwnDataInItsLanguage)
{
    struct Case {
        char language;
        const char *ideaTitle, *dataTitle, *checkTitle, *letter;
    };
    const Case cases[] = {
        {'E', "  idea", "      your data", "   true or false?", "    E"},
        {'R', " ideya", "   tvayi danqe", "   pravda ili loj?", "    R"},
        {'L', "  ideja", " tavo duomenys", "  tiesa ar melas?", "    L"},
        {'T', "  ideja", " tavo duomenys", "  tiesa ar melas?", "    T"},
        {'Q', "  idea", "      your data", "   true or false?", "    E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        Session s;
        s.sim.volumeNumber = 0xDEADBEEF;  // negative as a signed number
        const ValidationLogic f = OpenDialog(s, {180.3, 0.0, 256.75}, c.language);
        EXPECT_EQ(f.m_strIdeaTitle, c.ideaTitle);
        EXPECT_EQ(f.m_strDataTitle, c.dataTitle);
        EXPECT_EQ(f.m_strCheckTitle, c.checkTitle);
        EXPECT_EQ(f.m_strLanguage, c.letter);
        const std::int32_t volume = -static_cast<std::int32_t>(0xDEADBEEFu);
        EXPECT_EQ(s.doc.m_nHdVol, volume);
        EXPECT_EQ(f.m_strHdVol, std::to_string(volume));
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(volume));
        EXPECT_EQ(f.m_strHdVolHex, hex);
        EXPECT_EQ(f.m_strRecord, (std::array<std::string, 3>{"180.3", "0.0", "256.8"}));
        EXPECT_EQ(f.m_strValidator[0], std::to_string(ValidatorDigest(180.3, volume)));
        EXPECT_EQ(f.m_strValidator[1], "0") << "no record, no validator";
        EXPECT_TRUE(f.m_strAnswer.empty());
    }
}

TEST(Validation, VerifyJudgesACopiedTriple)
{
    struct Case {
        char language;
        std::function<void(ValidationLogic&)> edit;
        const char* answer;
    };
    const Case cases[] = {
        {'E', [](ValidationLogic&) {}, "TRUE"},
        {'R', [](ValidationLogic&) {}, "PRAVDA"},
        {'L', [](ValidationLogic&) {}, "TIESA"},
        {'T', [](ValidationLogic&) {}, "TIESA"},
        {'E', [](ValidationLogic& f) { f.m_strCheckValidator = "12345"; }, "FALSE"},
        {'R', [](ValidationLogic& f) { f.m_strCheckValidator = "12345"; }, "LOJ"},
        {'L', [](ValidationLogic& f) { f.m_strCheckRecord = "180.4"; }, "MELAS"},
        {'E', [](ValidationLogic& f) { f.m_strCheckValidator.clear(); }, "-- -- --"},
        {'E', [](ValidationLogic& f) { f.m_strCheckRecord = "0"; }, "-- -- --"},
        {'E', [](ValidationLogic& f) { f.m_strCheckHdVol = "abc"; }, "-- -- --"},
        {'E', [](ValidationLogic& f) { f.m_strCheckHdVol = "99999999999"; }, "-- -- --"},
        {'E', [](ValidationLogic& f) { f.m_strCheckRecord = "180.3 ms"; }, "TRUE"},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(i++);
        Session s;
        const ValidationLogic f = OpenDialog(s, {180.3, 250.0, 0.0}, c.language, [&](ValidationLogic& form) {
            CopyTriple(form, 0);
            c.edit(form);
            form.OnVerify(s.sim);
        });
        EXPECT_EQ(f.m_strAnswer, c.answer);
        EXPECT_EQ(s.sim.sleeps, std::vector<std::uint32_t>{100});
    }
}

TEST(Validation, UnreadableVolumeLeavesTheFieldsEmptyAndKeepsTheLastNumber)
{
    Session s;
    s.sim.volumeNumber = 777;
    OpenDialog(s, {180.3, 0.0, 0.0}, 'E');
    s.sim.volumeNumber.reset();
    const ValidationLogic f = OpenDialog(s, {180.3, 0.0, 0.0}, 'E');
    EXPECT_FALSE(s.doc.m_bHdVolRead);
    EXPECT_TRUE(f.m_strHdVol.empty());
    EXPECT_TRUE(f.m_strHdVolHex.empty());
    EXPECT_EQ(f.m_strValidator[0], std::to_string(ValidatorDigest(180.3, 777)));
}

TEST(Validation, MostNegativeVolumeNumberBecomesTheLargest)
{
    Session s;
    s.sim.volumeNumber = 0x80000000u;
    EXPECT_TRUE(s.view.ReadVolumeNumber());
    EXPECT_EQ(s.doc.m_nHdVol, INT_MAX);
}
