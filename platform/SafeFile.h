#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>
#include <sys/types.h>

namespace platform {

// A file operation that failed, worded for the user ("Can't write 'path':
// reason"), with the reason alone for messages that name the file themselves,
// and the system's code.
class FileError : public std::runtime_error {
public:
    FileError(const QString& action, const QString& path, const QString& reason, int code);
    const QString& reason() const { return mReason; }
    int code() const { return mCode; }

private:
    QString mReason;
    int mCode;
};

// The system's words for an error code ("No space left on device").
QString systemReason(int code);

// The read(2) and write(2) that writeAll, readAll and copyFile go through. Tests
// stand in calls that fail the way a full disk or a dying drive does, to see
// that nothing is lost; an empty call restores the system's.
using ReadCall = std::function<ssize_t(int fd, void* buffer, size_t size)>;
using WriteCall = std::function<ssize_t(int fd, const void* data, size_t size)>;
ReadCall setReadCall(ReadCall call);
WriteCall setWriteCall(WriteCall call);
// The fchmod(2) that gives a replaced file its permissions, for tests to
// refuse as file systems without Unix permissions (vfat) do.
using ModeCall = std::function<int(int fd, mode_t mode)>;
ModeCall setModeCall(ModeCall call);

// Writes every byte: short writes are continued, interrupted ones retried;
// anything else throws, naming `path`.
void writeAll(int fd, const char* data, qint64 size, const QString& path);
// Reads to the end of the file, refusing more than `limit` bytes: an ordinary
// file larger than that before reading any of it.
QByteArray readAll(int fd, qint64 limit, const QString& path);

// Opens a file for reading without ever blocking (a FIFO or a device answers
// at once) and insists that it is an ordinary file; with NoLinks, a link at
// the path's last step is refused too. The caller closes the descriptor.
enum class Links { Follow, NoLinks };
int openRegularForReading(const QString& path, Links links);

// Creates a new file that did not exist, never through a link; throws when
// the name is taken.
int createExclusive(const QString& path, mode_t mode);

// Which file a path named when it was written (the same name may later
// name another).
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Writes exactly the bytes to a new file, created exclusively and never
// through a link; a failure removes what was begun and throws.
FileIdentity writeNewFile(const QString& path, const QByteArray& bytes, mode_t mode);

// Reads back a file this program wrote: only when the path still names that
// very file, an ordinary one reached without a link, of at most `limit` bytes.
QByteArray readWrittenFile(const QString& path, const FileIdentity& written, qint64 limit);

// The permissions an ordinary new file gets: 0666 less the process's umask.
mode_t defaultFileMode();

// The name of the new file that replaceFile writes beside a file named
// `targetName` before renaming it into place, and whether a name is one. The
// name is hidden and carries the program's name, so that nothing the user
// keeps beside the file (a copy, a backup, a dated version) ever takes that
// form, and a clean-up that removes such names removes only our own leftovers.
QString temporaryName(const QString& targetName);
bool isTemporaryName(const QString& name, const QString& targetName);

// Replaces the file at `target` with what `fill` writes into the descriptor
// it is given: a new file beside the target (named by temporaryName), created
// exclusively and never through a link, written whole, flushed to the disk,
// then renamed over the target. Any failure leaves the target exactly as it
// was, removes the new file and throws. The new file takes the permissions of
// the regular file it replaces, otherwise `newFileMode`, where the file system
// keeps permissions at all. When `target` is a link of the user's own, the
// file at the end of its chain of the user's links is what is replaced (or
// made, when the chain leads nowhere yet), and the links stay; a link of
// another user's is itself replaced.
void replaceFile(const QString& target, const std::function<void(int fd)>& fill, mode_t newFileMode);
void replaceFile(const QString& target, const QByteArray& bytes, mode_t newFileMode);

// Copies the file at `source` to `target` as replaceFile writes: the old
// target stays whole until the copy is complete on the disk.
void copyFile(const QString& source, const QString& target, mode_t newFileMode);

// An exclusive lock held in the file at `path` (made when missing, removed
// when released) with flock(2): a holder that dies releases it at once, and
// the file holds the holder's process id, program and host, as Qt's lock
// files do, so that both kinds of lock keep each other out. Taking it writes
// nothing to the disk's journal beyond the file's creation.
class FileLock {
public:
    explicit FileLock(QString path) : mPath(std::move(path)) {}
    ~FileLock() { unlock(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to `timeoutMs` for the lock; false (with errno) when not had.
    bool tryLock(int timeoutMs);
    void unlock();
    bool isLocked() const { return mFd >= 0; }

private:
    QString mPath;
    int mFd = -1;
};

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : mFd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return mFd; }
    // Closes it now, reporting what close(2) says (a late write error).
    int close();

private:
    int mFd;
};

}  // namespace platform
