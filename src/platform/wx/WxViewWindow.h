// The window that hosts the view: it turns wx events into the view's messages
// (paint, key down, mouse buttons, timer 1) and offers the view timer and repaints.
// It holds no program state of its own.
#pragma once

#include <memory>

#include <wx/timer.h>
#include <wx/window.h>

#include "platform/WindowHost.h"
#include "platform/posix/SteadyClock.h"
#include "platform/wx/WxCanvas.h"
#include "view/VeskView.h"

// The virtual-key code of a key event, or 0 for keys the view never sees.
unsigned VirtualKeyOf(int wxKeyCode);

class WxViewWindow : public wxWindow, public WindowHost {
public:
    WxViewWindow(wxWindow* parent, CVeskDoc& doc, SteadyClock& clock, Sound& sound);
    ~WxViewWindow() override;

    CVeskView& View() { return *m_view; }
    void SetPaintProbe(PaintProbe* probe) { m_probe = probe; }

    // --- WindowHost ---------------------------------------------------------------
    unsigned SetTimer(unsigned id, unsigned intervalMs) override;
    void KillTimer(unsigned id) override;
    void Invalidate(bool erase) override;
    void InvalidateRect(const Rect& rect, bool erase) override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void DeliverTimer();

    SteadyClock& m_clock;
    std::unique_ptr<CVeskView> m_view;
    FontCache m_fonts;
    PaintProbe* m_probe = nullptr;
    wxTimer m_timer;
    unsigned m_timerId = 0;
    bool m_paintPending = false;
    bool m_timerDeferred = false;
};
