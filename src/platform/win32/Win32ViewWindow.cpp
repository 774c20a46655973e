#include "platform/win32/Win32ViewWindow.h"

#include <dwmapi.h>

#include <algorithm>

namespace {

constexpr wchar_t kClassName[] = L"kbr_dorin_view";
constexpr UINT kRunTasks = WM_APP + 1;
constexpr UINT_PTR kPauseTimer = 2;  // the view's own timer is 1

}  // namespace

Win32ViewWindow::Win32ViewWindow(HWND parent, CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume,
                                 DialogHost& dialogs)
    : m_clock(clock), m_view(std::make_unique<CVeskView>(doc, Platform{*this, *this, sound, volume, dialogs}))
{
    static bool registered = false;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &Win32ViewWindow::Procedure;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        ::RegisterClassExW(&wc);
        registered = true;
    }
    m_hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                               nullptr, instance, this);
}

Win32ViewWindow::~Win32ViewWindow()
{
    SaveRecordsOnce();
    if (m_hwnd) {
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
}

void Win32ViewWindow::SaveRecordsOnce()
{
    if (!m_saved) {
        m_saved = true;
        m_view->OnDestroy();
    }
}

LRESULT CALLBACK Win32ViewWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32ViewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<Win32ViewWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32ViewWindow::Answer(unsigned what, const std::function<void()>& deliver)
{
    // The message's time counts on the system's tick counter (milliseconds since
    // start, in steps of 10 to 16 ms); its age tells when it came on the program's
    // own counter, to within those steps.
    const DWORD age = ::GetTickCount() - static_cast<DWORD>(::GetMessageTime());
    const std::uint32_t messageAt = SteadyClock::MonotonicMillis() - age;
    constexpr std::uint32_t kMessageSteps = 40;
    const auto raw = m_rawInput.Take(what, messageAt - kMessageSteps);
    m_inputSource = raw ? "raw-input" : "message-time";
    SteadyClock::EventScope at(m_clock, raw.value_or(messageAt));
    deliver();
}

const char* Win32ViewWindow::StampSource() const
{
    const char* source = m_clock.StampSource();
    return std::string_view(source) == "event" ? m_inputSource : source;
}

std::uint32_t Win32ViewWindow::GetTickCount()
{
    if (m_inPaint) {
        m_tickReadInPaint = true;
        m_paintTick = SteadyClock::MonotonicMillis();
    }
    return m_clock.GetTickCount();
}

void Win32ViewWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    if (m_paused) {  // the picture of the pause stays; the view paints when they end
        GdiCanvas canvas(dc, m_hwnd, m_objects);
        ReplayCanvas::Draw(m_pausedPicture, canvas, m_pauses[m_pauseIndex].steps);
        ::EndPaint(m_hwnd, &ps);
        return;
    }
    m_inPaint = true;
    m_tickReadInPaint = false;
    {
        GdiCanvas canvas(dc, m_hwnd, m_objects);
        ReplayCanvas recorder(canvas);
        m_recorder = &recorder;
        m_view->OnDraw(recorder);
        m_recorder = nullptr;
        if (!m_pauses.empty()) {
            m_paused = true;
            m_pauseIndex = 0;
            m_pausedPicture = recorder.TakePicture();
        }
    }
    m_inPaint = false;
    ::EndPaint(m_hwnd, &ps);
    if (m_paused) {
        ::SetTimer(m_hwnd, kPauseTimer, m_pauses.front().ms, nullptr);  // the picture up to it is shown
        return;
    }
    if (m_timerDeferred) {
        m_timerDeferred = false;
        if (m_timerId != 0)
            m_view->OnTimer(m_timerId);
    }
    if (!m_tickReadInPaint)
        return;
    // The square is on the screen when the desktop has composed the frame it was
    // drawn into: DwmFlush returns then. Without composition the drawing is on the
    // screen once GDI has done it.
    ::GdiFlush();
    BOOL composing = FALSE;
    if (SUCCEEDED(::DwmIsCompositionEnabled(&composing)) && composing && SUCCEEDED(::DwmFlush()))
        m_displayMethod = "dwm-flush";
    else
        m_displayMethod = "gdi-flush";
    const auto lag = static_cast<std::int32_t>(SteadyClock::MonotonicMillis() - m_paintTick);
    m_clock.AddDisplayLag(static_cast<std::uint32_t>(std::clamp(lag, 0, 1000)));
}

