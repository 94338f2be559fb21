#include "services/files/SafeCopy.h"

#include "services/files/CopyProgress.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

namespace {

// Ends the progress on every way out of the copy.
class ProgressScope {
public:
    ProgressScope(CopyProgress* progress, const QString& name, qint64 total) : progress_(progress) {
        if (progress_) {
            progress_->begin(name, total);
        }
    }
    ~ProgressScope() {
        if (progress_) {
            progress_->end();
        }
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    bool advance(qint64 done) { return !progress_ || progress_->advance(done); }

private:
    CopyProgress* progress_;
};

bool usablePath(const QString& path) {
    // Qt refuses names with NUL bytes, but only after warning; refuse them quietly first.
    return !path.isEmpty() && !path.contains(QChar(u'\0'));
}

} // namespace

bool SafeCopy::copy(const QString& source, const QString& target, Permissions permissions,
                    CopyProgress* progress) {
    if (!usablePath(source) || !usablePath(target)) {
        return false;
    }
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile() || QFileInfo(target).isDir()) {
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    ProgressScope scope(progress, sourceInfo.fileName(), sourceInfo.size());
    const auto buffer = std::make_unique<char[]>(kChunkSize);
    qint64 done = 0;
    for (;;) {
        const qint64 got = in.read(buffer.get(), kChunkSize);
        if (got < 0) {
            out.cancelWriting();
            return false;
        }
        if (got == 0) {
            break;
        }
        if (out.write(buffer.get(), got) != got) {
            out.cancelWriting();
            return false;
        }
        done += got;
        if (!scope.advance(done)) {
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        return false;
    }
    // Only the owner, group and other bits: the "user" bits describe what this process may do, and as
    // root that is everything.
    constexpr QFileDevice::Permissions stored =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
        QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
        QFileDevice::ExeOther;
    QFileDevice::Permissions bits = sourceInfo.permissions() & stored;
    if (permissions == Permissions::WritableByOwner) {
        bits |= QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    }
    QFile::setPermissions(target, bits);
    return true;
}
