#include "tests/gui_support/dialog_driver.h"

#include <gtest/gtest.h>

namespace lumisk::gui_test {

std::vector<MessageBoxRecord> RunAndAnswerMessageBoxes(const std::function<void()>& action) {
    MessageBoxAnswerer answerer;
    action();
    return answerer.Boxes();
}

void ExpectBox(const std::vector<MessageBoxRecord>& boxes, const std::string& text,
               const std::string& caption, ui::MessageIcon icon) {
    ASSERT_EQ(boxes.size(), 1u) << (boxes.empty() ? "no box" : boxes.back().text);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_EQ(boxes[0].icon, icon);
}

}  // namespace lumisk::gui_test
