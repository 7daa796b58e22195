// modal_driver.cpp: a thread timer reaches into the modal loop; its first tick finds the dialog.
#include "tests/dialogs/modal_driver.h"

#include <cstring>

namespace {

const UINT TickMilliseconds = 20;
const int WatchdogTicks = 150;      // about three seconds with the dialog still open

struct Drive {
    const std::function<void(HWND)> *script;
    ModalRun run;
    int ticks = 0;
};

Drive *activeDrive;

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM found)
{
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Drive &drive = *activeDrive;
    HWND dialog = FindOpenDialog();
    if (!drive.run.opened) {
        if (!dialog)
            return;
        drive.run.opened = true;
        drive.run.dialog = dialog;
        drive.run.owner = GetWindow(dialog, GW_OWNER);
        (*drive.script)(dialog);
        return;
    }
    if (dialog == drive.run.dialog && ++drive.ticks > WatchdogTicks)
        EndDialog(dialog, -1);
}

}  // namespace

HWND FindOpenDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

ModalRun DriveModal(const std::function<void()> &open, const std::function<void(HWND dialog)> &script)
{
    Drive drive;
    drive.script = &script;
    Drive *outer = activeDrive;
    activeDrive = &drive;
    UINT_PTR timer = SetTimer(nullptr, 0, TickMilliseconds, Tick);
    open();
    KillTimer(nullptr, timer);
    activeDrive = outer;
    drive.run.closedByScript = drive.run.opened && drive.ticks <= WatchdogTicks;
    return drive.run;
}
