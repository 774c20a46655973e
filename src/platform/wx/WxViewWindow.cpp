#include "platform/wx/WxViewWindow.h"


#include <algorithm>

#include <climits>

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "platform/wx/Accessible.h"
#include "platform/wx/HeldKeys.h"

#ifdef __WXGTK__
#include <gdk/gdk.h>
#endif


// ---------------------------------------------------------------------------------
// Keys: the view knows the virtual-key codes of the program's first platform.

unsigned VirtualKeyOf(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return static_cast<unsigned>(code);
    if (code >= WXK_F1 && code <= WXK_F24)
        return 0x70u + static_cast<unsigned>(code - WXK_F1);
    if (code >= WXK_NUMPAD0 && code <= WXK_NUMPAD9)
        return 0x60u + static_cast<unsigned>(code - WXK_NUMPAD0);
    switch (code) {
    case WXK_BACK: return 0x08;
    case WXK_TAB: case WXK_NUMPAD_TAB: return 0x09;
    case WXK_RETURN: case WXK_NUMPAD_ENTER: return 0x0D;
    case WXK_SHIFT: return 0x10;
    case WXK_CONTROL: return 0x11;
    case WXK_PAUSE: return 0x13;
    case WXK_CAPITAL: return 0x14;
    case WXK_ESCAPE: return 0x1B;
    case WXK_SPACE: case WXK_NUMPAD_SPACE: return 0x20;
    case WXK_PAGEUP: return 0x21;
    case WXK_PAGEDOWN: return 0x22;
    case WXK_END: return 0x23;
    case WXK_HOME: return 0x24;
    case WXK_LEFT: return 0x25;
    case WXK_UP: return 0x26;
    case WXK_RIGHT: return 0x27;
    case WXK_DOWN: return 0x28;
    case WXK_INSERT: return 0x2D;
    case WXK_DELETE: return 0x2E;
    // The keypad without Num Lock: its digits still answer as digits.
    case WXK_NUMPAD_INSERT: return 0x60;
    case WXK_NUMPAD_END: return 0x61;
    case WXK_NUMPAD_DOWN: return 0x62;
    case WXK_NUMPAD_PAGEDOWN: return 0x63;
    case WXK_NUMPAD_LEFT: return 0x64;
    case WXK_NUMPAD_BEGIN: return 0x65;
    case WXK_NUMPAD_RIGHT: return 0x66;
    case WXK_NUMPAD_HOME: return 0x67;
    case WXK_NUMPAD_UP: return 0x68;
    case WXK_NUMPAD_PAGEUP: return 0x69;
    case WXK_NUMPAD_MULTIPLY: case WXK_MULTIPLY: return 0x6A;
    case WXK_NUMPAD_ADD: case WXK_ADD: return 0x6B;
    case WXK_NUMPAD_SEPARATOR: case WXK_SEPARATOR: return 0x6C;
    case WXK_NUMPAD_SUBTRACT: case WXK_SUBTRACT: return 0x6D;
    case WXK_NUMPAD_DECIMAL: case WXK_NUMPAD_DELETE: case WXK_DECIMAL: return 0x6E;
    case WXK_NUMPAD_DIVIDE: case WXK_DIVIDE: return 0x6F;
    case WXK_NUMLOCK: return 0x90;
    case WXK_SCROLL: return 0x91;
    case WXK_WINDOWS_LEFT: return 0x5B;
    case WXK_WINDOWS_RIGHT: return 0x5C;
    case WXK_WINDOWS_MENU: return 0x5D;
    case WXK_PRINT: case WXK_SNAPSHOT: return 0x2C;
    case WXK_NUMPAD_EQUAL: return 0x92;
    case WXK_HELP: return 0x2F;
    case WXK_CLEAR: return 0x0C;
    case '<': case '>': return 0xE2;  // the key left of Z on ISO keyboards
    case ';': return 0xBA;
    case '=': return 0xBB;
    case ',': return 0xBC;
    case '-': return 0xBD;
    case '.': return 0xBE;
    case '/': return 0xBF;
    case '`': return 0xC0;
    case '[': return 0xDB;
    case '\\': return 0xDC;
    case ']': return 0xDD;
    case '\'': return 0xDE;
    default: return 0;
    }
}

