// Commands of the menu and toolbar that are not part of the attempt cycle, and the
// enable rules: a command is greyed when it would choose what is already chosen.
#include "view/VeskView.h"

#include "dialogs/ValidationLogic.h"
#include "dialogs/ValidatorDigest.h"
#include "history/HistoryWindow.h"
#include "view/Format.h"
#include "view/commands/CommandIds.h"

namespace {

// The choice each mode and language command makes.
char ModeOf(int command)
{
    switch (command) {
    case cmd::kToolModeA: case cmd::kMenuModeA: return 'a';
    case cmd::kToolModeB: case cmd::kMenuModeB: return 'b';
    case cmd::kToolModeC: case cmd::kMenuModeC: return 'c';
    default: return 0;
    }
}

char LanguageOf(int command)
{
    switch (command) {
    case cmd::kToolEnglish: case cmd::kMenuEnglish: return 'E';
    case cmd::kToolRussian: case cmd::kMenuRussian: return 'R';
    case cmd::kToolLithuanian: case cmd::kMenuLithuanian: return 'L';
    case cmd::kToolLithuanianLatin: case cmd::kMenuLithuanianLatin: return 'T';
    default: return 0;
    }
}

bool IsIndexPage(int command)
{
    return command == cmd::kToolIndexPage || command == cmd::kMenuIndexPage;
}

}  // namespace

bool CVeskView::OnCommand(int command)
{
    if (IsIndexPage(command))
        ShowIndexPage();
    else if (const char mode = ModeOf(command))
        ChooseMode(mode);
    else if (const char language = LanguageOf(command))
        ChooseLanguage(language);
    else if (command == cmd::kToolAbout || command == cmd::kMenuAbout)
        ShowAboutDialog();
    else if (command == cmd::kToolValidation || command == cmd::kMenuValidation)
        ShowValidationDialog();
    else if (command == cmd::kToolHistory || command == cmd::kMenuHistory)
        ShowHistoryWindow();
    else
        return false;
    return true;
}

bool CVeskView::IsCommandEnabled(int command) const
{
    if (IsIndexPage(command))
        return CanShowIndexPage();
    if (const char mode = ModeOf(command))
        return CanChooseMode(mode);
    if (const char language = LanguageOf(command))
        return CanChooseLanguage(language);
    return true;  // About, Validation, History, toolbar toggle and Exit are always there
}

void CVeskView::ChooseLanguage(char chLanguage)
{
    CVeskDoc& doc = GetDocument();
    doc.m_chLanguage = chLanguage;
    doc.m_chBackupState = 'b';  // the backup copy remembers the language too
    Invalidate();
}

bool CVeskView::CanShowIndexPage() const
{
    return GetDocument().m_strPage != "explanation";
}

bool CVeskView::CanChooseMode(char chMode) const
{
    return !(GetDocument().m_chMode == chMode && GetDocument().m_strPage == "task");
}

bool CVeskView::CanChooseLanguage(char chLanguage) const
{
    return GetDocument().m_chLanguage != chLanguage;
}

void CVeskView::ShowAboutDialog()
{
    m_platform.dialogs.ShowAboutDialog();
}

// The History window, over the all-time records as they stand now: those of the
// records file, bettered by this session's.
void CVeskView::ShowHistoryWindow()
{
    const CVeskDoc& doc = GetDocument();
    history::WindowRequest request;
    request.language = doc.m_chLanguage;
    request.mode = ModeIndex(doc.m_chMode) >= 0 ? doc.m_chMode : 'a';
    for (int m = 0; m < 3; ++m) {
        const double total = doc.m_dTotalRecord[m], session = doc.m_dSessionRecord[m];
        request.records[m] = total == 0.0 || (session != 0.0 && session < total) ? session : total;
    }
    m_platform.dialogs.ShowHistoryWindow(request);
}

// ---------------------------------------------------------------------------------
// Validation: each all-time record with its validator, and a check of a reported triple.

bool CVeskView::ReadVolumeNumber()
{
    CVeskDoc& doc = GetDocument();
    const auto number = m_platform.volume.Read();
    doc.m_bHdVolRead = number.has_value();
    if (number) {
        const auto value = static_cast<std::int32_t>(*number);
        // Non-negative; the one value without a positive twin becomes the largest.
        doc.m_nHdVol = value >= 0 ? value : value == INT32_MIN ? INT32_MAX : -value;
    }
    return doc.m_bHdVolRead;
}

void CVeskView::ShowValidationDialog()
{
    CVeskDoc& doc = GetDocument();
    ValidationLogic form;
    if (ReadVolumeNumber()) {
        form.m_strHdVol = Format("%u", static_cast<unsigned>(doc.m_nHdVol));
        form.m_strHdVolHex = Format("%x", static_cast<unsigned>(doc.m_nHdVol));
    }
    for (int m = 0; m < 3; ++m) {
        const double record = doc.m_dTotalRecord[m];
        doc.m_nValidator[m] = record != 0.0 ? ValidatorDigest(record, doc.m_nHdVol) : 0;
        form.m_strRecord[m] = Format("%.1f", record);
        form.m_strValidator[m] = Format("%d", doc.m_nValidator[m]);
    }
    form.SetTexts(doc.m_chLanguage);
    m_platform.dialogs.ShowValidationDialog(form);
}
