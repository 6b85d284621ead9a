#include "platform/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "core/workspace.h"
#include "platform/encoding.h"

namespace tl {

namespace {

constexpr int kCheckMs = 2000;  // a copy is at most this far behind, plus its write

QString lockPathOf(const QString& copy) {
    return copy + ".lock";
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const Workspace& ws, QString folder, QObject* parent)
    : QObject(parent), ws_(ws), folder_(std::move(folder)) {
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keepUp);
}

RecoveryKeeper::~RecoveryKeeper() {
    timer_.stop();
    waitForWrite();
}

void RecoveryKeeper::start() {
    if (!folder_.isEmpty()) timer_.start();
}

void RecoveryKeeper::waitForWrite() {
    if (writer_.joinable()) writer_.join();
}

void RecoveryKeeper::keepUp() {
    if (folder_.isEmpty()) return;
    if (!hasUnsavedChanges(ws_)) {
        removeCopy();
        return;
    }
    if (written_ == ws_.classChanges) return;
    // One write at a time; a later check takes the newer class.
    if (writing_) return;
    waitForWrite();
    if (copyPath_.isEmpty()) {
        // Only the user may read the folder and the copies in it.
        if (!QDir().mkpath(folder_)) return;
        QFile::setPermissions(
            folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        copyPath_ = QDir(folder_).filePath(QString("class-%1-%2.tlc")
                                               .arg(QDateTime::currentMSecsSinceEpoch())
                                               .arg(QCoreApplication::applicationPid()));
        lock_ = std::make_unique<QLockFile>(lockPathOf(copyPath_));
        lock_->setStaleLockTime(0);
        if (!lock_->tryLock(0)) {
            lock_.reset();
            copyPath_.clear();
            return;
        }
    }
    // The text is taken now, on this thread; the worker only writes it.
    std::string text = classFileText(ws_.students);
    const std::string path = toPath(copyPath_);
    written_ = ws_.classChanges;
    writing_ = true;
    writer_ = std::thread([this, path, text = std::move(text)] {
        if (writeFileAtomically(path, text)) {
            std::error_code ec;
            std::filesystem::permissions(
                path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                std::filesystem::perm_options::replace, ec);
        }
        writing_ = false;
    });
}

void RecoveryKeeper::removeCopy() {
    waitForWrite();
    if (copyPath_.isEmpty()) return;
    QFile::remove(copyPath_);
    written_ = 0;
}

void RecoveryKeeper::discard() {
    timer_.stop();
    removeCopy();
    if (lock_) lock_->unlock();
    lock_.reset();
    copyPath_.clear();
}

std::vector<LeftCopy> leftCopies(const QString& folder) {
    std::vector<LeftCopy> copies;
    if (folder.isEmpty()) return copies;
    // A lock a crash left without a copy beside it goes.
    for (const QFileInfo& lockFile : QDir(folder).entryInfoList({"*.tlc.lock"}, QDir::Files)) {
        const QString copy = lockFile.filePath().chopped(5);
        if (QFileInfo::exists(copy)) continue;
        QLockFile lock(lockFile.filePath());
        lock.setStaleLockTime(0);
        if (lock.tryLock(0)) lock.unlock();
    }
    const QFileInfoList files = QDir(folder).entryInfoList({"*.tlc"}, QDir::Files);
    for (const QFileInfo& file : files) {
        // A lock its owner still holds is a running program's copy.
        QLockFile lock(lockPathOf(file.filePath()));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;
        lock.unlock();
        copies.push_back({file.filePath(), file.lastModified()});
    }
    std::sort(copies.begin(), copies.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.written > b.written; });
    return copies;
}

QString restoreQuestion(const QString& classCode, const QDateTime& written) {
    return "Tallyleaf was not closed properly. Restore the class " + classCode + " as it was at " +
           written.toString("HH:mm") + " on " + written.toString("MM-dd-yyyy") + "?";
}

}  // namespace tl
