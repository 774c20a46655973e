// CVeskView: construction, the paint and the drawing helpers shared by all pages.
#include "view/VeskView.h"

#include "platform/File.h"

CVeskView::CVeskView(CVeskDoc& doc, Platform platform) : m_doc(doc), m_platform(platform) {}

int CVeskView::ModeIndex(char chMode)
{
    switch (chMode) {
    case 'a': return 0;
    case 'b': return 1;
    case 'c': return 2;
    default: return -1;
    }
}

// ---------------------------------------------------------------------------------
// The paint decides from the document what to do; it is the only place that draws.

void CVeskView::OnDraw(Canvas& dc)
{
    CVeskDoc& doc = GetDocument();

    // The very first paint only asks for another: the window is fully shown by then.
    if (!doc.m_bFirstPaint) {
        m_pDC = &dc;

        if (!doc.m_bRecordsLoaded) {
            const RecordsLock lock;  // never in the middle of another copy's save
            CheckRecordsFiles();
            if (!LoadRecords()) {  // a recovery message is all this paint shows
                m_pDC = nullptr;
                return;
            }
            doc.m_bRecordsLoaded = true;
            CheckRecordsWritable();
            AgreeBackupCopy();
        }
        if (doc.m_nNotices != 0) {  // told before anything else; the page follows
            ShowNotices();
            m_pDC = nullptr;
            return;
        }

        if (doc.m_strPage == "explanation") {
            ShowExplanationPage();
            doc.m_bAttemptOver = true;
        } else {
            dc.SelectFont(m_fontText);
            if (doc.m_bAttemptOver)
                ShowResults();
            if (!doc.m_bSeriesComplete) {
                if (doc.m_bAttemptOver && !doc.m_bPauseRunning && doc.m_strPage == "task") {
                    doc.m_bAttemptOver = false;
                    ScheduleAttempt();
                    StartPause();  // sets m_bPauseRunning, so no square in this paint
                }
                if (!doc.m_bAttemptOver && !doc.m_bPauseRunning && doc.m_strPage == "task")
                    ShowStimulus();
            }
        }
        m_pDC = nullptr;
    }

    if (doc.m_bFirstPaint) {
        doc.m_bFirstPaint = false;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------------

void CVeskView::ClearClientArea()
{
    const Rect client = m_pDC->GetClientRect();
    m_pDC->SelectBrush(m_brushWhite);
    m_pDC->Rectangle(client);
}

Point CenteredTextOrigin(Size text, Rect client)
{
    // Signed division truncates toward zero, so a text one pixel too wide still starts at 0.
    return {(client.Width() - text.cx) / 2, (client.Height() - text.cy) / 2 - 20};
}

Point CVeskView::GetCenteredTextOrigin(std::string_view text)
{
    return CenteredTextOrigin(m_pDC->GetTextExtent(text), m_pDC->GetClientRect());
}
