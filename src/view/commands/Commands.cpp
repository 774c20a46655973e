// Commands of the menu and toolbar that are not part of the attempt cycle, and the
// enable rules: a command is greyed when it would choose what is already chosen.
#include "view/VeskView.h"

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
    return true;  // About, Validation, toolbar toggle and Exit are always there
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
