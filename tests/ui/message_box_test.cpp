// Message boxes: caption, text, icon, owner and colours.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/worker.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

TEST(MessageBox, CaptionDefaultsToTheProgramName) {
    EXPECT_EQ(ui::Application::Name(), "ui_tests");
    ProbeDialog dialog(MainTemplate);
    std::vector<MessageBoxRecord> boxes;
    RunDialog(dialog, [&] {
        boxes = RunAndAnswerMessageBoxes([&] {
            ui::ShowMessage(&dialog, "Line one\nLine two");
            ui::ShowMessage(&dialog, "Device is no longer available.", "Warnning",
                            ui::MessageIcon::Exclamation);
        });
        dialog.EndDialog(ui::IdOk);
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Line one\nLine two");
    EXPECT_EQ(boxes[0].caption, "ui_tests");
    EXPECT_EQ(boxes[0].icon, ui::MessageIcon::None);
    EXPECT_TRUE(boxes[0].owned);
    EXPECT_EQ(boxes[1].caption, "Warnning");
    EXPECT_EQ(boxes[1].icon, ui::MessageIcon::Exclamation);
}

TEST(MessageBox, IconsWithoutOwner) {
    const auto boxes = RunAndAnswerMessageBoxes([] {
        ui::ShowMessage(nullptr, "stop", "c", ui::MessageIcon::Stop);
        ui::ShowMessage(nullptr, "info", "c", ui::MessageIcon::Information);
        ui::ShowMessage(nullptr, "<b>not bold</b>", "c");
    });
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].icon, ui::MessageIcon::Stop);
    EXPECT_EQ(boxes[1].icon, ui::MessageIcon::Information);
    EXPECT_EQ(boxes[2].text, "<b>not bold</b>");
    EXPECT_FALSE(boxes[0].owned);
}

TEST(MessageBox, HasTheDialogColoursAndOneOkButton) {
    QColor background;
    QColor text;
    QColor pixel;
    int buttons = 0;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* box = qApp->findChild<QMessageBox*>();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "lumisk_message_box" && widget->isVisible()) {
                box = qobject_cast<QMessageBox*>(widget);
            }
        }
        if (box == nullptr) {
            return;
        }
        look.stop();
        background = box->palette().color(QPalette::Window);
        text = box->palette().color(QPalette::WindowText);
        pixel = box->grab().toImage().pixelColor(2, 2);
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    look.start(5);
    ui::ShowMessage(nullptr, "coloured");
    EXPECT_EQ(background, QColor(0, 98, 147));
    EXPECT_EQ(pixel, QColor(0, 98, 147));
    EXPECT_EQ(text, QColor(Qt::white));
    EXPECT_EQ(buttons, 1);
}

TEST(MessageBox, FromAWorkerShowsOnTheGuiThread) {
    std::atomic<bool> returned = false;
    MessageBoxAnswerer answerer;
    ui::StartWorker([&] {
        ui::ShowMessage(nullptr, "from a worker");
        returned = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return returned.load(); }));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, "from a worker");
}

}  // namespace
}  // namespace lumisk::ui_test
