#include "ui/wait_loop.h"

#include <windows.h>

#include <utility>

#include "ui/worker.h"

namespace lumisk::ui {
namespace {

// Everything but the user's input, which waits in the queue as it does for a busy window.
void DispatchAllButInput() {
    static const std::pair<UINT, UINT> ranges[] = {
        {0, WM_NCMOUSEMOVE - 1},
        {WM_NCXBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
        {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
        {WM_MOUSELAST + 1, 0xFFFFFFFF},
    };
    MSG message;
    for (const auto& [first, last] : ranges) {
        while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

int RunEventLoopDuring(const std::function<int()>& work) {
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int result = 0;
    StartWorker([&work, &result, done] {
        result = work();
        SetEvent(done);
    });
    // Paints, timers and requests of other workers go on meanwhile.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE,
                                     QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT | QS_TIMER) !=
           WAIT_OBJECT_0) {
        DispatchAllButInput();
    }
    CloseHandle(done);
    SetCursor(previous);
    return result;
}

}  // namespace lumisk::ui