// The letter a key stands for in the first Latin group of the keyboard layout
// ('A'..'Z'), or 0: a letter key keeps its Latin code whatever layout is active
// (a Russian user's A key is still A), as on the program's first platform.
unsigned LatinLetterOf(const wxKeyEvent& event)
{
#ifdef __WXGTK__
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
    GdkKeymapKey* keys = nullptr;
    guint* keyvals = nullptr;
    gint count = 0;
    if (!gdk_keymap_get_entries_for_keycode(keymap, event.GetRawKeyFlags(), &keys, &keyvals, &count))
        return 0;
    unsigned letter = 0;
    int group = INT_MAX;
    for (gint i = 0; i < count; ++i) {
        const guint lower = gdk_keyval_to_lower(keyvals[i]);
        if (keys[i].level == 0 && lower >= GDK_KEY_a && lower <= GDK_KEY_z && keys[i].group < group) {
            group = keys[i].group;
            letter = 'A' + (lower - GDK_KEY_a);
        }
    }
    g_free(keys);
    g_free(keyvals);
    return letter;
#else
    (void)event;
    return 0;
#endif
}

// Keys that wx names after others on GTK: the Super (Windows) keys come as Alt,
// the context-menu key as the menu of old keyboards.
unsigned SystemKeyOf(const wxKeyEvent& event)
{
#ifdef __WXGTK__
    switch (event.GetRawKeyCode()) {
    case GDK_KEY_Super_L: return 0x5B;
    case GDK_KEY_Super_R: return 0x5C;
    case GDK_KEY_Menu: return 0x5D;
    default: return 0;
    }
#else
    (void)event;
    return 0;
#endif
}

// ---------------------------------------------------------------------------------

WxViewWindow::WxViewWindow(wxWindow* parent, CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume,
                           DialogHost& dialogs, history::Log* history)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      m_clock(clock),
      m_view(std::make_unique<CVeskView>(doc, Platform{*this, *this, sound, volume, dialogs, history})),
      m_timer(this),
      m_holdLimit(this),
      m_pauseTimer(this)
{
    m_displayTime = std::make_unique<DisplayTime>(*this, [this](std::uint32_t t, const char* method) { OnDisplayed(t, method); });
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    Bind(wxEVT_PAINT, &WxViewWindow::OnPaint, this);
    heldkeys::Watch();
    Bind(wxEVT_KEY_DOWN, &WxViewWindow::OnKeyDown, this);
    Bind(wxEVT_LEFT_DOWN, &WxViewWindow::OnLeftDown, this);
    Bind(wxEVT_RIGHT_DOWN, &WxViewWindow::OnRightDown, this);
    // The second press of a quick double click comes as a double click only.
    Bind(wxEVT_LEFT_DCLICK, &WxViewWindow::OnLeftDown, this);
    Bind(wxEVT_RIGHT_DCLICK, &WxViewWindow::OnRightDown, this);
    Bind(wxEVT_TIMER, &WxViewWindow::OnTimer, this, m_timer.GetId());
    Bind(wxEVT_TIMER, &WxViewWindow::EndPause, this, m_pauseTimer.GetId());
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ReleaseAnswers(); }, m_holdLimit.GetId());
}

WxViewWindow::~WxViewWindow()
{
    m_displayTime.reset();
    m_holdLimit.Stop();
    m_timer.Stop();
    m_pauseTimer.Stop();
    SaveRecordsOnce();
}

bool WxViewWindow::SaveRecordsOnce()
{
    if (!m_saved) {
        m_saved = true;
        m_view->OnDestroy();
    }
    return m_view->GetDocument().m_nNotices != 0;
}

void WxViewWindow::ShowNoticesThen(std::function<void()> then)
{
    if (m_paused || m_view->GetDocument().m_nNotices == 0) {
        then();
        return;
    }
    m_afterPauses = std::move(then);
    Invalidate(true);
}

// Setting the timer again, or killing it, drops an expiry that is still waiting to
// be delivered: it belongs to the timer as it was.
unsigned WxViewWindow::SetTimer(unsigned id, unsigned intervalMs)
{
    m_timerDeferred = false;
    ++m_timerGeneration;
    m_timerId = id;
    m_timer.Start(static_cast<int>(std::max(1u, intervalMs)));  // repeats until killed
    return id;
}

void WxViewWindow::KillTimer(unsigned id)
{
    if (id == m_timerId) {
        m_timer.Stop();
        m_timerDeferred = false;
        ++m_timerGeneration;
    }
}

void WxViewWindow::Invalidate(bool erase)
{
    if (erase)
        m_erased.push_back({0, 0, GetClientSize().x, GetClientSize().y});
    m_paintPending = true;
    Refresh(erase);
}

