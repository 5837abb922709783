#include "ui/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "ui/qt/accessibility.h"
#include "ui/qt/desktop_contrast.h"
#include "ui/qt/dialog_colors.h"
#include "ui/qt/dialog_style.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/resources.h"

namespace lumisk::ui {
namespace {

constexpr int MessageFontPoints = 9;

QString ProgramName(int argc, char** argv) {
    if (argc < 1 || argv == nullptr || argv[0] == nullptr) {
        return QStringLiteral("lumisk");
    }
    return QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
}

// What the toolkit says while it starts, held back: when it cannot open a display it says a
// great deal and then aborts, where one line and status 1 tell the user what is wrong.
struct StartMessages {
    QByteArray programName;
    QtMessageHandler previous = nullptr;
    std::vector<std::pair<QtMsgType, QString>> held;
};

StartMessages* startMessages = nullptr;

void HoldStartMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type != QtFatalMsg) {
        startMessages->held.emplace_back(type, text);
        return;
    }
    std::fprintf(stderr,
                 "%s needs a graphical display and could not open one; lumisk-cli works "
                 "without one.\n",
                 startMessages->programName.constData());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

struct Application::State {
    // The toolkit keeps these for its lifetime: the program's name without its arguments, as
    // the program takes no options, the toolkit's own included.
    int argc = 1;
    QByteArray program;
    char* argv[2] = {nullptr, nullptr};
    std::unique_ptr<QApplication> application;
};

Application::Application(int& argc, char** argv) : state_(std::make_unique<State>()) {
    InitResources();
    const QString name = ProgramName(argc, argv);
    state_->program = argc > 0 && argv != nullptr && argv[0] != nullptr ? QByteArray(argv[0])
                                                                        : name.toLocal8Bit();
    state_->argv[0] = state_->program.data();
    StartMessages messages{name.toLocal8Bit(), nullptr, {}};
    startMessages = &messages;
    messages.previous = qInstallMessageHandler(HoldStartMessage);
    state_->application = std::make_unique<QApplication>(state_->argc, state_->argv);
    qInstallMessageHandler(messages.previous);
    startMessages = nullptr;
    for (const auto& [type, text] : messages.held) {
        qt_message_output(type, QMessageLogContext(), text);
    }
    QApplication::setApplicationName(name);
    // The toolkit switches the C library to the user's locale; numbers and texts the program
    // parses and prints must not depend on it.
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    // One style and one message font everywhere, so windows look and measure the same on
    // every desktop.
    QApplication::setStyle(new DialogStyle);
    QApplication::setFont(DialogFont(QStringLiteral("Arial"), MessageFontPoints));
    InstallAccessibleInterfaces();
    // The desktop's wish for high contrast, now and whenever it changes.
    auto* contrast = new DesktopContrast(state_->application.get());
    QObject::connect(contrast, &DesktopContrast::Changed, contrast, &UseHighContrast);
}

Application::~Application() = default;

std::string Application::Name() {
    return QCoreApplication::applicationName().toStdString();
}

void Application::SetDialogColors(Rgb background, Rgb text) {
    SetDialogPalette(background, text);
}

}  // namespace lumisk::ui
