#include "bridge/CommandQueue.h"

#include "core/QorvError.h"

#include <exception>
#include <new>

CommandQueue::CommandQueue(Dialogs& dialogs, QString errorCaption, Handler handler)
    : dialogs_(dialogs), errorCaption_(std::move(errorCaption)), handler_(std::move(handler)) {}

QString CommandQueue::errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') {
        return message + QLatin1Char('.');
    }
    return message;
}

void CommandQueue::submit(const QString& command, const QString& args) {
    pending_.emplace_back(command, args);
    if (busy_) {
        return; // the command running now is waiting; this one runs after it
    }
    busy_ = true;
    while (!pending_.empty()) {
        auto [nextCommand, nextArgs] = std::move(pending_.front());
        pending_.pop_front();
        run(nextCommand, nextArgs);
    }
    busy_ = false;
}

void CommandQueue::run(const QString& command, const QString& args) {
    try {
        handler_(command, args);
    } catch (const QorvError& e) {
        dialogs_.errorBox(errorCaption_, errorBoxText(e.message()));
    } catch (const std::bad_alloc&) {
        dialogs_.errorBox(errorCaption_, errorBoxText(QStringLiteral("Out of memory")));
    } catch (const std::exception& e) {
        dialogs_.errorBox(errorCaption_, errorBoxText(QString::fromUtf8(e.what())));
    } catch (...) {
        dialogs_.errorBox(errorCaption_, QString());
    }
}
