// Start-up and exit of the records: the checks, the backup copy, restoring and
// clearing the records file, and the messages that tell the user about it.
#include <optional>
#include <vector>
#include <utility>

#include "platform/File.h"
#include "view/Language.h"
#include "view/VeskView.h"
#include "view/records/RecordsFile.h"

using namespace records;

namespace {

constexpr std::uint32_t kMessagePauseMs = 7000;

constexpr LangText kRestoredText = {
    "File 'kbr_dorin.ini' was found damaged and recovered from 'kbr_dorin.bak'.",
    "Fail 'kbr_dorin.ini' naiden isportcen i vastanovlen pa 'kbr_dorin.bak'.",
    "Failas 'kbr_dorin.ini' rastas pažeistas ir atstatytas pagal 'kbr_dorin.bak'.",
    "Failas 'kbr_dorin.ini' rastas pazeistas ir atstatytas pagal 'kbr_dorin.bak'."};
constexpr LangText kClearedText = {
    "File 'kbr_dorin.ini' was found damaged and results were deleted.",
    "Fail 'kbr_dorin.ini' naiden isporchen, patamu rezul'tatq anuliravanq.",
    "Failas 'kbr_dorin.ini' buvo pažeistas ir todėl rezultatai ištrinti.",
    "Failas 'kbr_dorin.ini' buvo pazeistas ir todel rezultatai istrinti."};
constexpr LangText kBackupBadText = {
    "Unfortunately file 'kbr_dorin.bak' was damaged too and results were deleted.",
    "Uvq fail 'kbr_dorin.bak' toje bql isportcen, patamu rezultatq anulirovanq.",
    "Deja, failas 'kbr_dorin.bak' irgi buvo pažeistas, todėl rezultatai ištrinti.",
    "Deja, failas 'kbr_dorin.bak' irgi buvo pazeistas, todel rezultatai istrinti."};

// Told once each, centred like the records messages.
constexpr LangText kDataFolderText = {
    "Data folder cannot be used; records are kept in the folder it was started in.",
    "Papka dannyh nedostupna; rezul'tatq hranjatsa v papke zapuska.",
    "Duomenų aplankas neprieinamas; rezultatai laikomi aplanke, iš kurio paleista.",
    "Duomenu aplankas neprieinamas; rezultatai laikomi aplanke, is kurio paleista."};
constexpr LangText kLinkRefusedText = {
    "Link 'kbr_dorin.ini' or 'kbr_dorin.bak' not followed: others could change it.",
    "Ssqlka 'kbr_dorin.ini' ili 'kbr_dorin.bak' ne ispol'zuetsa: ee mogut smenit'.",
    "Nuoroda 'kbr_dorin.ini' ar 'kbr_dorin.bak' nenaudojama: ją gali pakeisti kiti.",
    "Nuoroda 'kbr_dorin.ini' ar 'kbr_dorin.bak' nenaudojama: ja gali pakeisti kiti."};
constexpr LangText kNotAFileText = {
    "Records cannot be saved here: 'kbr_dorin.ini' or 'kbr_dorin.bak' is not a file.",
    "Rezul'tatq zdes' ne sohranit': 'kbr_dorin.ini' ili 'kbr_dorin.bak' ne fajl.",
    "Rezultatų čia išsaugoti negalima: 'kbr_dorin.ini' ar 'kbr_dorin.bak' nėra failas.",
    "Rezultatu cia issaugoti negalima: 'kbr_dorin.ini' ar 'kbr_dorin.bak' nera failas."};
constexpr LangText kReadOnlyText = {
    "Records cannot be saved here: 'kbr_dorin.ini' or its folder is read-only.",
    "Rezul'tatq zdes' ne sohranit': 'kbr_dorin.ini' ili papka tol'ko dlja chtenija.",
    "Rezultatų čia išsaugoti negalima: 'kbr_dorin.ini' ar aplankas tik skaitomas.",
    "Rezultatu cia issaugoti negalima: 'kbr_dorin.ini' ar aplankas tik skaitomas."};
constexpr LangText kSaveFailedText = {
    "Records could not be saved: 'kbr_dorin.ini' is as it was (is the disk full?).",
    "Rezul'tatq ne sohraneny: 'kbr_dorin.ini' ostalsa prezhnim (disk perepolnen?).",
    "Rezultatų išsaugoti nepavyko: 'kbr_dorin.ini' liko koks buvo (diskas pilnas?).",
    "Rezultatu issaugoti nepavyko: 'kbr_dorin.ini' liko koks buvo (diskas pilnas?)."};

bool CanOpenAlone(const char* name)
{
    return File::Open(name, FileAccess::Read, FileShare::None, FileCreation::OpenExisting).has_value();
}

// The first 295 bytes of a file (a shorter file is followed by zero bytes);
// nullopt when it cannot be opened alone.
std::optional<std::string> ReadCopy(const char* name)
{
    auto file = File::Open(name, FileAccess::Read, FileShare::None, FileCreation::OpenExisting);
    if (!file)
        return std::nullopt;
    std::string bytes(kFileSize, '\0');
    file->ReadAt(0, bytes.data(), kFileSize);
    return bytes;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Start-up

void CVeskView::CheckRecordsFiles()
{
    CVeskDoc& doc = GetDocument();
    // A refused link stands for a file that is there but not to be used: it is
    // neither read nor restored over, and the records cannot be saved in full.
    const bool iniRefused = File::IsRefusedLink(kIniName);
    if (iniRefused || File::IsRefusedLink(kBakName)) {
        doc.m_nNotices |= notice::kLinkRefused;
        doc.m_bRecordsReadOnly = true;
    }
    doc.m_bIniMissing = !CanOpenAlone(kIniName);
    doc.m_bBakMissing = !CanOpenAlone(kBakName);
    // Nor is a folder under its name restored over (see CheckRecordsWritable).
    if (doc.m_bIniMissing && !doc.m_bBakMissing && !iniRefused && !File::IsNotAFile(kIniName)) {
        RecoverRecords();
        doc.m_chBackupState = ' ';
        doc.m_bIniMissing = !CanOpenAlone(kIniName);
    }
}

bool CVeskView::LoadRecords()
{
    CVeskDoc& doc = GetDocument();
    if (doc.m_bRecordsCleared)
        return true;
    const RecordsSequence sequence(*this);
    CodeRecordsFile("decode");  // in memory: the file on disk stays as it is
    ReadRecordsHeader();
    // A recovery that could neither restore nor clear the file (it cannot be
    // written, or the restored copy failed as well): go on without records rather
    // than show the message again on every paint.
    const bool recoveryFailed = doc.m_bRecordsDamaged && doc.m_chBackupState == 'i';
    if (!recoveryFailed) {
        const auto before = doc.m_dTotalRecord;
        if (!doc.m_bRecordsDamaged && !doc.m_bIniMissing)
            ReadRecords();
        if (doc.m_bRecordsDamaged && !doc.m_bIniMissing) {
            // A file that fails its check brings no records, not even those of its
            // modes that were read before the damage showed.
            doc.m_dTotalRecord = before;
            RecoverRecords();
            return false;  // the next paint starts over
        }
    }
    CodeRecordsFile("encode");
    return true;
}

void CVeskView::RecoverRecords()
{
    CVeskDoc& doc = GetDocument();
    ClearClientArea();
    if (doc.m_chBackupState == 'I' && doc.m_bRestoredFromBak)
        doc.m_chBackupState = 'i';  // the restored copy failed too
    if (doc.m_chBackupState == ' ') {
        doc.m_chBackupState = 'i';
        if (!doc.m_bBakMissing)
            RestoreRecordsFile();
    }
    if (doc.m_chBackupState == 'I') {
        ShowRecordsMessage(ChooseText(doc.m_chLanguage, kRestoredText), 0);
        doc.m_bRecordsDamaged = false;
    }
    if (doc.m_chBackupState == 'i') {
        if (File::Replace(kIniName, std::string(kFileSize, ' '))) {
            doc.m_bRecordsCleared = true;
            doc.m_bRecordsDamaged = false;
            if (doc.m_bRestoredFromBak)
                ShowRecordsMessage(ChooseText(doc.m_chLanguage, kBackupBadText), 20);
            else
                ShowRecordsMessage(ChooseText(doc.m_chLanguage, kClearedText), 0);
        }
    }
    Invalidate();
    m_platform.clock.Sleep(kMessagePauseMs);
}

// Centred, 20 pixels above the middle (plus lowerBy), in the surface's current font.
void CVeskView::ShowRecordsMessage(std::string_view text, int lowerBy)
{
    const Point origin = GetCenteredTextOrigin(text);
    DrawTextAt(origin.x, origin.y + lowerBy, text);
    const Size extent = m_pDC->GetTextExtent(text);
    m_platform.window.InvalidateRect(
        {origin.x, origin.y + lowerBy, origin.x + extent.cx, origin.y + lowerBy + extent.cy}, true);
}

// ---------------------------------------------------------------------------------
// The backup copy: the coded records file, byte for byte.

void CVeskView::RestoreRecordsFile()
{
    CVeskDoc& doc = GetDocument();
    const auto bytes = ReadCopy(kBakName);
    if (!bytes || !File::Replace(kIniName, *bytes))
        return;
    // The message says so in the language the copy holds: the user's own, which the
    // damaged file may not have given.
    std::string plain = *bytes;
    CodeBytes(plain, false);
    if (const auto contents = ReadGoodFile(plain))
        doc.m_chLanguage = contents->language;
    DropRecordsFile();
    doc.m_chBackupState = 'I';
    doc.m_bRestoredFromBak = true;
}

void CVeskView::BackupRecordsFile()
{
    const auto bytes = ReadCopy(kIniName);
    if (!bytes)
        return;
    if (!File::Replace(kBakName, *bytes)) {
        m_bRecordsWriteFailed = true;
        return;
    }
    GetDocument().m_chBackupState = 'B';
}

// ---------------------------------------------------------------------------------
// Exit

// Records that were never loaded are never saved: a run ended during its start-up
// (while a records message shows, say) would write no records over the file it was
// restoring. The file stays as the start-up left it.
void CVeskView::SaveRecords()
{
    if (!GetDocument().m_bRecordsLoaded)
        return;
    const RecordsLock lock;  // another copy closing now waits for this one
    StoreRecords();
}

// The records file, then its backup copy when it is due.
void CVeskView::StoreRecords()
{
    CVeskDoc& doc = GetDocument();
    m_bRecordsWriteFailed = false;
    {
        const RecordsSequence sequence(*this);
        CodeRecordsFile("decode");
        MergeSavedRecords();
        WriteRecordsHeader();
        WriteRecords();
        CodeRecordsFile("encode");
    }
    if (doc.m_chBackupState == 'b' || doc.m_bBakMissing) {
        doc.m_chBackupState = 'b';
        BackupRecordsFile();
    }
    if (m_bRecordsWriteFailed && !doc.m_bRecordsReadOnly)
        doc.m_nNotices |= notice::kSaveFailed;
}

// A save writes the records file and then its backup copy: a run ended between the
// two leaves a copy that lags behind, and a later restore from it would go back on
// records the user had. So a start-up that finds the two files disagreeing brings
// them together at once: the better record of each mode from either good file, the
// language of the records file. A damaged copy is made good again the same way.
void CVeskView::AgreeBackupCopy()
{
    CVeskDoc& doc = GetDocument();
    if (doc.m_bRecordsReadOnly || doc.m_bRecordsCleared || doc.m_bIniMissing || doc.m_bBakMissing)
        return;
    const auto ini = ReadCopy(kIniName);
    auto bak = ReadCopy(kBakName);
    if (!ini || !bak || *ini == *bak)
        return;
    CodeBytes(*bak, false);
    bool better = false;
    if (const auto saved = ReadGoodFile(*bak)) {
        for (int m = 0; m < 3; ++m) {
            const double theirs = saved->records[m];
            double& ours = doc.m_dTotalRecord[m];
            if (theirs > 0.0 && (ours == 0.0 || theirs < ours)) {
                ours = theirs;
                better = true;
            }
        }
    }
    if (better) {
        doc.m_chBackupState = 'b';  // the file first, then the copy from it
        StoreRecords();
    } else {
        BackupRecordsFile();
    }
}

// Another copy of the program may have saved since this one started: its better
// records are kept, and its language unless this run chose one (a language command
// marks the backup copy for writing, 'b', and nothing else does before the save).
// A file that fails its check gives nothing.
void CVeskView::MergeSavedRecords()
{
    CVeskDoc& doc = GetDocument();
    const std::string* plain = RecordsFileBytes(false);
    if (!plain || !m_recordsFile.existed)
        return;
    const auto saved = ReadGoodFile(*plain);
    if (!saved)
        return;
    for (int m = 0; m < 3; ++m) {
        const double theirs = saved->records[m];
        double& ours = doc.m_dTotalRecord[m];
        if (theirs > 0.0 && (ours == 0.0 || theirs < ours))
            ours = theirs;
    }
    if (doc.m_chBackupState != 'b')
        doc.m_chLanguage = saved->language;
}

// Once, when the start-up is done: records that can be read but not saved here.
void CVeskView::CheckRecordsWritable()
{
    CVeskDoc& doc = GetDocument();
    if (doc.m_bRecordsReadOnly)
        return;  // said already
    if (File::IsNotAFile(kIniName) || File::IsNotAFile(kBakName)) {
        doc.m_bRecordsReadOnly = true;
        doc.m_nNotices |= notice::kNotAFile;
    } else if (!File::CanReplace(kIniName) || !File::CanReplace(kBakName)) {
        doc.m_bRecordsReadOnly = true;
        doc.m_nNotices |= notice::kReadOnly;
    }
}

// The waiting notices, all at once, one under another, for the pause of a records
// message; a key or button ends it sooner (and is taken by it).
void CVeskView::ShowNotices()
{
    CVeskDoc& doc = GetDocument();
    const char lang = doc.m_chLanguage;
    const std::pair<unsigned, const char*> notices[] = {
        {notice::kDataFolder, ChooseText(lang, kDataFolderText)},
        {notice::kLinkRefused, ChooseText(lang, kLinkRefusedText)},
        {notice::kNotAFile, ChooseText(lang, kNotAFileText)},
        {notice::kReadOnly, ChooseText(lang, kReadOnlyText)},
        {notice::kSaveFailed, ChooseText(lang, kSaveFailedText)},
        {notice::kHistoryStopped, HistoryProblemText()},
        {notice::kHistoryWaiting, HistoryWaitingText()},
    };
    std::vector<const char*> shown;
    for (const auto& [bit, text] : notices)
        if (doc.m_nNotices & bit)
            shown.push_back(text);
    doc.m_nNotices = 0;
    if (shown.empty())
        return;
    ClearClientArea();
    const int lineHeight = m_pDC->GetTextExtent(shown.front()).cy * 3 / 2;
    const int count = static_cast<int>(shown.size());
    for (int i = 0; i < count; ++i)
        ShowRecordsMessage(shown[static_cast<std::size_t>(i)], (2 * i - (count - 1)) * lineHeight / 2);
    Invalidate();
    m_platform.clock.SleepUntilInput(kMessagePauseMs);
}

void CVeskView::OnDestroy()
{
    WriteHistory(true);  // an answer whose result has just been drawn is kept too
    SaveRecords();
}
