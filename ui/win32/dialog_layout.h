#pragma once
// A dialog template laid out at a DPI: the template's font made at that DPI, and the boxes of the
// dialog and its controls in dialog units measured from that font as the dialog manager measures
// them (a quarter of the mean letter width, an eighth of the letter height). A horizontal unit is
// never narrower than the font's exact letters: the manager rounds their mean width to whole
// pixels, while text is drawn at its exact widths (Arial 8 pt at 96 DPI has 6.41 px letters taken
// as 6), and the boxes were made for the texts.

#include <windows.h>

#include "ui/dialog_template.h"

namespace lumisk::ui {

class DialogLayout {
public:
    DialogLayout(const DialogTemplate& dialogTemplate, int dpi);
    ~DialogLayout();
    DialogLayout(const DialogLayout&) = delete;
    DialogLayout& operator=(const DialogLayout&) = delete;

    int Dpi() const { return dpi_; }
    // The template's font at this DPI; it lives as long as the layout.
    HFONT Font() const { return font_; }
    // How much wider the exact letters are than the dialog manager takes them to be, never
    // below 1: what a template built for the manager scales its horizontal units by.
    double LetterWidthCorrection() const { return letterWidthCorrection_; }
    // The width of four horizontal units, in pixels: what the boxes grow with.
    double LetterWidth() const { return letterWidth_; }
    // The control's box in the dialog's client area, in pixels.
    RECT ControlBox(const ControlTemplate& control) const;
    // The size of the dialog's client area, in pixels.
    SIZE ClientSize() const;

private:
    const DialogTemplate& template_;
    const int dpi_;
    HFONT font_ = nullptr;
    // Pixels per four horizontal units and per eight vertical units.
    double letterWidth_ = 0;
    int letterHeight_ = 0;
    double letterWidthCorrection_ = 1.0;
};

}  // namespace lumisk::ui
