#include "ui/application.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/win32/dialog_colors.h"
#include "ui/win32/text.h"

namespace lumisk::ui {

struct Application::State {};

Application::Application(int& /*argc*/, char** /*argv*/) {
    // The common controls the templates use: list views, address fields, progress bars.
    INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX),
        ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The screen reader annotations are COM objects of the windows' thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

Application::~Application() {
    CoUninitialize();
}

std::string Application::Name() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return Narrow(name);
}

void Application::SetDialogColors(Rgb background, Rgb text) {
    SetDialogPalette(background, text);
}

}  // namespace lumisk::ui
