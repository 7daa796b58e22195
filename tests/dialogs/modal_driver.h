// modal_driver.h: drives a modal dialog from inside its own modal loop, so tests can open real ones.
#pragma once

#include <functional>
#include <string>
#include <windows.h>

struct ModalRun {
    bool opened = false;            // a dialog appeared and the script ran against it
    bool closedByScript = false;    // the dialog was gone before the watchdog stepped in
    HWND dialog = nullptr;
    HWND owner = nullptr;
};

// Calls open(), which should run a modal dialog on this thread. As soon as the dialog shows, script
// runs inside the modal loop and is expected to close it. A dialog still open a few seconds later is
// ended by a watchdog (with result -1), so a fault fails the test instead of hanging it.
ModalRun DriveModal(const std::function<void()> &open, const std::function<void(HWND dialog)> &script);

// The visible top-level dialog-class window of this thread, or null.
HWND FindOpenDialog();

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
