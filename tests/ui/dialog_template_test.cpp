// Dialogs built from their templates: controls by id, tab order, pixel geometry, window kind
// and colours.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <map>
#include <vector>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"
#include "ui/accessible_name.h"
#include "ui/dialog_template.h"
#include "ui/qt/dialog_units.h"
#include "ui/string_resources.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

// The id of the control `widget` belongs to; -1 for none.
int ControlIdOf(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (widget->property("controlId").isValid()) {
            return widget->property("controlId").toInt();
        }
    }
    return -1;
}

TEST(DialogTemplate, MainTemplateListsEveryControlInTabOrder) {
    const auto dialog = ui::LoadDialogTemplate(MainTemplate);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption, "Varnok Lumisk Utility");
    EXPECT_EQ(dialog->width, 281);
    EXPECT_EQ(dialog->height, 231);
    EXPECT_EQ(dialog->fontFace, "Arial");
    EXPECT_EQ(dialog->fontPoints, 8);
    std::vector<int> ids;
    for (const auto& control : dialog->controls) {
        ids.push_back(control.id);
    }
    // Each label just before the field it names, as the system's dialog manager reads it.
    const std::vector<int> expected = {1000, 1002, 1008, -1,   1006, -1,   1010, -1,
                                       1011, 1007, 1001, 1003, 1004, 1009, -1,   -1,
                                       -1,   -1,   1013, -1,   1015, 1021, 1022};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(dialog->controls[20].items, std::vector<std::string>({"Disable", "Enable"}));
    EXPECT_TRUE(dialog->controls[20].Has("sort"));
}

// What a screen reader calls each dialog and each control that takes the focus, on every back end.
TEST(DialogTemplate, EveryControlThatTakesTheFocusHasTheNameAPersonWouldSay) {
    const std::map<int, std::string> names = {
        {MainTemplate,
         "Varnok Lumisk Utility: 1000 Network Storage Devices|1002 Refresh|1008 Configuration|"
         "1006 IP|1010 Netmask|1011 Gateway|1007 Apply|1001 Shares|1003 Connect|1004 Disconnect|"
         "1009 Exit|1013 Available Drive Letters|1015 Receive DHCP|1021 About|1022 Language|"},
        {LoginTemplate, "Login: 1016 User name|1017 Password|1 OK|2 Cancel|"},
        {139, "Language: 1 OK|2 Cancel|1022 Language|"},
        {141, "Restart: 1023 The system is restarting. Please wait a moment.|"}};
    for (const auto& [templateId, expected] : names) {
        const auto dialog = ui::LoadDialogTemplate(templateId);
        ASSERT_TRUE(dialog.has_value());
        std::string named = ui::AccessibleName(*dialog) + ": ";
        for (std::size_t index = 0; index < dialog->controls.size(); ++index) {
            if (dialog->controls[index].id != -1) {
                named += std::to_string(dialog->controls[index].id) + " " +
                         ui::AccessibleName(*dialog, index) + "|";
            }
        }
        EXPECT_EQ(named, expected);
    }
}

TEST(DialogTemplate, MalformedTemplatesAreRefused) {
    EXPECT_FALSE(ui::ParseDialogTemplate("").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate("not json at all {").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10]})").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [-1, 10]})").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "controls": [{"class": "button"}]})")
                     .has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "controls": [{"class": "label",
        "rect": [1, 2, 3, 99999999999]}]})")
                     .has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "controls": [{"class": "label",
        "rect": [1, 2, -3, 4]}]})")
                     .has_value());
    const auto minimal =
        ui::ParseDialogTemplate(R"({"size": [10, 20], "font": {"points": 100000}})");
    ASSERT_TRUE(minimal.has_value());
    EXPECT_EQ(minimal->fontFace, "Arial");
    EXPECT_EQ(minimal->fontPoints, 72);
    EXPECT_TRUE(minimal->controls.empty());
    // Not JSON, or nested past any template's need.
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10]} trailing)").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [010, 10]})").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "caption": "\x"})").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "caption": "\ud800"})").has_value());
    EXPECT_FALSE(ui::ParseDialogTemplate(R"({"size": [10, 10], "deep": )" +
                                         std::string(100000, '[') + std::string(100000, ']') + "}")
                     .has_value());
}

