#include "ui/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStyleFactory>
#include <clocale>

#include "ui/dialog_colors.h"
#include "ui/dialog_units.h"
#include "ui/resources.h"

namespace lumisk::ui {
namespace {

constexpr int MessageFontPoints = 9;

QString ProgramName(int argc, char** argv) {
    if (argc < 1 || argv == nullptr || argv[0] == nullptr) {
        return QStringLiteral("lumisk");
    }
    return QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
}

}  // namespace

struct Application::State {
    std::unique_ptr<QApplication> application;
};

Application::Application(int& argc, char** argv) : state_(std::make_unique<State>()) {
    InitResources();
    const QString name = ProgramName(argc, argv);
    state_->application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(name);
    // The toolkit switches the C library to the user's locale; numbers and texts the program
    // parses and prints must not depend on it.
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    // One style and one message font everywhere, so windows look and measure the same on
    // every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont(QStringLiteral("Arial"), MessageFontPoints));
}

Application::~Application() = default;

std::string Application::Name() {
    return QCoreApplication::applicationName().toStdString();
}

void Application::SetDialogColors(Rgb background, Rgb text) {
    SetDialogPalette(background, text);
}

}  // namespace lumisk::ui
