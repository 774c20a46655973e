// When the display server had done everything asked of it so far.
#pragma once

#include <cstdint>

class wxWindow;

// Milliseconds of the monotonic clock (the clock input events are stamped with) at
// which the display server handled a request sent now, after all drawing sent
// before it. The server's own time: blind to how late this process gets to read
// it. Where the server cannot tell, the clock read after a round trip.
std::uint32_t DisplayServerTime(wxWindow& window);
