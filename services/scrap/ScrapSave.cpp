#include "services/scrap/ScrapSave.h"

#include "core/DebugOutput.h"
#include "core/Dialogs.h"
#include "core/QorvError.h"
#include "services/scrap/CommaItems.h"
#include "services/scrap/JpegSaveDialog.h"
#include "services/scrap/JpegWriter.h"
#include "services/scrap/ScrapPainter.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace {

constexpr int jpegQuality = 90;

// An optional sign and decimal digits, nothing else, within 32 bits.
std::optional<int> decimal(std::u16string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - u'0');
        if (value > qint64(0x80000000)) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > 0x7FFFFFFF) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int sizeItem(CommaItems<char16_t>& items, const char* what) {
    std::u16string_view item;
    if (!items.next(item)) {
        throw QorvError(QStringLiteral("Scrap start: the %1 is missing.").arg(QLatin1String(what)));
    }
    const std::optional<int> value = decimal(item);
    if (!value) {
        const QString shown = QString::fromUtf16(item.data(), static_cast<qsizetype>(item.size())).left(40);
        throw QorvError(QStringLiteral("Scrap start: the %1 '%2' is not a valid integer value.")
                            .arg(QLatin1String(what), shown));
    }
    return *value;
}

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

} // namespace

ScrapSave::ScrapSave(DebugOutput& debug, qsizetype maxPixelText)
    : debug_(debug), maxPixelText_(maxPixelText) {}

void ScrapSave::Start(const QString& parameters) {
    pixelText_ = QByteArray();
    pixelTextOverflow_ = false;
    width_ = 0;
    height_ = 0;
    CommaItems<char16_t> items(
        std::u16string_view(QStringView(parameters).utf16(), static_cast<size_t>(parameters.size())));
    width_ = sizeItem(items, "width");
    height_ = sizeItem(items, "height");
}

void ScrapSave::Data(const QString& parameters) {
    const qsizetype comma = parameters.indexOf(QLatin1Char(','));
    const QStringView pixels = QStringView(parameters).mid(comma < 0 ? 0 : comma);
    if (pixelTextOverflow_ || pixels.size() > maxPixelText_ - pixelText_.size()) {
        pixelTextOverflow_ = true;
        return;
    }
    appendNarrowed(pixelText_, pixels);
}

void ScrapSave::checkPicture() const {
    if (width_ <= 0 || height_ <= 0) {
        throw QorvError(
            QStringLiteral("The scrap picture has no valid size (%1 x %2).").arg(width_).arg(height_));
    }
    if (qint64(width_) * height_ > maxPixels || width_ > JpegWriter::maxDimension ||
        height_ > JpegWriter::maxDimension) {
        throw QorvError(
            QStringLiteral("The scrap picture of %1 x %2 pixels is too large.").arg(width_).arg(height_));
    }
    if (pixelTextOverflow_) {
        throw QorvError(
            QStringLiteral("The scrap's pixel data exceeded %1 bytes and was not kept.").arg(maxPixelText_));
    }
}

QByteArray ScrapSave::encodeJpeg() {
    checkPicture();
    ScrapPainter painter(view(pixelText_), width_, debug_);
    QByteArray jpeg = JpegWriter::encode(width_, height_, jpegQuality,
                                         [&](int, unsigned char* rgb) { painter.paintRow(rgb); });
    painter.finish();
    return jpeg;
}

QByteArray ScrapSave::rgbPixels() {
    checkPicture();
    ScrapPainter painter(view(pixelText_), width_, debug_);
    const qsizetype rowBytes = qsizetype(width_) * 3;
    QByteArray rgb(rowBytes * height_, Qt::Uninitialized);
    for (int y = 0; y < height_; ++y) {
        painter.paintRow(reinterpret_cast<unsigned char*>(rgb.data() + y * rowBytes));
    }
    painter.finish();
    return rgb;
}

void ScrapSave::End(const QString& parameters, Dialogs& dialogs, SaveDialogState& fileSaveDialog) {
    Q_UNUSED(parameters);
    const QByteArray jpeg = encodeJpeg();
    const std::optional<QString> path = JpegSaveDialog::ask(dialogs, fileSaveDialog);
    if (!path) {
        return;
    }
    JpegWriter::save(*path, jpeg);
}
