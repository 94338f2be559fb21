#include "services/scrap/JpegWriter.h"

#include "core/QorvError.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg's default error handler calls exit(); this one jumps back to encode() with the message.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void silentOutput(j_common_ptr) {}

// Collects the compressed bytes in a growing QByteArray.
struct ByteArrayDestination {
    jpeg_destination_mgr pub;
    QByteArray* out;
};

constexpr qsizetype initialOutput = 64 * 1024;

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    bool grown = true;
    try {
        dest->out->resize(initialOutput);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) {
        ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    }
    dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data());
    dest->pub.free_in_buffer = static_cast<size_t>(dest->out->size());
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    const qsizetype used = dest->out->size();
    bool grown = true;
    try {
        dest->out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) {
        ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    }
    dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data() + used);
    dest->pub.free_in_buffer = static_cast<size_t>(dest->out->size() - used);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - static_cast<qsizetype>(dest->pub.free_in_buffer));
}

// Everything the compression touches lives here and is made before the jump point, so a jump back from
// the library skips no destructor.
struct Compression {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    ByteArrayDestination dest{};
    QByteArray out;
    std::vector<unsigned char> row;
    volatile bool created = false;

    ~Compression() {
        if (created) {
            jpeg_destroy_compress(&cinfo);
        }
    }
};

// Only trivially destructible locals here: a library failure jumps out of this frame.
void startCompression(Compression& c, int width, int height, int quality) {
    jpeg_create_compress(&c.cinfo);
    c.created = true;
    c.dest.pub.init_destination = initDestination;
    c.dest.pub.empty_output_buffer = emptyOutputBuffer;
    c.dest.pub.term_destination = termDestination;
    c.dest.out = &c.out;
    c.cinfo.dest = &c.dest.pub;
    c.cinfo.image_width = static_cast<JDIMENSION>(width);
    c.cinfo.image_height = static_cast<JDIMENSION>(height);
    c.cinfo.input_components = 3;
    c.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.cinfo);
    jpeg_set_quality(&c.cinfo, quality, TRUE);
    jpeg_start_compress(&c.cinfo, TRUE);
}

void writeRow(Compression& c) {
    JSAMPROW rows[1] = {c.row.data()};
    jpeg_write_scanlines(&c.cinfo, rows, 1);
}

} // namespace

QByteArray JpegWriter::encode(int width, int height, int quality, const RowSource& rows) {
    if (width <= 0 || height <= 0) {
        throw QorvError(QStringLiteral("A JPEG picture cannot be %1 x %2 pixels.").arg(width).arg(height));
    }
    Compression c;
    c.cinfo.err = jpeg_std_error(&c.err.pub);
    c.err.pub.error_exit = errorExit;
    c.err.pub.output_message = silentOutput;
    if (setjmp(c.err.jump) != 0) {
        throw QorvError(QStringLiteral("The JPEG picture could not be made: %1")
                            .arg(QString::fromLocal8Bit(c.err.message)));
    }
    // The library checks the size before the row buffer is made from it.
    startCompression(c, width, height, quality);
    c.row.resize(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        rows(y, c.row.data());
        writeRow(c);
    }
    jpeg_finish_compress(&c.cinfo);
    return std::move(c.out);
}

void JpegWriter::save(const QString& path, const QByteArray& jpeg) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw QorvError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    }
    if (file.write(jpeg) != jpeg.size() || !file.commit()) {
        throw QorvError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    }
}