void WxViewWindow::PostTask(std::function<void()> task)
{
    // Pending events are handled when the main loop is idle: after the paint's
    // frame has gone to the display server.
    CallAfter(std::move(task));
}

void WxViewWindow::TellWhatIsShown()
{
    const std::string shown = m_screenText.Read();
    if (shown == m_toldShown)
        return;
    m_toldShown = shown;
    const std::string added = m_screenText.Added();
    TellScreenReaders(*this, added.empty() ? shown.substr(0, shown.find('\n')) : added, shown);
}

void WxViewWindow::InvalidateRect(const Rect& rect, bool erase)
{
    if (erase)
        m_erased.push_back(rect);
    m_paintPending = true;
    RefreshRect(wxRect(rect.left, rect.top, rect.Width(), rect.Height()), erase);
}

// ---------------------------------------------------------------------------------

void WxViewWindow::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    WxCanvas drawn(dc, GetClientSize(), m_fonts, m_probe);
    // What is on the screen is kept as text too, for screen readers.
    m_screenText.BeginPaint();
    for (const Rect& erased : m_erased)
        m_screenText.Erase(erased);
    m_erased.clear();
    ScreenTextCanvas canvas(drawn, m_screenText);
    struct Tell {
        WxViewWindow& window;
        ~Tell() { window.TellWhatIsShown(); }
    } tell{*this};
    if (m_paused) {  // the picture of the pause stays; the view paints when they end
        ReplayCanvas::Draw(m_pausedPicture, canvas, m_pauses[m_pauseIndex].steps);
        return;
    }

    m_paintPending = false;
    ReplayCanvas recorder(canvas);
    m_recorder = &recorder;
    m_inPaint = true;
    m_tickReadInPaint = false;
    m_view->OnDraw(recorder);
    m_inPaint = false;
    m_recorder = nullptr;
    if (m_tickReadInPaint) {
        m_displayAwaited = true;
        m_displayTime->AfterPaint();
    }
    if (m_probe)
        m_probe->PaintEnds();

    if (!m_pauses.empty()) {
        m_paused = true;
        m_pauseIndex = 0;
        m_pausedPicture = recorder.TakePicture();
        m_pauseTimer.StartOnce(static_cast<int>(m_pauses.front().ms));
        return;
    }
    // A repaint asked for during this paint follows it at once, as on the window
    // system the view was written for; GTK would hold it for the next frame, up to
    // 17 ms later (the first page waits on this).
    if (m_paintPending)
        CallAfter([this] { Update(); });
    if (m_timerDeferred) {
        m_timerDeferred = false;
        CallAfter([this, generation = m_timerGeneration] {
            if (generation == m_timerGeneration)
                DeliverTimer();
        });
    }
}

// ---------------------------------------------------------------------------------
// The moment the square is on the display. The view reads the tick right after its
// drawing call; the picture reaches the display only when the toolkit has finished
// the frame. The display server says when it had the picture (see DisplayTime), and
// the clock is held back by the lag.

std::uint32_t WxViewWindow::GetTickCount()
{
    if (m_inPaint) {
        m_tickReadInPaint = true;
        m_paintTick = SteadyClock::MonotonicMillis();
    }
    return m_clock.GetTickCount();
}

void WxViewWindow::OnDisplayed(std::uint32_t displayed, const char* method)
{
    if (m_tickReadInPaint) {
        m_displayMethod = method;
        m_tickReadInPaint = false;
        const auto lag = static_cast<std::int32_t>(displayed - m_paintTick);
        m_clock.AddDisplayLag(static_cast<std::uint32_t>(std::clamp(lag, 0, 1000)));
        m_trace = {m_paintTick, displayed, 0, 0};
    }
    ReleaseAnswers();
}

// The display time of a paint comes within a frame or two, and DisplayTime gives up
// waiting after a quarter of a second; an answer is never held longer than this.
constexpr int kLongestHoldMs = 500;

void WxViewWindow::Answer(long stamp, std::function<void()> deliver)
{
    auto answer = [this, stamp, deliver = std::move(deliver)] {
        if (m_paused)  // input is dropped during the records messages' pauses
            return;
        TraceAnswer(stamp);
        SteadyClock::EventScope at(m_clock, static_cast<std::uint32_t>(stamp));
        deliver();
    };
    if (!m_displayAwaited) {
        answer();
        return;
    }
    if (m_heldAnswers.empty())
        m_holdLimit.StartOnce(kLongestHoldMs);
    m_heldAnswers.push_back(std::move(answer));
}

