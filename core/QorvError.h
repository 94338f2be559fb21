#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one failure type of the program. A command handler throws it; the dispatcher catches it at the edge
// and shows the message in the standard error box, then handles the next command as usual.
class QorvError : public std::exception {
public:
    explicit QorvError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
