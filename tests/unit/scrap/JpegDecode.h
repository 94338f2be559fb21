#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

// Decodes JPEG bytes with the library itself, independent of the writer under test.
struct DecodedJpeg {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<unsigned char> rgb;

    const unsigned char* pixel(int x, int y) const {
        return rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    }
};

namespace jpegdecode_detail {
struct Error {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};
inline void fail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<Error*>(cinfo->err)->jump, 1);
}
inline void quiet(j_common_ptr) {}
} // namespace jpegdecode_detail

inline DecodedJpeg decodeJpeg(const QByteArray& bytes) {
    DecodedJpeg result;
    jpeg_decompress_struct cinfo{};
    jpegdecode_detail::Error err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegdecode_detail::fail;
    err.pub.output_message = jpegdecode_detail::quiet;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return DecodedJpeg{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    result.components = cinfo.num_components;
    result.progressive = cinfo.progressive_mode != 0;
    cinfo.out_color_space = JCS_RGB;
    // Plain replication of colour samples: smoothing would blend colours across block edges.
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    result.width = static_cast<int>(cinfo.output_width);
    result.height = static_cast<int>(cinfo.output_height);
    result.rgb.resize(size_t(result.width) * size_t(result.height) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = result.rgb.data() + size_t(cinfo.output_scanline) * size_t(result.width) * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    result.ok = true;
    return result;
}

inline DecodedJpeg decodeJpegFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return decodeJpeg(file.readAll());
}
