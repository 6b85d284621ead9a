// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QLabel;

namespace tl {

struct Workspace;

// Keeps a recovery copy of the open class while it has changes no save holds,
// so that a crash or a power cut loses at most the last few seconds: the
// class-file text, written atomically by a worker thread into the recovery
// folder, readable by the user only. A lock file beside the copy tells a
// running program's copy from one a crash left behind. A copy that cannot be
// written is tried again every two seconds until one holds the latest change;
// meanwhile the status line says so.
class RecoveryKeeper : public QObject {
  public:
    // Writes the copy's text at path (on the worker thread); false when it
    // could not be written.
    using WriteCopy = std::function<bool(const std::string& path, const std::string& text)>;
    // The status line to report on, looked up each time.
    using StatusLine = std::function<QLabel*()>;

    RecoveryKeeper(const Workspace& ws, QString folder, QObject* parent = nullptr);
    // The copy stays: only a normal exit (discard) removes it.
    ~RecoveryKeeper() override;

    // Checks every two seconds from now on.
    void start();
    // Writes the copy when the class has unsaved changes it does not hold
    // yet; removes it when the class is saved or closed.
    void keepUp();
    // A normal exit: the copy and its lock go.
    void discard();
    // Waits for a copy being written and takes its outcome.
    void waitForWrite();
    QString copyPath() const { return copyPath_; }
    // The copy holds the class's latest change, or none is needed.
    bool upToDate() const;
    // The last attempt to write the copy failed.
    bool failing() const { return failing_; }

    // A class restored from the left copy at path is open: this keeper writes
    // a copy of its own, and the left one goes once that copy holds the class.
    // False when the left copy is still there.
    bool takeOver(const QString& leftCopy);

    void setWriter(WriteCopy write) { write_ = std::move(write); }
    void setStatusLine(StatusLine statusLine) { statusLine_ = std::move(statusLine); }
    // What the status line says while no copy can be written.
    static QString cannotWriteText();

  private:
    bool prepareCopy();
    void finishWrite();
    void setFailing(bool failing);
    void removeCopy();

    const Workspace& ws_;
    QString folder_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    QTimer timer_;
    WriteCopy write_;
    StatusLine statusLine_;
    std::thread writer_;
    std::atomic<bool> writing_{false};
    std::atomic<bool> writeSucceeded_{false};
    std::uint64_t attempted_ = 0;  // the class change being written
    std::uint64_t written_ = 0;    // the class change the copy holds; 0 for none
    bool failing_ = false;
};

// A copy left by a program that is no longer running.
struct LeftCopy {
    QString path;
    QDateTime written;
};

// Tries to take a copy's lock and gives it back at once; false when it
// cannot be taken (a running owner holds it, or the folder cannot be written).
using TakeLock = std::function<bool(const QString& lockPath)>;
bool takeLockFile(const QString& lockPath);

// A program on this computer that is still running holds the lock.
bool lockOwnerRunning(const QString& lockPath);

// The copies in the folder that no running program owns, newest first. A copy
// whose lock cannot be taken is still offered when no running owner is
// recorded in its lock file.
std::vector<LeftCopy> leftCopies(const QString& folder, const TakeLock& takeLock = takeLockFile);

// Sets a copy that cannot be read aside as "<copy>.unreadable", which is never
// offered again; gives the name of the file it is kept as.
QString setAsideUnreadable(const QString& copy);

// The question for a left copy; the month in English whatever the language.
QString restoreQuestion(const QString& classCode, const QDateTime& written);

}  // namespace tl
