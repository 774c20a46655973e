// The end of the desktop session takes the display away; the toolkit then ends the
// program at once, without closing its windows.
#pragma once

// Makes the program run beforeExit when the connection to the display is lost,
// just before it ends. Does nothing where there is no X display connection.
void CallOnDisplayLoss(void (*beforeExit)());
