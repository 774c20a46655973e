// Commands of the menu and toolbar that are not part of the attempt cycle, and the
// enable rules: a command is greyed when it would choose what is already chosen.
#include "view/VeskView.h"

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
