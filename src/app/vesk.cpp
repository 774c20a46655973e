#include "app/vesk.h"

#include "app/MainFrm.h"

bool CVeskApp::OnInit()
{
    // The command line was checked before wx started (see Main.cpp).
    CMainFrame* frame = CreateMainWindow();
    frame->Show();
    frame->ViewWindow().SetFocus();
    return true;
}

CMainFrame* CVeskApp::CreateMainWindow()
{
    m_doc = std::make_unique<CVeskDoc>(m_clock.Now().millis);
    return new CMainFrame(*m_doc, m_clock, m_sound);
}
