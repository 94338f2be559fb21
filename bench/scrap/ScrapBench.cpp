// Prints how long a full-HD scrap takes from its first data chunk to the JPEG bytes, next to cjpeg on the
// same pixels, and the peak memory the scrap needs against the size of its pixel text.
#include "core/DebugOutput.h"
#include "services/scrap/ScrapSave.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int width = 1920;
constexpr int height = 1080;
constexpr qsizetype chunkBytes = 50 * 1024;
constexpr int runs = 7;

class SilentDebug : public DebugOutput {
public:
    void line(const QString&) override {}
};

// A page-like picture: soft gradients, blocks of colour and fine text-like stripes.
std::vector<unsigned char> makePicture() {
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
            const bool text = (y / 14) % 3 != 2 && (x / 3 + y / 2) % 7 < 2 && x % 960 > 80 && x % 960 < 880;
            const bool block = (x / 240 + y / 270) % 4 == 0;
            p[0] = text ? 20 : static_cast<unsigned char>(block ? 40 + x % 200 : 250 - y / 8);
            p[1] = text ? 20 : static_cast<unsigned char>(block ? 120 : 245 - x / 16);
            p[2] = text ? 30 : static_cast<unsigned char>(block ? 200 - y % 150 : 235);
        }
    }
    return rgb;
}

// The data chunks as the movie sends them: a leading field, then ",RRGGBB" items, about 50 KB each.
std::vector<std::string> makeChunks(const std::vector<unsigned char>& rgb, qsizetype& textChars) {
    std::vector<std::string> chunks;
    std::string chunk = "0";
    textChars = 0;
    char item[8];
    for (size_t i = 0; i < rgb.size(); i += 3) {
        std::snprintf(item, sizeof item, ",%02X%02X%02X", rgb[i], rgb[i + 1], rgb[i + 2]);
        chunk += item;
        textChars += 7;
        if (qsizetype(chunk.size()) >= chunkBytes) {
            chunks.push_back(std::move(chunk));
            chunk = std::to_string(chunks.size());
        }
    }
    chunks.push_back(std::move(chunk));
    return chunks;
}

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stol(line.substr(key.size()));
        }
    }
    return -1;
}

// Lets the peak resident size start again from the current one.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double childrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<unsigned char> rgb = makePicture();
    qsizetype textChars = 0;
    const std::vector<std::string> chunks = makeChunks(rgb, textChars);

    SilentDebug debug;
    std::vector<double> scrapMs;
    std::vector<double> dataMs;
    std::vector<double> scrapCpuMs;
    std::vector<double> dataCpuMs;
    long peakKb = 0;
    qsizetype jpegBytes = 0;
    for (int run = 0; run < runs; ++run) {
        ScrapSave scrap(debug);
        scrap.Start(QStringLiteral("%1,%2").arg(width).arg(height));
        const long before = statusKb("VmRSS");
        resetPeak();
        qint64 elapsedNs = 0;
        double cpuMs = 0;
        QElapsedTimer timer;
        for (const std::string& chunk : chunks) {
            // Each chunk arrives as its own string, as from the player; making it is not the scrap's time.
            const QString text = QString::fromLatin1(chunk.data(), qsizetype(chunk.size()));
            const double cpuStart = threadCpuMs();
            timer.start();
            scrap.Data(text);
            elapsedNs += timer.nsecsElapsed();
            cpuMs += threadCpuMs() - cpuStart;
        }
        dataMs.push_back(double(elapsedNs) / 1e6);
        dataCpuMs.push_back(cpuMs);
        const double cpuStart = threadCpuMs();
        timer.start();
        const QByteArray jpeg = scrap.encodeJpeg();
        elapsedNs += timer.nsecsElapsed();
        cpuMs += threadCpuMs() - cpuStart;
        scrapMs.push_back(double(elapsedNs) / 1e6);
        scrapCpuMs.push_back(cpuMs);
        peakKb = std::max(peakKb, statusKb("VmHWM") - before);
        jpegBytes = jpeg.size();
    }

    QTemporaryDir dir;
    const QString ppm = dir.filePath(QStringLiteral("scrap.ppm"));
    {
        QFile file(ppm);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(ppm));
            return 1;
        }
        file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(width).arg(height).toLatin1());
        file.write(reinterpret_cast<const char*>(rgb.data()), qsizetype(rgb.size()));
    }
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    std::vector<double> cjpegMs;
    std::vector<double> cjpegCpuMs;
    qint64 cjpegBytes = 0;
    for (int run = 0; run < runs && !cjpeg.isEmpty(); ++run) {
        const QString out = dir.filePath(QStringLiteral("cjpeg.jpg"));
        QElapsedTimer timer;
        const double cpuStart = childrenCpuMs();
        timer.start();
        const int code = QProcess::execute(
            cjpeg, {QStringLiteral("-quality"), QStringLiteral("90"), QStringLiteral("-outfile"), out, ppm});
        cjpegMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        cjpegCpuMs.push_back(childrenCpuMs() - cpuStart);
        if (code != 0) {
            std::fprintf(stderr, "cjpeg failed with %d\n", code);
            return 1;
        }
        cjpegBytes = QFile(out).size();
    }

    const double textUtf16Mb = double(textChars) * 2 / (1024 * 1024);
    const double peakMb = double(peakKb) / 1024;
    std::printf("scrap %dx%d, %zu chunks of ~%lld KB, pixel text %lld characters (%.1f MB as UTF-16)\n",
                width, height, chunks.size(), static_cast<long long>(chunkBytes / 1024),
                static_cast<long long>(textChars), textUtf16Mb);
    std::printf(
        "scrap, first chunk to JPEG bytes: median %.1f ms wall, %.1f ms CPU of %d runs (JPEG %lld bytes); "
        "data chunks %.1f ms wall, %.1f ms CPU of it\n",
        median(scrapMs), median(scrapCpuMs), runs, static_cast<long long>(jpegBytes), median(dataMs),
        median(dataCpuMs));
    if (cjpeg.isEmpty()) {
        std::printf("cjpeg not found: install libjpeg-turbo-progs for the comparison\n");
    } else {
        std::printf(
            "cjpeg -quality 90 on the same pixels as PPM: median %.1f ms wall, %.1f ms CPU of %d runs (JPEG "
            "%lld bytes)\n",
            median(cjpegMs), median(cjpegCpuMs), runs, static_cast<long long>(cjpegBytes));
        std::printf("ratio scrap / cjpeg: %.2f wall, %.2f CPU\n", median(scrapMs) / median(cjpegMs),
                    median(scrapCpuMs) / median(cjpegCpuMs));
    }
    std::printf(
        "peak memory of the scrap: %.1f MB = %.2f x the pixel text as UTF-16 (%.2f x its characters)\n",
        peakMb, peakMb / textUtf16Mb, peakMb / (textUtf16Mb / 2));
    return 0;
}
