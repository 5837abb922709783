#pragma once
// The About box: the application's icon, name and version, and one OK button.

#include "ui/dialog.h"

namespace lumisk {

class AboutDialog : public ui::Dialog {
public:
    static constexpr int TemplateId = 100;
    AboutDialog() : ui::Dialog(TemplateId) {}
};

}  // namespace lumisk
