// The GUI tests run headless on one application object, made the program's way.

#include <gtest/gtest.h>

#include <QByteArray>

#include "ui/application.h"

int main(int argc, char** argv) {
    // Test discovery runs the binary outside ctest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    lumisk::ui::Application application(argc, argv);
    // The program's own colours, which every dialog and message box under test then has.
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    return RUN_ALL_TESTS();
}
