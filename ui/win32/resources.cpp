#include <windows.h>

#include <algorithm>

#include "ui/resource_data.h"
#include "ui/win32/text.h"

namespace lumisk::ui {

// The data files are RCDATA resources named by their path, with '_' for '/' and '.' (see
// CMakeLists.txt).
std::string ReadResourceData(const std::string& path) {
    std::string name = path;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '.'; }, '_');
    const HRSRC found = FindResourceW(nullptr, Widen(name).c_str(), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

}  // namespace lumisk::ui
