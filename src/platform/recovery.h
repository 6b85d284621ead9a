#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

namespace tl {

struct Workspace;

// Keeps a recovery copy of the open class while it has changes no save holds,
// so that a crash or a power cut loses at most the last few seconds: the
// class-file text, written atomically by a worker thread into the recovery
// folder, readable by the user only. A lock file beside the copy tells a
// running program's copy from one a crash left behind.
class RecoveryKeeper : public QObject {
  public:
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
    // Waits for a copy being written.
    void waitForWrite();
    QString copyPath() const { return copyPath_; }

  private:
    void removeCopy();

    const Workspace& ws_;
    QString folder_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    QTimer timer_;
    std::thread writer_;
    std::atomic<bool> writing_{false};
    std::uint64_t written_ = 0;  // the class change the copy holds; 0 for none
};

// A copy left by a program that is no longer running.
struct LeftCopy {
    QString path;
    QDateTime written;
};

// The copies in the folder that no running program owns, newest first.
std::vector<LeftCopy> leftCopies(const QString& folder);

// The question for a left copy.
QString restoreQuestion(const QString& classCode, const QDateTime& written);

}  // namespace tl
