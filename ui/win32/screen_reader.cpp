#include "ui/win32/screen_reader.h"

#include <oleacc.h>

#include <string_view>

#include "ui/accessible_name.h"
// windows.h makes LoadString a name of its own string-table call.
#undef LoadString
#include "ui/string_resources.h"
#include "ui/win32/address_control.h"
#include "ui/win32/text.h"

namespace lumisk::ui {
namespace {

// The annotation service and the properties annotated, by their GUIDs as oleacc.h has them: the
// libraries that define them also define others that a program may take from elsewhere.
constexpr GUID AccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID AccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID NameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID DescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
// UI Automation's LiveSetting property, which direct annotation takes by its GUID too, and its
// value for a region read out once the reader is done speaking.
constexpr GUID LiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG Polite = 1;
// Windows 8's event for a live region that changed; the headers have it only for that version on.
constexpr DWORD LiveRegionChangedEvent = 0x8019;
// "octet %1 of %2", the place of an octet field in its address.
constexpr int OctetPlaceText = 120;

}  // namespace

ScreenReaderAnnotations::ScreenReaderAnnotations() {
    CoCreateInstance(AccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, AccPropServicesInterface,
                     reinterpret_cast<void**>(&services_));
}

ScreenReaderAnnotations::~ScreenReaderAnnotations() {
    Clear();
    if (services_ != nullptr) {
        services_->Release();
    }
}

void ScreenReaderAnnotations::SetText(HWND window, DWORD object, const GUID& property,
                                      const std::string& text) {
    if (services_ == nullptr || window == nullptr || text.empty()) {
        return;
    }
    std::wstring wide = Widen(text);
    if (SUCCEEDED(services_->SetHwndPropStr(window, object, CHILDID_SELF, property, wide.data()))) {
        made_.emplace_back(window, object, property);
    }
}

void ScreenReaderAnnotations::NameControls(HWND dialog, const DialogTemplate& dialogTemplate) {
    if (dialogTemplate.caption.empty()) {
        for (const DWORD object : {OBJID_WINDOW, OBJID_CLIENT}) {
            SetText(dialog, static_cast<DWORD>(object), NameProperty,
                    AccessibleName(dialogTemplate));
        }
    }
    for (std::size_t index = 0; index < dialogTemplate.controls.size(); ++index) {
        const ControlTemplate& control = dialogTemplate.controls[index];
        if (control.kind != "listview" && control.kind != "ipaddress") {
            continue;
        }
        const HWND window = GetDlgItem(dialog, control.id);
        const std::string name = AccessibleName(dialogTemplate, index);
        SetText(window, static_cast<DWORD>(OBJID_CLIENT), NameProperty, name);
        if (control.kind != "ipaddress") {
            continue;
        }
        // The focus goes to the octet fields, which have no label of their own.
        const std::vector<HWND> octets = OctetFields(window);
        for (std::size_t octet = 0; octet < octets.size(); ++octet) {
            SetText(octets[octet], static_cast<DWORD>(OBJID_CLIENT), NameProperty, name);
            SetText(octets[octet], static_cast<DWORD>(OBJID_CLIENT), DescriptionProperty,
                    LoadString(OctetPlaceText,
                               {std::to_string(octet + 1), std::to_string(octets.size())}));
        }
    }
}

void ScreenReaderAnnotations::MakeLiveRegion(HWND label) {
    if (services_ == nullptr) {
        return;
    }
    VARIANT setting;
    VariantInit(&setting);
    setting.vt = VT_I4;
    setting.lVal = Polite;
    if (SUCCEEDED(services_->SetHwndProp(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         LiveSettingProperty, setting))) {
        made_.emplace_back(label, static_cast<DWORD>(OBJID_CLIENT), LiveSettingProperty);
    }
}

void ScreenReaderAnnotations::AnnounceChange(HWND label) {
    NotifyWinEvent(LiveRegionChangedEvent, label, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReaderAnnotations::Clear() {
    for (const auto& [window, object, property] : made_) {
        services_->ClearHwndProps(window, object, CHILDID_SELF, &property, 1);
    }
    made_.clear();
}

}  // namespace lumisk::ui
