// screen_scale.h: the host and its companion draw at the screen's DPI (the program says so in its
// manifest): their sizes are written for 96 DPI and scaled here.
#pragma once

#include <windows.h>

int ScreenDpi();                                    // the system's, read once
inline int Scaled(int at96) { return MulDiv(at96, ScreenDpi(), 96); }
