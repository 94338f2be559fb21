// Figures of the real player: start-up to the first fscommand, fscommand throughput with 50 KB arguments,
// the fscommand -> SetVariable -> movie round trip, and the memory of the whole process tree.
#include "PlayerFixtures.h"
#include "core/DebugOutput.h"
#include "player/PlayerWebProfile.h"
#include "player/RufflePlayer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

class StderrDebugOutput : public DebugOutput {
public:
    void line(const QString& text) override { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }
};

bool waitFor(const std::function<bool()>& done, int timeoutMs = 120000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// Kilobytes of one process's status or smaps_rollup field ("VmRSS:", "Pss:").
long field(const QString& file, const QByteArray& name) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(name)) {
            return line.mid(name.size()).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

QList<long> processTree(long root) {
    QList<long> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const QStringList tasks =
            QDir(QStringLiteral("/proc/%1/task").arg(tree[i])).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& task : tasks) {
            QFile children(QStringLiteral("/proc/%1/task/%2/children").arg(tree[i]).arg(task));
            if (children.open(QIODevice::ReadOnly)) {
                for (const QByteArray& pid : children.readAll().split(' ')) {
                    if (!pid.trimmed().isEmpty()) {
                        tree << pid.trimmed().toLong();
                    }
                }
            }
        }
    }
    return tree;
}

void printMemory(const char* when) {
    long rss = 0;
    long pss = 0;
    const QList<long> tree = processTree(QCoreApplication::applicationPid());
    for (long pid : tree) {
        rss += field(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:");
        pss += field(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Pss:");
    }
    std::printf("memory %-28s %2lld processes, RSS sum %6.0f MB, PSS sum %6.0f MB\n", when,
                static_cast<long long>(tree.size()), rss / 1024.0, pss / 1024.0);
}

struct Bench {
    StderrDebugOutput debug;
    std::unique_ptr<RufflePlayer> player = std::make_unique<RufflePlayer>(debug);
    QList<QPair<QString, QString>> received;
    Bench() {
        player->resize(800, 600);
        player->show();
        player->setFSCommandHandler([this](const QString& c, const QString& a) { received.append({c, a}); });
    }
    bool has(const QString& command) const {
        return std::any_of(received.begin(), received.end(),
                           [&](const auto& r) { return r.first == command; });
    }
};

} // namespace

int main(int argc, char** argv) {
    PlayerWebProfile::registerUrlScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QORV_RUFFLE_DIR")) {
        qputenv("QORV_RUFFLE_DIR", QORV_PLAYER_FILES_DIR);
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir temp;
    using namespace playerfixtures;
    save(quietMovie(), temp.path() + "/quiet.swf");
    save(burstMovie(1000, kBigArgumentSize), temp.path() + "/burst.swf");
    save(talkingMovie({"reply"}), temp.path() + "/talk.swf");

    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        Bench b;
        b.player->Movie(temp.path() + "/quiet.swf");
        if (!waitFor([&] { return b.has("ready"); })) {
            std::printf("the quiet movie never started\n");
            return 1;
        }
        std::printf("start-up to first fscommand (new player)        %7.0f ms\n", double(clock.elapsed()));
        clock.restart();
        b.player->Movie(temp.path() + "/quiet.swf");
        b.received.clear();
        waitFor([&] { return b.has("ready"); });
        std::printf("start-up to first fscommand (page already there) %7.0f ms\n", double(clock.elapsed()));
    }

    {
        Bench b;
        b.player->Movie(temp.path() + "/burst.swf");
        QElapsedTimer clock;
        waitFor([&] {
            if (!clock.isValid() && b.has("start")) {
                clock.start();
            }
            return b.has("done");
        });
        const double ms = double(clock.elapsed());
        const qsizetype big = std::count_if(b.received.begin(), b.received.end(),
                                            [](const auto& r) { return r.first == "big"; });
        std::printf("fscommand throughput: %lld x 50 KB in %.0f ms = %.0f commands/s, %.1f MB/s\n",
                    static_cast<long long>(big), ms, big * 1000.0 / std::max(ms, 1.0),
                    big * kBigArgumentSize / 1048576.0 * 1000.0 / std::max(ms, 1.0));
        printMemory("after the burst, 1 player");
    }

    {
        Bench b;
        b.player->Movie(temp.path() + "/talk.swf");
        waitFor([&] { return b.has("ready"); });
        const int trips = 50;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < trips; ++i) {
            const QString value = QString::number(i);
            b.received.clear();
            b.player->SetVariable("reply", value);
            waitFor([&] {
                return std::any_of(b.received.begin(), b.received.end(), [&](const auto& r) {
                    return r.first == "watch:reply" && r.second == value;
                });
            });
        }
        std::printf(
            "SetVariable -> movie -> fscommand round trip     %7.1f ms (mean of %d, movie at 60 fps)\n",
            double(clock.elapsed()) / trips, trips);
        clock.restart();
        for (int i = 0; i < trips; ++i) {
            b.player->GetVariable("counter");
        }
        std::printf("GetVariable                                      %7.1f ms (mean of %d)\n",
                    double(clock.elapsed()) / trips, trips);
        Bench second;
        second.player->Movie(temp.path() + "/quiet.swf");
        waitFor([&] { return second.has("ready"); });
        printMemory("two players playing");
    }
    return 0;
}
