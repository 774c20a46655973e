// The display's coming and going. The end of the desktop session takes the display
// away; the toolkit then ends the program at once, without closing its windows.
#pragma once

// An X server that refuses a first connection (one still starting, or starved of
// CPU) is asked again for up to waitMs before the toolkit opens it; true when it
// answered, or when there is no X display to ask (no DISPLAY, or Wayland first).
bool WaitForTheDisplay(int waitMs);

// Makes the program run beforeExit when the connection to the display is lost,
// just before it ends. Does nothing where there is no X display connection.
void CallOnDisplayLoss(void (*beforeExit)());