LRESULT Win32ViewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_KEYDOWN:
        if (m_paused) {  // input is dropped during the records messages' pauses
            if (!(HIWORD(lParam) & KF_REPEAT))
                InputDuringPause();
            return 0;
        }
        Answer(static_cast<unsigned>(wParam),
               [&] { m_view->OnKeyDown(static_cast<unsigned>(wParam), LOWORD(lParam), HIWORD(lParam)); });
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ::SetFocus(m_hwnd);
        if (m_paused) {
            InputDuringPause();
            return 0;
        }
        Answer(RawInputStamps::kLeftButton, [&] { m_view->OnLButtonDown(); });
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        ::SetFocus(m_hwnd);
        if (m_paused) {
            InputDuringPause();
            return 0;
        }
        Answer(RawInputStamps::kRightButton, [&] { m_view->OnRButtonDown(); });
        return 0;
    case WM_TIMER:
        if (wParam == kPauseTimer)
            EndPause();
        else if (m_paused)
            m_timerDeferred = true;  // delivered after the repaint that ends the pauses
        else
            m_view->OnTimer(static_cast<unsigned>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case kRunTasks: {
        const auto tasks = std::move(m_tasks);
        m_tasks.clear();
        for (const auto& task : tasks)
            task();
        return 0;
    }
    default:
        return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

// Setting the timer again, or killing it, drops an expiry that waits for the end of
// a pause: it belongs to the timer as it was.
unsigned Win32ViewWindow::SetTimer(unsigned id, unsigned intervalMs)
{
    m_timerDeferred = false;
    m_timerId = id;
    return static_cast<unsigned>(::SetTimer(m_hwnd, id, intervalMs, nullptr));
}

void Win32ViewWindow::KillTimer(unsigned id)
{
    if (id == m_timerId) {
        m_timerDeferred = false;
        m_timerId = 0;
    }
    ::KillTimer(m_hwnd, id);
}

void Win32ViewWindow::Invalidate(bool erase)
{
    ::InvalidateRect(m_hwnd, nullptr, erase);
}

void Win32ViewWindow::InvalidateRect(const Rect& r, bool erase)
{
    const RECT rect{r.left, r.top, r.right, r.bottom};
    ::InvalidateRect(m_hwnd, &rect, erase);
}

void Win32ViewWindow::PostTask(std::function<void()> task)
{
    m_tasks.push_back(std::move(task));
    if (m_tasks.size() == 1)
        ::PostMessageW(m_hwnd, kRunTasks, 0, 0);
}

void Win32ViewWindow::Sleep(std::uint32_t ms)
{
    if (!m_inPaint) {
        ::Sleep(ms);
        return;
    }
    m_pauses.push_back({m_recorder->Steps(), ms});
    m_recorder->Hold();
}

void Win32ViewWindow::SleepUntilInput(std::uint32_t ms)
{
    if (!m_inPaint) {
        ::Sleep(ms);
        return;
    }
    m_pauses.push_back({m_recorder->Steps(), ms, true});
    m_recorder->Hold();
}

void Win32ViewWindow::InputDuringPause()
{
    if (m_pauseIndex < m_pauses.size() && m_pauses[m_pauseIndex].inputEnds)
        EndPause();
}

void Win32ViewWindow::EndPause()
{
    ::KillTimer(m_hwnd, kPauseTimer);
    if (++m_pauseIndex < m_pauses.size()) {
        ::SetTimer(m_hwnd, kPauseTimer, m_pauses[m_pauseIndex].ms, nullptr);
        Invalidate(true);
        return;
    }
    m_paused = false;
    m_pauses.clear();
    m_pausedPicture.clear();
    Invalidate(true);
}
