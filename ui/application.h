#pragma once
// The application object: the toolkit's start, the application's name and the colours of every
// dialog and message box.

#include <cstdint>
#include <memory>
#include <string>

namespace lumisk::ui {

struct Rgb {
    std::uint8_t red, green, blue;
};

class Application {
public:
    // Starts the toolkit. The name is the program file's name without its extension.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static std::string Name();

    // From here on every dialog and message box has this background and text colour; edit
    // fields and lists keep their own.
    void SetDialogColors(Rgb background, Rgb text);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumisk::ui