TEST(DialogTemplate, TextsComeAsUtf8WithEveryEscape) {
    const auto dialog = ui::ParseDialogTemplate(
        R"({"size": [1e1, 20.0], "caption": "A\"\\\/\t\u00e9\u4e2d\ud83d\ude00"})");
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->width, 10);
    EXPECT_EQ(dialog->height, 20);
    EXPECT_EQ(dialog->caption, "A\"\\/\t\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
}

TEST(DialogTemplate, BrokenOrMissingTemplateEndsTheRunAtOnce) {
    ProbeDialog broken(BrokenTemplate);
    EXPECT_EQ(broken.DoModal(), -1);
    ProbeDialog missing(424242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.IsRunning());
}

TEST(DialogUnits, FollowTheFontLikeTheNativeDialogs) {
    // Liberation Sans (or Arial) 8 points at 96 dpi: 11 pixels, letters 6.41 pixels wide on
    // average and 12 high. Four units across are those 6.41 pixels, not a whole 6, or the texts
    // the template was drawn for would not fit their boxes.
    const QFont font = ui::DialogFont("Arial", 8);
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_TRUE(QFontInfo(font).family() == "Liberation Sans" ||
                QFontInfo(font).family() == "Arial");
    const ui::DialogUnits units(font);
    EXPECT_NEAR(units.BaseX(), 6.41, 0.01);
    EXPECT_EQ(units.BaseY(), 12);
    EXPECT_EQ(units.ToPixels(QSize(281, 231)), QSize(450, 347));
    // Edges map one by one: x 8..224 gives 13..359, y 13..66 gives 20..99.
    EXPECT_EQ(units.ToPixels(QRect(8, 13, 216, 53)), QRect(13, 20, 346, 79));
    EXPECT_EQ(ui::DialogFont("Arial", 9).pixelSize(), 12);
}

TEST(DialogWindow, MainDialogHasEveryControlByIdAtItsPlace) {
    ProbeDialog dialog(MainTemplate);
    QPointer<QWidget> window;
    const int code = RunDialog(dialog, [&] {
        window = ActiveDialog();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), "Varnok Lumisk Utility");
        EXPECT_EQ(window->size(), QSize(450, 347));
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
        for (const int id : {1000, 1001, 1002, 1003, 1004, 1006, 1007, 1008, 1009, 1010, 1011, 1013,
                             1015, 1021, 1022}) {
            QWidget* control = FindControl(id);
            ASSERT_NE(control, nullptr) << id;
            EXPECT_EQ(control->property("controlId").toInt(), id);
        }
        EXPECT_EQ(FindControl(1000)->geometry(), QRect(13, 20, 346, 79));
        EXPECT_TRUE(qobject_cast<QTableWidget*>(FindControl(1000)) != nullptr);
        EXPECT_EQ(window->findChildren<QGroupBox*>().size(), 3);
        EXPECT_EQ(dialog.ControlText(1009), "Exit");
        dialog.EndDialog(5);
    });
    EXPECT_EQ(code, 5);
    // The window and its controls are gone once the run is over.
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_FALSE(dialog.IsRunning());
}

TEST(DialogWindow, TabWalksTheControlsInTemplateOrder) {
    ProbeDialog dialog(MainTemplate);
    std::vector<int> visited;
    RunDialog(dialog, [&] {
        for (int step = 0; step < 16; ++step) {
            visited.push_back(ControlIdOf(ActiveDialog()->focusWidget()));
            PressKey(Qt::Key_Tab);
        }
        dialog.EndDialog(ui::IdCancel);
    });
    const std::vector<int> expected = {1000, 1002, 1008, 1006, 1010, 1011, 1007, 1001,
                                       1003, 1004, 1009, 1013, 1015, 1021, 1022, 1000};
    EXPECT_EQ(visited, expected);
}

TEST(DialogWindow, InitDialogChoosesWhereTheFocusStarts) {
    ProbeDialog first(LoginTemplate);
    RunDialog(first, [&] {
        EXPECT_EQ(ControlIdOf(ActiveDialog()->focusWidget()), 1016);
        first.EndDialog(ui::IdOk);
    });
    ProbeDialog chosen(LoginTemplate);
    chosen.init = [&] {
        chosen.FocusControl(ui::IdCancel);
        return false;
    };
    RunDialog(chosen, [&] {
        EXPECT_EQ(ControlIdOf(ActiveDialog()->focusWidget()), ui::IdCancel);
        chosen.EndDialog(ui::IdOk);
    });
}

