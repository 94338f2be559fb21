#include "platform/linux/PulseAudioCapture.h"

#include "core/QorvError.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <limits>

namespace {

// A record stream of the simple interface. Its reads are kept short (see openDefaultInput), so a stop
// is noticed soon without interrupting one.
class PulseAudioInput : public AudioInput {
public:
    explicit PulseAudioInput(pa_simple* stream) : stream_(stream) {}
    ~PulseAudioInput() override { pa_simple_free(stream_); }
    PulseAudioInput(const PulseAudioInput&) = delete;
    PulseAudioInput& operator=(const PulseAudioInput&) = delete;

    bool read(std::span<std::int16_t> samples) override {
        int error = 0;
        return pa_simple_read(stream_, samples.data(), samples.size_bytes(), &error) >= 0;
    }

private:
    pa_simple* stream_;
};

} // namespace

PulseAudioCapture::PulseAudioCapture(QString server) : server_(std::move(server)) {}

std::unique_ptr<AudioInput> PulseAudioCapture::openDefaultInput(int sampleRate, int channels) {
    if (sampleRate <= 0 || channels <= 0 || channels > 2) {
        throw QorvError(QStringLiteral("The sound-capture device cannot record %1 Hz with %2 channels.")
                            .arg(sampleRate)
                            .arg(channels));
    }
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = static_cast<uint32_t>(sampleRate);
    spec.channels = static_cast<uint8_t>(channels);

    // Fragments of 20 ms: the server hands over sound as it comes instead of in large blocks.
    pa_buffer_attr attributes{};
    attributes.maxlength = std::numeric_limits<uint32_t>::max();
    attributes.tlength = std::numeric_limits<uint32_t>::max();
    attributes.prebuf = std::numeric_limits<uint32_t>::max();
    attributes.minreq = std::numeric_limits<uint32_t>::max();
    attributes.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(20000, &spec));

    const QByteArray server = server_.toLocal8Bit();
    int error = 0;
    pa_simple* stream =
        pa_simple_new(server_.isEmpty() ? nullptr : server.constData(), "QORVViewer", PA_STREAM_RECORD,
                      nullptr, "Voice recording", &spec, nullptr, &attributes, &error);
    if (stream == nullptr) {
        throw QorvError(QStringLiteral("The sound-capture device cannot be opened: %1")
                            .arg(QString::fromLocal8Bit(pa_strerror(error))));
    }
    return std::make_unique<PulseAudioInput>(stream);
}