void WxViewWindow::ReleaseAnswers()
{
    m_displayAwaited = false;
    m_holdLimit.Stop();
    const auto held = std::move(m_heldAnswers);
    m_heldAnswers.clear();
    for (const auto& answer : held)
        answer();
    if (m_timerDeferred && !m_paintPending && !m_paused) {
        m_timerDeferred = false;
        DeliverTimer();
    }
}

void WxViewWindow::TraceAnswer(long stamp)
{
    m_trace.pressed = static_cast<std::uint32_t>(stamp);
    m_trace.handled = SteadyClock::MonotonicMillis();
}

// The records start-up pauses after a message so that it can be read. Blocking
// inside the paint would show nothing: the toolkit puts a paint on the screen only
// when the paint returns. So the pause is taken after the paint, showing what the
// paint had drawn when it asked for the pause: the screen shows the paint up to
// there and no further, and a paint that pauses more than once shows each message
// for its own pause. Input is dropped meanwhile (a pause that input may end is ended
// by the first key or button), and the view paints again when the pauses are over.
void WxViewWindow::Sleep(std::uint32_t ms)
{
    if (!m_inPaint) {
        m_clock.Sleep(ms);
        return;
    }
    m_pauses.push_back({m_recorder->Steps(), ms});
    m_recorder->Hold();
}

void WxViewWindow::SleepUntilInput(std::uint32_t ms)
{
    if (!m_inPaint) {
        m_clock.Sleep(ms);
        return;
    }
    m_pauses.push_back({m_recorder->Steps(), ms, true});
    m_recorder->Hold();
}

void WxViewWindow::InputDuringPause()
{
    if (m_pauseIndex < m_pauses.size() && m_pauses[m_pauseIndex].inputEnds) {
        m_pauseTimer.Stop();
        NextPause();
    }
}

void WxViewWindow::EndPause(wxTimerEvent&)
{
    NextPause();
}

void WxViewWindow::NextPause()
{
    if (++m_pauseIndex < m_pauses.size()) {
        m_pauseTimer.StartOnce(static_cast<int>(m_pauses[m_pauseIndex].ms));
        Refresh(true);
        return;
    }
    m_paused = false;
    m_pauses.clear();
    m_pausedPicture.clear();
    if (m_afterPauses) {
        const auto then = std::move(m_afterPauses);
        m_afterPauses = nullptr;
        then();
        return;
    }
    m_paintPending = true;
    Refresh(true);
}

// A repaint that was asked for is served before a timer expiry: the attempt cycle
// draws the square in the paint and must never see the timer overtake it.
void WxViewWindow::OnTimer(wxTimerEvent&)
{
    if (m_paintPending || m_paused || !m_heldAnswers.empty())
        m_timerDeferred = true;
    else
        DeliverTimer();
}

void WxViewWindow::DeliverTimer()
{
    if (m_timer.IsRunning())
        m_view->OnTimer(m_timerId);
}

void WxViewWindow::OnKeyDown(wxKeyEvent& event)
{
    if (m_paused) {
        if (!heldkeys::Repeats(event))
            InputDuringPause();
        return;
    }
    // Alt combinations and F10 belong to the menu, as system keys do.
    unsigned vk = SystemKeyOf(event);
    if (vk == 0 && (event.AltDown() || event.GetKeyCode() == WXK_ALT || event.GetKeyCode() == WXK_F10)) {
        event.Skip();
        return;
    }
    // Every key is a key to the view: letters by their place, the others by name,
    // and a key with no name of its own by a code of no meaning.
    if (vk == 0)
        vk = LatinLetterOf(event);
    if (vk == 0)
        vk = VirtualKeyOf(event.GetKeyCode());
    if (vk == 0)
        vk = kUnnamedKey;
    const unsigned flags = heldkeys::Repeats(event) ? vk::kKeyWasDown : 0;
    Answer(event.GetTimestamp(), [this, vk, flags] { m_view->OnKeyDown(vk, 1, flags); });
}

void WxViewWindow::OnLeftDown(wxMouseEvent& event)
{
    if (!m_paused)
        Answer(event.GetTimestamp(), [this] { m_view->OnLButtonDown(); });
    else
        InputDuringPause();
    event.Skip();  // the default handling gives the window the focus
}

void WxViewWindow::OnRightDown(wxMouseEvent& event)
{
    if (!m_paused)
        Answer(event.GetTimestamp(), [this] { m_view->OnRButtonDown(); });
    else
        InputDuringPause();
    event.Skip();
}
