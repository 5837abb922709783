#include "ui/dialog.h"

#include "ui/dialog_routes.h"

namespace lumisk::ui {

// What every back end's Dialog shares: its routes and whether its window lives. Construction and
// destruction are the back end's, which knows its window.

bool Dialog::IsRunning() const {
    const std::lock_guard lock(routes_->windowMutex);
    return routes_->liveWindow != nullptr;
}

void Dialog::RouteClick(int controlId, std::function<void()> handler) {
    routes_->clicks[controlId] = std::move(handler);
}

void Dialog::RouteListClick(int controlId, std::function<void()> handler) {
    routes_->listClicks[controlId] = std::move(handler);
}

void Dialog::RouteSelectionChange(int controlId, std::function<void()> handler) {
    routes_->selectionChanges[controlId] = std::move(handler);
}

}  // namespace lumisk::ui
