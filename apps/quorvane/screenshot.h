// screenshot.h: a window written as a PNG file (--screenshot).
#pragma once

#include <windows.h>
#include <string>

bool WriteWindowPng(HWND window, const std::string &path);