TEST(DialogWindow, EndDialogDuringInitEndsWithoutRunning) {
    ProbeDialog dialog(LoginTemplate);
    dialog.init = [&] {
        EXPECT_TRUE(dialog.IsRunning());
        dialog.Text(1016).SetText("set before the window shows");
        EXPECT_EQ(dialog.Text(1016).GetText(), "set before the window shows");
        dialog.EndDialog(9);
        return true;
    };
    EXPECT_EQ(dialog.DoModal(), 9);
    EXPECT_EQ(dialog.paintCalls, 0);
}

TEST(DialogWindow, UnknownControlClassesAreLeftOut) {
    ProbeDialog dialog(ToolkitTemplate);
    RunDialog(dialog, [&] {
        EXPECT_EQ(FindControl(3005), nullptr);
        EXPECT_NE(FindControl(3003), nullptr);
        EXPECT_EQ(dialog.ControlText(3004), "Status");
        EXPECT_EQ(dialog.ControlText(3005), "");
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogWindow, DialogColoursForTheWindowNotForFieldsAndLists) {
    const QColor blue(0, 98, 147);
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        QWidget* window = ActiveDialog();
        const QImage image = window->grab().toImage();
        // The margin left of the first group box, and inside the device list's empty rows.
        EXPECT_EQ(image.pixelColor(1, window->height() / 2), blue);
        const QWidget* list = FindControl(1000);
        const QPoint inList = list->geometry().bottomRight() - QPoint(8, 8);
        EXPECT_EQ(image.pixelColor(inList * image.devicePixelRatio()), QColor(Qt::white));
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        for (const QGroupBox* box : window->findChildren<QGroupBox*>()) {
            EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        const QWidget* address = FindControl(1006);
        EXPECT_EQ(address->palette().color(address->backgroundRole()), QColor(Qt::white));
        EXPECT_EQ(FindControl(1013)->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::black));
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogWindow, AboutBoxShowsTheIcon) {
    ProbeDialog dialog(AboutTemplate);
    RunDialog(dialog, [&] {
        dialog.SetIcon(128);
        EXPECT_FALSE(ActiveDialog()->windowIcon().isNull());
        bool iconShown = false;
        for (const QLabel* label : ActiveDialog()->findChildren<QLabel*>()) {
            iconShown = iconShown || label->pixmap().size() == QSize(32, 32);
        }
        EXPECT_TRUE(iconShown);
        EXPECT_FALSE(ActiveDialog()->windowFlags() & Qt::WindowMinimizeButtonHint);
        PressEnter();
    });
}

TEST(DialogWindow, EveryLabelAndButtonTextFitsItsBoxAtTheTemplateFont) {
    // Inside a button the text keeps clear of the frame drawn along its edges.
    constexpr int ButtonTextMargin = 3;
    for (const int templateId : {100, 102, 134, 139, 141}) {
        ProbeDialog dialog(templateId);
        RunDialog(dialog, [&] {
            for (const QLabel* label : ActiveDialog()->findChildren<QLabel*>()) {
                const QFontMetricsF metrics(label->font());
                EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                    << templateId << " " << label->text().toStdString();
                EXPECT_LE(QFontMetrics(label->font()).height(), label->contentsRect().height())
                    << templateId;
            }
            for (const QPushButton* button : ActiveDialog()->findChildren<QPushButton*>()) {
                EXPECT_LE(QFontMetricsF(button->font()).horizontalAdvance(button->text()),
                          button->width() - 2 * ButtonTextMargin)
                    << templateId << " " << button->text().toStdString();
            }
            dialog.EndDialog(ui::IdOk);
        });
    }
}

TEST(StringResources, TableEntriesByIdAndNothingForOthers) {
    EXPECT_EQ(ui::LoadString(101), "About Velnora(&A)...");
    EXPECT_EQ(ui::LoadString(7), "");
}

}  // namespace
}  // namespace lumisk::ui_test
