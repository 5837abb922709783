#include "ui/qt/file_watch.h"

#include <QFileInfo>
#include <utility>

namespace lumisk::ui {

FileWatch::FileWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_, [this] {
        WatchFile();
        changed_();
    });
    // Other files come and go beside it; only its own coming counts.
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_, [this] {
        if (WatchFile()) {
            changed_();
        }
    });
}

void FileWatch::Watch(const QString& path) {
    file_ = QFileInfo(path).absoluteFilePath();
    WatchFile();
}

bool FileWatch::WatchFile() {
    // The nearest directory that exists sees the file's own directory, then the file, appear; a
    // file replaced as a whole leaves the watch, and its directory sees it come back.
    for (QString directory = QFileInfo(file_).absolutePath();;
         directory = QFileInfo(directory).absolutePath()) {
        if (QFileInfo(directory).isDir()) {
            if (!watcher_.directories().contains(directory)) {
                watcher_.addPath(directory);
            }
            break;
        }
        if (QFileInfo(directory).isRoot()) {
            break;
        }
    }
    return !watcher_.files().contains(file_) && QFileInfo::exists(file_) && watcher_.addPath(file_);
}

}  // namespace lumisk::ui
