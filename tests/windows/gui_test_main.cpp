// The main of the Windows GUI tests: one application object with the program's colours, as
// tests/gui_support/gui_test_main.cpp makes it for the Qt ones.

#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    lumisk::ui::Application application(argc, argv);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    return RUN_ALL_TESTS();
}
