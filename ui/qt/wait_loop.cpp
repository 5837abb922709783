#include "ui/wait_loop.h"

#include <QApplication>
#include <QEventLoop>

#include "ui/worker.h"

namespace lumisk::ui {

int RunEventLoopDuring(const std::function<int()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    int result = 0;
    StartWorker([&work, &result, &loop] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Paints, timers and requests of other workers go on; input waits in the queue.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
    return result;
}

}  // namespace lumisk::ui
