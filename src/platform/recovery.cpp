// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/recovery.h"

#include <signal.h>
#include <sys/types.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSysInfo>
#include <algorithm>
#include <array>
#include <cerrno>
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

bool writeCopyFile(const std::string& path, const std::string& text) {
    if (!writeFileAtomically(path, text)) return false;
    std::error_code ec;
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        std::filesystem::perm_options::replace, ec);
    return true;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const Workspace& ws, QString folder, QObject* parent)
    : QObject(parent), ws_(ws), folder_(std::move(folder)), write_(writeCopyFile) {
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keepUp);
}

RecoveryKeeper::~RecoveryKeeper() {
    timer_.stop();
    // The window that shows the status line may be going too: nothing is reported.
    if (writer_.joinable()) writer_.join();
}

QString RecoveryKeeper::cannotWriteText() {
    return "The recovery copy could not be written; save the class to keep your changes.";
}

void RecoveryKeeper::start() {
    if (!folder_.isEmpty()) timer_.start();
}

void RecoveryKeeper::waitForWrite() {
    if (!writer_.joinable()) return;
    writer_.join();
    if (writeSucceeded_) written_ = attempted_;
    setFailing(!writeSucceeded_);
}

void RecoveryKeeper::finishWrite() {
    if (!writing_) waitForWrite();
}

bool RecoveryKeeper::upToDate() const {
    return folder_.isEmpty() || !ws_.doc.hasUnsavedChanges() || written_ == ws_.doc.changes();
}

void RecoveryKeeper::setFailing(bool failing) {
    if (!failing && !failing_) return;
    failing_ = failing;
    QLabel* line = statusLine_ ? statusLine_() : nullptr;
    if (line == nullptr) return;
    // Said again at each failed attempt, in case another message took its place.
    if (failing) {
        line->setText(cannotWriteText());
    } else if (line->text() == cannotWriteText()) {
        line->clear();
    }
}

bool RecoveryKeeper::prepareCopy() {
    if (!copyPath_.isEmpty()) return true;
    // Only the user may read the folder and the copies in it; a write
    // permission the user took away is not given back.
    if (!QDir().mkpath(folder_)) return false;
    QFile::setPermissions(
        folder_, QFile::permissions(folder_) &
                     (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QString path = QDir(folder_).filePath(QString("class-%1-%2.tlc")
                                                    .arg(QDateTime::currentMSecsSinceEpoch())
                                                    .arg(QCoreApplication::applicationPid()));
    auto lock = std::make_unique<QLockFile>(lockPathOf(path));
    lock->setStaleLockTime(0);
    // Without its lock another program would take the copy for a left one.
    if (!lock->tryLock(0)) return false;
    copyPath_ = path;
    lock_ = std::move(lock);
    return true;
}

void RecoveryKeeper::keepUp() {
    if (folder_.isEmpty()) return;
    if (!ws_.doc.hasUnsavedChanges()) {
        removeCopy();
        setFailing(false);
        return;
    }
    // One write at a time; its outcome comes back when it is done.
    if (writing_) return;
    finishWrite();
    if (written_ == ws_.doc.changes()) return;
    if (!prepareCopy()) {
        setFailing(true);
        return;
    }
    // The text is taken now, on this thread; the worker only writes it.
    std::string text = classFileText(ws_.students());
    attempted_ = ws_.doc.changes();
    writing_ = true;
    writer_ = std::thread([this, write = write_, path = toPath(copyPath_), text = std::move(text)] {
        writeSucceeded_ = write(path, text);
        writing_ = false;
        QMetaObject::invokeMethod(
            this, [this] { finishWrite(); }, Qt::QueuedConnection);
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
    setFailing(false);
}

bool RecoveryKeeper::takeOver(const QString& leftCopy) {
    keepUp();
    waitForWrite();
    // Until a copy of this program holds the class, the left one is its only copy on disk.
    if (!upToDate()) return false;
    return QFile::remove(leftCopy) || !QFileInfo::exists(leftCopy);
}

bool takeLockFile(const QString& lockPath) {
    QLockFile lock(lockPath);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return false;
    lock.unlock();
    return true;
}

bool lockOwnerRunning(const QString& lockPath) {
    qint64 pid = 0;
    QString host;
    QString program;
    // No lock file, or none that names its owner: nobody holds the copy.
    if (!QLockFile(lockPath).getLockInfo(&pid, &host, &program) || pid <= 0) return false;
    // A program on another computer cannot be asked; its copy is left alone.
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) return true;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
    // The number may belong to another program since (after a restart, say).
    QString running = QFile::symLinkTarget(QString("/proc/%1/exe").arg(pid));
    if (running.isEmpty() || program.isEmpty()) return true;
    if (running.endsWith(" (deleted)")) running.chop(10);
    return QFileInfo(running).fileName() == QFileInfo(program).fileName();
}

std::vector<LeftCopy> leftCopies(const QString& folder, const TakeLock& takeLock) {
    std::vector<LeftCopy> copies;
    if (folder.isEmpty()) return copies;
    // A lock a crash left without a copy beside it goes.
    for (const QFileInfo& lockFile : QDir(folder).entryInfoList({"*.tlc.lock"}, QDir::Files)) {
        if (!QFileInfo::exists(lockFile.filePath().chopped(5))) takeLock(lockFile.filePath());
    }
    const QFileInfoList files = QDir(folder).entryInfoList({"*.tlc"}, QDir::Files);
    for (const QFileInfo& file : files) {
        // A running owner holds its lock. A lock that cannot be taken (the
        // folder cannot be written) keeps the copy only for a live owner.
        const QString lockPath = lockPathOf(file.filePath());
        if (!takeLock(lockPath) && lockOwnerRunning(lockPath)) continue;
        copies.push_back({file.filePath(), file.lastModified()});
    }
    std::sort(copies.begin(), copies.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.written > b.written; });
    return copies;
}

QString setAsideUnreadable(const QString& copy) {
    const QString aside = copy + ".unreadable";
    // Where it cannot be renamed it stays, and is tried again at the next start.
    return QFileInfo(QFile::rename(copy, aside) ? aside : copy).fileName();
}

QString restoreQuestion(const QString& classCode, const QDateTime& written) {
    static const std::array<const char*, 12> kMonths = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    const QDate day = written.date();
    const QTime time = written.time();
    const int month = std::clamp(day.month(), 1, 12);
    return "Tallyleaf was not closed properly. Restore the class " + classCode + " as it was at " +
           QString("%1:%2")
               .arg(time.hour(), 2, 10, QChar('0'))
               .arg(time.minute(), 2, 10, QChar('0')) +
           " on " + kMonths[static_cast<std::size_t>(month - 1)] + " " +
           QString::number(day.day()) + ", " + QString::number(day.year()) + "?";
}

}  // namespace tl
