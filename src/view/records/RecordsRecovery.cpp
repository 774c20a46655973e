// Start-up and exit of the records: the checks, the backup copy, restoring and
// clearing the records file, and the messages that tell the user about it.
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

bool CanOpenAlone(const char* name)
{
    return File::Open(name, FileAccess::Read, FileShare::None, FileCreation::OpenExisting).has_value();
}

}  // namespace

// ---------------------------------------------------------------------------------
// Start-up

void CVeskView::CheckRecordsFiles()
{
    CVeskDoc& doc = GetDocument();
    doc.m_bIniMissing = !CanOpenAlone(kIniName);
    doc.m_bBakMissing = !CanOpenAlone(kBakName);
    if (doc.m_bIniMissing && !doc.m_bBakMissing) {
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
    CodeRecordsFile("decode");  // the file stays decoded on disk until the encode below
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
        if (auto file = File::Open(kIniName, FileAccess::ReadWrite, FileShare::Allowed, FileCreation::CreateAlways)) {
            const std::string blanks(kFileSize, ' ');
            file->WriteAt(0, blanks.data(), blanks.size());
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
    m_platform.window.InvalidateRect({origin.x, origin.y, origin.x + extent.cx, origin.y + extent.cy}, true);
}

// ---------------------------------------------------------------------------------
// The backup copy: the coded records file, byte for byte.

void CVeskView::RestoreRecordsFile()
{
    CVeskDoc& doc = GetDocument();
    auto bak = File::Open(kBakName, FileAccess::Read, FileShare::None, FileCreation::OpenExisting);
    if (!bak)
        return;
    char bytes[kFileSize] = {};
    bak->ReadAt(0, bytes, kFileSize);
    auto ini = File::Open(kIniName, FileAccess::ReadWrite, FileShare::Allowed, FileCreation::CreateAlways);
    if (!ini)
        return;
    ini->WriteAt(0, bytes, kFileSize);
    doc.m_chBackupState = 'I';
    doc.m_bRestoredFromBak = true;
}

void CVeskView::BackupRecordsFile()
{
    char bytes[kFileSize] = {};
    {
        auto ini = File::Open(kIniName, FileAccess::Read, FileShare::None, FileCreation::OpenExisting);
        if (!ini)
            return;
        ini->ReadAt(0, bytes, kFileSize);
    }
    auto bak = File::Open(kBakName, FileAccess::Write, FileShare::None, FileCreation::CreateAlways);
    if (!bak)
        return;
    bak->WriteAt(0, bytes, kFileSize);
    GetDocument().m_chBackupState = 'B';
}

// ---------------------------------------------------------------------------------
// Exit

void CVeskView::SaveRecords()
{
    CVeskDoc& doc = GetDocument();
    const RecordsLock lock;  // another copy closing now waits for this one
    CodeRecordsFile("decode");
    WriteRecordsHeader();
    WriteRecords();
    CodeRecordsFile("encode");
    if (doc.m_chBackupState == 'b' || doc.m_bBakMissing) {
        doc.m_chBackupState = 'b';
        BackupRecordsFile();
    }
}

void CVeskView::OnDestroy()
{
    SaveRecords();
}
