#include "platform/linux/StderrDebugOutput.h"

#include <QByteArray>
#include <cerrno>
#include <unistd.h>

void StderrDebugOutput::line(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append('\n');
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        data += written;
        left -= written;
    }
}
