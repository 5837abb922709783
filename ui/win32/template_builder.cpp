#include "ui/win32/template_builder.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <utility>

#include "ui/win32/text.h"

namespace lumisk::ui {
namespace {

// The predefined classes a template names by ordinal.
constexpr WORD ButtonClass = 0x0080;
constexpr WORD EditClass = 0x0081;
constexpr WORD StaticClass = 0x0082;
constexpr WORD ComboBoxClass = 0x0085;

struct ControlClass {
    WORD ordinal;  // 0: the class goes by `name`
    const wchar_t* name;
    DWORD style;  // what every control of the class has
};

const std::map<std::string, ControlClass, std::less<>>& ControlClasses() {
    static const std::map<std::string, ControlClass, std::less<>> classes = {
        {"button", {ButtonClass, nullptr, BS_PUSHBUTTON}},
        {"label", {StaticClass, nullptr, SS_LEFT}},
        {"groupbox", {ButtonClass, nullptr, BS_GROUPBOX}},
        {"icon", {StaticClass, nullptr, SS_ICON}},
        {"listview", {0, WC_LISTVIEWW, 0}},
        {"ipaddress", {0, WC_IPADDRESSW, 0}},
        {"combobox", {ComboBoxClass, nullptr, 0}},
        {"edit", {EditClass, nullptr, ES_LEFT}},
        {"progress", {0, PROGRESS_CLASSW, 0}},
    };
    return classes;
}

using Styles = std::map<std::string_view, DWORD>;

// The template's style names and the bits they stand for; a name a class does not know adds
// nothing.
const Styles& DialogStyles() {
    static const Styles styles = {{"popup", WS_POPUP},
                                  {"caption", WS_CAPTION},
                                  {"sysmenu", WS_SYSMENU},
                                  {"minimizebox", WS_MINIMIZEBOX},
                                  {"modalframe", DS_MODALFRAME}};
    return styles;
}

const Styles& ControlStyles(std::string_view kind) {
    static const std::map<std::string_view, Styles> styles = {
        {"button", {{"default", BS_DEFPUSHBUTTON}}},
        {"label", {{"noprefix", SS_NOPREFIX}}},
        {"listview",
         {{"report", LVS_REPORT},
          {"singlesel", LVS_SINGLESEL},
          {"showselalways", LVS_SHOWSELALWAYS},
          {"border", WS_BORDER}}},
        {"combobox",
         {{"dropdownlist", CBS_DROPDOWNLIST}, {"sort", CBS_SORT}, {"vscroll", WS_VSCROLL}}},
        {"edit",
         {{"border", WS_BORDER}, {"autohscroll", ES_AUTOHSCROLL}, {"password", ES_PASSWORD}}},
        {"progress", {{"smooth", PBS_SMOOTH}}},
    };
    static const Styles none;
    const auto found = styles.find(kind);
    return found != styles.end() ? found->second : none;
}

DWORD StyleBits(const std::vector<std::string>& names, const Styles& known) {
    DWORD bits = 0;
    for (const std::string& name : names) {
        const auto found = known.find(name);
        if (found != known.end()) {
            bits |= found->second;
        }
    }
    return bits;
}

// Appends to a byte buffer; the template is a sequence of WORDs and DWORDs, some aligned.
class Writer {
public:
    void Word(WORD value) { Append(&value, sizeof value); }
    void Dword(DWORD value) { Append(&value, sizeof value); }
    void Short(int value) { Word(static_cast<WORD>(static_cast<short>(value))); }
    void Text(const std::string& text) {
        const std::wstring wide = Widen(text);
        Append(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    void WideText(const wchar_t* text) { Append(text, (std::wcslen(text) + 1) * sizeof(wchar_t)); }
    // A name or, after 0xFFFF, a number.
    void Ordinal(WORD value) {
        Word(0xFFFF);
        Word(value);
    }
    void AlignToDword() {
        while (bytes_.size() % sizeof(DWORD) != 0) {
            bytes_.push_back(0);
        }
    }
    std::size_t Size() const { return bytes_.size(); }
    void PatchWord(std::size_t offset, WORD value) { std::memcpy(&bytes_[offset], &value, 2); }

    std::vector<DWORD> Take() {
        AlignToDword();
        std::vector<DWORD> dwords(bytes_.size() / sizeof(DWORD));
        std::memcpy(dwords.data(), bytes_.data(), bytes_.size());
        return dwords;
    }

private:
    void Append(const void* data, std::size_t size) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }

    std::vector<unsigned char> bytes_;
};

void WriteControl(Writer& out, const ControlTemplate& control, const ControlClass& controlClass,
                  double widthScale) {
    out.AlignToDword();
    DWORD style = WS_CHILD | WS_VISIBLE | controlClass.style |
                  StyleBits(control.styles, ControlStyles(control.kind));
    if (control.Has("tabstop")) {
        style |= WS_TABSTOP;
    }
    out.Dword(0);  // help id
    out.Dword(0);  // extended style
    out.Dword(style);
    const Span horizontal = Scaled(control.rect.x, control.rect.width, widthScale);
    out.Short(horizontal.start);
    out.Short(control.rect.y);
    out.Short(horizontal.length);
    out.Short(control.rect.height);
    out.Dword(static_cast<DWORD>(control.id));
    if (controlClass.ordinal != 0) {
        out.Ordinal(controlClass.ordinal);
    } else {
        out.WideText(controlClass.name);
    }
    if (control.kind == "icon") {
        out.Ordinal(static_cast<WORD>(control.icon));
    } else {
        out.Text(control.text);
    }
    out.Word(0);  // no creation data
}

}  // namespace

Span Scaled(int start, int length, double scale) {
    const auto scaledStart = static_cast<int>(std::lround(start * scale));
    const auto scaledEnd = static_cast<int>(std::lround((start + length) * scale));
    return {scaledStart, scaledEnd - scaledStart};
}

bool IsBuilt(const ControlTemplate& control) {
    return ControlClasses().count(control.kind) != 0;
}

std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate, double widthScale) {
    Writer out;
    out.Word(1);       // version
    out.Word(0xFFFF);  // an extended template
    out.Dword(0);      // help id
    out.Dword(dialogTemplate.HasExtended("appwindow") ? WS_EX_APPWINDOW : 0);
    out.Dword(StyleBits(dialogTemplate.styles, DialogStyles()) | DS_SETFONT);
    const std::size_t countOffset = out.Size();
    out.Word(0);  // the number of controls, known at the end
    out.Short(0);
    out.Short(0);
    out.Short(Scaled(0, dialogTemplate.width, widthScale).length);
    out.Short(dialogTemplate.height);
    out.Word(0);  // no menu
    out.Word(0);  // the system's dialog class
    out.Text(dialogTemplate.caption);
    out.Word(static_cast<WORD>(dialogTemplate.fontPoints));
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // not italic, default character set
    out.Text(dialogTemplate.fontFace);
    WORD count = 0;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const auto found = ControlClasses().find(control.kind);
        if (found != ControlClasses().end()) {
            WriteControl(out, control, found->second, widthScale);
            ++count;
        }
    }
    out.PatchWord(countOffset, count);
    return out.Take();
}

}  // namespace lumisk::ui
