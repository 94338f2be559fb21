#pragma once

#include "services/scrap/CommaItems.h"

#include <QtGlobal>
#include <string_view>

class DebugOutput;

// Turns a scrap's pixel text into rows of 8-bit RGB, top row first, without holding the whole picture:
// each pixel item in turn goes to the next position in row-major order. An item that is six characters
// after trimming is an RRGGBB colour (anything but hexadecimal digits there is a failure); any other item
// is black; positions without an item stay white; items past the last row are still read and checked.
// Every 10000th item (counting pixel items from 0) writes its index to the debug output.
// The text is the narrowed form (see appendNarrowed); when it starts with a comma, the empty item that
// comma makes is the chunks' separator, not a pixel.
class ScrapPainter {
public:
    ScrapPainter(std::string_view pixelText, int width, DebugOutput& debug);

    // Fills the next row (width * 3 bytes).
    void paintRow(unsigned char* rgb);
    // Reads the items left after the last row. Throws QorvError for an item that is not a colour.
    void finish();

private:
    // Paints the next item into rgb; false when no item is left.
    bool paintItem(unsigned char* rgb);

    CommaItems<char> items_;
    int width_;
    DebugOutput& debug_;
    static constexpr int debugLineEvery = 10000;

    qint64 index_ = 0;
    // Counts down to the next item whose index goes to the debug output; the first item's does.
    int untilDebugLine_ = 1;
    bool exhausted_ = false;
};
