#pragma once
// A watch on one file through the system's change notifications: a change of the file, written in
// place or replaced, counts, and so does its coming where there was none.

#include <QFileSystemWatcher>
#include <QString>
#include <functional>

namespace lumisk::ui {

class FileWatch {
public:
    explicit FileWatch(std::function<void()> changed);

    // From now on calls `changed` for each change of the file at `path`.
    void Watch(const QString& path);

private:
    // Watches file_, or the nearest directory towards it; whether the file itself came under
    // watch now.
    bool WatchFile();

    QFileSystemWatcher watcher_;
    QString file_;
    std::function<void()> changed_;
};

}  // namespace lumisk::ui
