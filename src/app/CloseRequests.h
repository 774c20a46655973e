// Close requests that the toolkit would drop.
#pragma once

#include <functional>

class wxMenuBar;
class wxTopLevelWindow;

// While a menu is open it holds the input, and GTK drops the desktop's request to
// close the window (a logout waits for it, then kills the program). Such a request
// is passed to onRequest instead.
void WatchCloseRequests(wxTopLevelWindow& window, std::function<void()> onRequest);

// Closes any menu of the bar that is open.
void CloseOpenMenus(wxMenuBar& bar);
