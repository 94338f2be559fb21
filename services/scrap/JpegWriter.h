#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Writes baseline JPEG (24-bit colour, the library's default sampling) from 8-bit RGB rows supplied one at a
// time, so a caller never needs the whole picture in memory. A library failure never ends the process: it
// comes back as a QorvError carrying the library's message.
class JpegWriter {
public:
    // Fills row y (width * 3 bytes, R, G, B per pixel); rows are asked for in order, top first. May throw.
    using RowSource = std::function<void(int y, unsigned char* rgb)>;

    static constexpr int maxDimension = 65500;

    // The JPEG bytes of a width x height picture at the given quality (0-100).
    static QByteArray encode(int width, int height, int quality, const RowSource& rows);

    // Creates or replaces the file through a temporary file in the same folder, so that a failed write
    // leaves the old file (or none) in place. Throws QorvError when the file cannot be written.
    static void save(const QString& path, const QByteArray& jpeg);
};
