#include "platform/win32/RawInputStamps.h"

#include <vector>

#include "platform/posix/SteadyClock.h"

namespace {

constexpr std::size_t kKept = 64;
constexpr wchar_t kClassName[] = L"kbr_dorin_raw_input";

}  // namespace

RawInputStamps::RawInputStamps()
{
    m_ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread(&RawInputStamps::Run, this);
    ::WaitForSingleObject(m_ready, 5000);
}

RawInputStamps::~RawInputStamps()
{
    if (m_hwnd)
        ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    if (m_thread.joinable())
        m_thread.join();
    ::CloseHandle(m_ready);
}

void RawInputStamps::Run()
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &RawInputStamps::Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    m_hwnd = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (m_hwnd) {
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // Keyboard and mouse, also while another window of the program has the focus.
        RAWINPUTDEVICE devices[2] = {{0x01, 0x06, RIDEV_INPUTSINK, m_hwnd}, {0x01, 0x02, RIDEV_INPUTSINK, m_hwnd}};
        m_running = ::RegisterRawInputDevices(devices, 2, sizeof devices[0]) != FALSE;
    }
    ::SetEvent(m_ready);
    if (!m_hwnd)
        return;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
}

LRESULT CALLBACK RawInputStamps::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<RawInputStamps*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_INPUT && self) {
        self->OnInput(reinterpret_cast<HRAWINPUT>(lParam));
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void RawInputStamps::OnInput(HRAWINPUT input)
{
    const std::uint32_t at = SteadyClock::MonotonicMillis();  // first: the press's moment
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    unsigned what = 0;
    if (raw.header.dwType == RIM_TYPEKEYBOARD && !(raw.data.keyboard.Flags & RI_KEY_BREAK))
        what = raw.data.keyboard.VKey;
    else if (raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & RI_MOUSE_LEFT_BUTTON_DOWN))
        what = kLeftButton;
    else if (raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & RI_MOUSE_RIGHT_BUTTON_DOWN))
        what = kRightButton;
    if (what == 0)
        return;
    const std::lock_guard<std::mutex> hold(m_lock);
    m_presses.push_front({what, at});
    if (m_presses.size() > kKept)
        m_presses.pop_back();
}

std::optional<std::uint32_t> RawInputStamps::Take(unsigned what, std::uint32_t notBefore)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    for (auto press = m_presses.begin(); press != m_presses.end(); ++press) {
        if (static_cast<std::int32_t>(press->at - notBefore) < 0)
            break;  // older ones follow
        if (press->what == what) {
            const std::uint32_t at = press->at;
            m_presses.erase(press);
            return at;
        }
    }
    return std::nullopt;
}
