#include "dialogs/ValidationLogic.h"

#include "dialogs/ValidatorDigest.h"
#include "platform/Clock.h"
#include "view/Language.h"
#include "view/records/RecordsText.h"

namespace {

constexpr std::uint32_t kVerifyPauseMs = 100;

constexpr LangText kIdeaTitle = {"  idea", " ideya", "  ideja", "  ideja"};
constexpr LangText kDataTitle = {"      your data", "   tvayi danqe", " tavo duomenys", " tavo duomenys"};
constexpr LangText kCheckTitle = {"   true or false?", "   pravda ili loj?", "  tiesa ar melas?",
                                  "  tiesa ar melas?"};
constexpr LangText kLanguage = {"    E", "    R", "    L", "    T"};
constexpr LangText kParagraph1 = {
    "Kbr_dorin users can display results among themselves and prove/check the records are true. 3 items let do "
    "it: HdVol (hard disk volume number), record, validator.",
    "Pol'zavateli pragramq kbr_dorin mogut padelitsa dastijeniyami mejdu saboi i dakazat'/praverit' podlenast' "
    "rezul'tatav. Dlia etogo nujnq 3 tcisla: HdVol (hard disk volume number), rekord, validator.",
    "Kbr_dorin naudotojai gali pasigirti rezultatais ir įrodyti ar patikrinti rekordų tikrumą. Tam reikia 3 "
    "skaičių: HdVol (hard disk volume number), rekordo, validatoriaus.",
    "Kbr_dorin naudotojai gali pasigirti rezultatais ir irodyti ar patikrinti rekordu tikruma. Tem reikia 3 "
    "skaiciu: HdVol (hard disk volume number), rekordo, validatoriaus."};
constexpr LangText kParagraph2 = {
    "How to be sure the 3 items were not appropriated? Ask questions eg. ''If your best result is 180.3, remove "
    "old files ''kbr_dorin.ini'' and ''kbr_dorin.bak'' for a time, then do result ~2000 and tell me 3 items for "
    "verifying. It will prove you are working on the same HdVol as in your best result.''",
    "Kak bqt' uverenamu, cto eti 3 tcisla nebqli atkuda-ta prisvoenq? Zadavai vaprosq, naprimer: ''Yesli tvoy "
    "lutcq rezultat 180.3, to vremena udali starqe failq ''kbr_dorin.ini'' i ''kbr_dorin.bak'', sdelai "
    "rezul'tat ~2000 i skajq mne 3 tcisla. Etim dakajec, cto rabotaec na tom je HdVol kak i pri dastijenii "
    "rekorda.''",
    "Kaip žinoti, kad tie 3 skaičiai nebuvo pasisavinti? Užduok klausimus, pvz.: ''Jeigu tavo geriausias "
    "rezultatas yra 180.3, tai laikinai pašalink senus failus ''kbr_dorin.ini'' ir ''kbr_dorin.bak'', padaryk "
    "rezultatą ~2000 ir pasakyk man 3 skaičius. Taip galėsi įrodyti, kad tai tas pats HdVol kaip ir rekordo "
    "atveju.''",
    "Kaip buti tikram, kad tie 3 skaiciai nebuvo pasisavinti? Uzduok klausimus, pvz.: ''Jeigu tavo geriausias "
    "rezultatas 180.3, laikinai pasalink senus failus ''kbr_dorin.ini'' ir ''kbr_dorin.bak'', padaryk rezultata "
    "~2000 ir pasakyk man 3 skaicius. Taip galesi irodyti, kad tai tas pats HdVol kaip ir rekordo atveju.''"};
constexpr LangText kInstruction = {
    "If you got a doubtful result, fill in 3 fields, push ''verify'' and you will know the truth.",
    "Yesli tq palutcil samnitel'nq rezul'tat, zapolni 3 palia, jmi knopku ''verify'' i uznai pravdu.",
    "Jei gavai įtartiną rezultatą, užpildyk 3 laukelius, spausk ''verify'' ir sužinosi tiesą.",
    "Jei gavai itartina rezultata, uzpildyk 3 laukelius, spausk ''verify'' ir suzinosi tiesa."};

constexpr const char* kIncomplete = "-- -- --";

// The answer words follow the language letter the form was opened with.
struct Words {
    const char* consistent;
    const char* inconsistent;
};

Words AnswerWords(const std::string& languageText)
{
    if (languageText == "    R")
        return {"PRAVDA", "LOJ"};
    if (languageText == "    L" || languageText == "    T")
        return {"TIESA", "MELAS"};
    return {"TRUE", "FALSE"};
}

}  // namespace

void ValidationLogic::SetTexts(char chLanguage)
{
    m_strIdeaTitle = ChooseText(chLanguage, kIdeaTitle);
    m_strParagraph1 = ChooseText(chLanguage, kParagraph1);
    m_strParagraph2 = ChooseText(chLanguage, kParagraph2);
    m_strDataTitle = ChooseText(chLanguage, kDataTitle);
    m_strCheckTitle = ChooseText(chLanguage, kCheckTitle);
    m_strInstruction = ChooseText(chLanguage, kInstruction);
    m_strLanguage = ChooseText(chLanguage, kLanguage);
}

void ValidationLogic::OnVerify(Clock& clock)
{
    clock.Sleep(kVerifyPauseMs);
    const double record = AtoF(m_strCheckRecord);
    const auto volume = static_cast<std::int32_t>(AtoL(m_strCheckHdVol));
    const int expected = ValidatorDigest(record, volume);
    const int given = AtoI(m_strCheckValidator);

    const Words words = AnswerWords(m_strLanguage);
    if (expected != 0)
        m_strAnswer = expected == given ? words.consistent : words.inconsistent;
    if (record == 0.0 || volume == 0 || given == 0)
        m_strAnswer = kIncomplete;
}
