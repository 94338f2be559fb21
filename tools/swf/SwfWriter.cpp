#include "tools/swf/SwfWriter.h"

#include "tools/swf/BitWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace swf {

namespace {

constexpr std::size_t kLengthAt = 4; // file length follows "FWS" and the version byte
// A straight edge stores its delta in at most 17 bits (a 4-bit width counted from 2).
constexpr std::int32_t kMaxEdge = 65535;

std::uint16_t checkedU16(std::size_t value, const char* what) {
    if (value > 0xFFFF) {
        throw std::length_error(what);
    }
    return static_cast<std::uint16_t>(value);
}

void straightEdge(BitWriter& w, std::int32_t delta, bool vertical) {
    while (delta != 0) {
        const std::int32_t step = std::clamp(delta, -kMaxEdge, kMaxEdge);
        const unsigned bits = std::max(2U, BitWriter::signedBits(step));
        w.ub(1, 1); // edge record
        w.ub(1, 1); // straight
        w.ub(4, bits - 2);
        w.ub(1, 0); // not a general line
        w.ub(1, vertical);
        w.sb(bits, step);
        delta -= step;
    }
}

Rect bounds(const std::vector<FilledRect>& rects) {
    Rect b = rects.front().rect;
    for (const FilledRect& f : rects) {
        b.xMin = std::min({b.xMin, f.rect.xMin, f.rect.xMax});
        b.xMax = std::max({b.xMax, f.rect.xMin, f.rect.xMax});
        b.yMin = std::min({b.yMin, f.rect.yMin, f.rect.yMax});
        b.yMax = std::max({b.yMax, f.rect.yMin, f.rect.yMax});
    }
    return b;
}

std::vector<std::uint8_t> withEndFlag(const Actions& actions) {
    std::vector<std::uint8_t> code = actions.bytes();
    code.push_back(0);
    return code;
}

} // namespace

SwfWriter::SwfWriter(const Stage& stage) {
    if (stage.width <= 0 || stage.height <= 0) {
        throw std::invalid_argument("the stage needs a size");
    }
    const double rate = std::round(stage.frameRate * 256.0);
    if (!(rate >= 1.0 && rate <= 65535.0)) {
        throw std::out_of_range("frame rate out of range");
    }
    BitWriter w;
    w.bytes(std::vector<std::uint8_t>{'F', 'W', 'S', stage.version});
    w.u32(0); // file length, filled in by finish()
    w.rect({0, twips(stage.width), 0, twips(stage.height)});
    w.u16(static_cast<std::uint16_t>(rate));
    w.u16(0); // frame count, filled in by finish()
    out_ = w.take();
    frameCountAt_ = out_.size() - 2;
    if (stage.version >= 8) {
        BitWriter attributes;
        attributes.u32(stage.useNetwork ? 0x01 : 0x00);
        tag(kTagFileAttributes, attributes.data());
    }
    frameOpen_ = false; // FileAttributes alone makes no frame
}

void SwfWriter::requireOpen() const {
    if (finished_) {
        throw std::logic_error("the movie is already finished");
    }
}

std::uint16_t SwfWriter::nextCharacterId() {
    if (lastId_ == 0xFFFF) {
        throw std::length_error("out of character ids");
    }
    return ++lastId_;
}

void SwfWriter::tag(std::uint16_t code, const std::vector<std::uint8_t>& body, bool longForm) {
    requireOpen();
    if (code > 0x3FF) {
        throw std::out_of_range("tag code over 10 bits");
    }
    if (body.size() > 0x7FFFFFFF) {
        throw std::length_error("tag too long");
    }
    BitWriter w;
    if (body.size() < 0x3F && !longForm) {
        w.u16(static_cast<std::uint16_t>(code << 6 | body.size()));
    } else {
        w.u16(static_cast<std::uint16_t>(code << 6 | 0x3F));
        w.u32(static_cast<std::uint32_t>(body.size()));
    }
    w.bytes(body);
    out_.insert(out_.end(), w.data().begin(), w.data().end());
    frameOpen_ = code != kTagShowFrame && code != kTagEnd;
}

void SwfWriter::setBackgroundColor(const Color& color) {
    BitWriter w;
    w.rgb(color);
    tag(kTagSetBackgroundColor, w.data());
}

void SwfWriter::frameLabel(std::string_view label) {
    BitWriter w;
    w.string(label);
    tag(kTagFrameLabel, w.data());
}

void SwfWriter::showFrame() {
    requireOpen();
    if (frames_ == 0xFFFF) {
        throw std::length_error("a movie has at most 65535 frames");
    }
    tag(kTagShowFrame, {});
    ++frames_;
}

void SwfWriter::doAction(const Actions& actions) {
    tag(kTagDoAction, withEndFlag(actions));
}

std::uint16_t SwfWriter::defineShape(const std::vector<FilledRect>& rects) {
    requireOpen();
    if (rects.empty()) {
        throw std::invalid_argument("a shape needs at least one rectangle");
    }
    const bool alpha =
        std::any_of(rects.begin(), rects.end(), [](const FilledRect& f) { return f.color.a != 255; });
    // The first shape tag counts fill styles in one byte; the later ones have an escape to 16 bits.
    const std::uint16_t code = alpha                ? kTagDefineShape3
                               : rects.size() < 255 ? kTagDefineShape
                                                    : kTagDefineShape2;
    const std::uint16_t styles = checkedU16(rects.size(), "too many rectangles in one shape");
    const std::uint16_t id = nextCharacterId();

    BitWriter w;
    w.u16(id);
    w.rect(bounds(rects));
    if (styles < 255) {
        w.u8(static_cast<std::uint8_t>(styles));
    } else {
        w.u8(0xFF);
        w.u16(styles);
    }
    for (const FilledRect& f : rects) {
        w.u8(0x00); // solid fill
        alpha ? w.rgba(f.color) : w.rgb(f.color);
    }
    w.u8(0); // no line styles
    const unsigned fillBits = BitWriter::unsignedBits(styles);
    w.ub(4, fillBits);
    w.ub(4, 0);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i].rect;
        const unsigned moveBits =
            std::max(1U, std::max(BitWriter::signedBits(r.xMin), BitWriter::signedBits(r.yMin)));
        w.ub(1, 0); // style change
        w.ub(1, 0); // new styles
        w.ub(1, 0); // line style
        w.ub(1, 1); // fill style 1
        w.ub(1, 0); // fill style 0
        w.ub(1, 1); // move to
        w.ub(5, moveBits);
        w.sb(moveBits, r.xMin);
        w.sb(moveBits, r.yMin);
        w.ub(fillBits, static_cast<std::uint32_t>(i + 1));
        // Clockwise on screen, so the fill lies to the right of every edge.
        const std::int64_t width = std::int64_t{r.xMax} - r.xMin;
        const std::int64_t height = std::int64_t{r.yMax} - r.yMin;
        if (width > 0x7FFFFFFF || width < -0x7FFFFFFF || height > 0x7FFFFFFF || height < -0x7FFFFFFF) {
            throw std::out_of_range("rectangle too large");
        }
        straightEdge(w, static_cast<std::int32_t>(width), false);
        straightEdge(w, static_cast<std::int32_t>(height), true);
        straightEdge(w, static_cast<std::int32_t>(-width), false);
        straightEdge(w, static_cast<std::int32_t>(-height), true);
    }
    w.ub(6, 0); // end of shape
    w.align();
    tag(code, w.data());
    return id;
}

std::uint16_t SwfWriter::defineDeviceFont(const DeviceFont& font) {
    requireOpen();
    if (font.name.empty() || font.name.size() > 255 || font.name.find('\0') != std::string::npos) {
        throw std::invalid_argument("a font name is 1 to 255 bytes without NUL");
    }
    const std::uint16_t id = nextCharacterId();
    BitWriter w;
    w.u16(id);
    w.ub(1, 0); // no layout: the player measures device fonts itself
    w.ub(1, 0); // Shift-JIS
    w.ub(1, 0); // small text
    w.ub(1, 0); // ANSI
    w.ub(1, 0); // wide offsets
    w.ub(1, 1); // wide codes, required from version 6 on
    w.ub(1, font.italic);
    w.ub(1, font.bold);
    w.u8(font.language);
    w.u8(static_cast<std::uint8_t>(font.name.size()));
    w.bytes(std::vector<std::uint8_t>(font.name.begin(), font.name.end()));
    w.u16(0); // no glyphs
    // Some readers expect the code table offset even without glyphs; it costs two bytes.
    w.u16(0);
    tag(kTagDefineFont2, w.data());
    return id;
}

std::uint16_t SwfWriter::defineEditText(const EditText& t) {
    requireOpen();
    const std::uint16_t id = nextCharacterId();
    BitWriter w;
    w.u16(id);
    w.rect(t.bounds);
    w.ub(1, t.text.has_value());
    w.ub(1, t.wordWrap);
    w.ub(1, t.multiline);
    w.ub(1, t.password);
    w.ub(1, t.readOnly);
    w.ub(1, t.color.has_value());
    w.ub(1, t.maxLength.has_value());
    w.ub(1, t.fontId != 0);
    w.ub(1, 0); // font class
    w.ub(1, t.autoSize);
    w.ub(1, 0); // layout
    w.ub(1, t.noSelect);
    w.ub(1, t.border);
    w.ub(1, 0); // was static
    w.ub(1, t.html);
    w.ub(1, 0); // device font, not outlines
    if (t.fontId != 0) {
        w.u16(t.fontId);
        w.u16(t.fontHeight);
    }
    if (t.color) {
        w.rgba(*t.color);
    }
    if (t.maxLength) {
        w.u16(*t.maxLength);
    }
    w.string(t.variable);
    if (t.text) {
        w.string(*t.text);
    }
    tag(kTagDefineEditText, w.data());
    return id;
}

std::uint16_t SwfWriter::defineButton(const Button& button) {
    requireOpen();
    const std::uint16_t id = nextCharacterId();
    BitWriter records;
    for (const ButtonRecord& r : button.records) {
        if (r.states == 0 || r.states > kButtonAllStates) {
            throw std::invalid_argument("a button record needs states");
        }
        records.ub(2, 0);
        records.ub(1, 0); // blend mode
        records.ub(1, 0); // filters
        records.ub(4, r.states);
        records.u16(r.characterId);
        records.u16(r.depth);
        records.matrix(r.matrix);
        records.u8(0); // colour transform without terms
    }
    records.u8(0); // end of records

    BitWriter w;
    w.u16(id);
    w.u8(button.trackAsMenu ? 1 : 0);
    // Counted from this field itself to the first condition.
    w.u16(button.actions.empty() ? 0 : checkedU16(2 + records.size(), "button records too long"));
    w.bytes(records.data());
    for (std::size_t i = 0; i < button.actions.size(); ++i) {
        const ButtonAction& a = button.actions[i];
        const std::vector<std::uint8_t> code = withEndFlag(a.actions);
        const bool last = i + 1 == button.actions.size();
        // Counted from this field to the next condition; 0 marks the last one.
        w.u16(last ? 0 : checkedU16(4 + code.size(), "button action too long"));
        w.u16(a.conditions);
        w.bytes(code);
    }
    tag(kTagDefineButton2, w.data());
    return id;
}

void SwfWriter::placeObject(const Placement& p) {
    BitWriter w;
    w.ub(1, 0); // clip actions
    w.ub(1, 0); // clip depth
    w.ub(1, !p.name.empty());
    w.ub(1, 0); // ratio
    w.ub(1, 0); // colour transform
    w.ub(1, p.matrix.has_value());
    w.ub(1, 1); // character
    w.ub(1, 0); // move
    w.u16(p.depth);
    w.u16(p.characterId);
    if (p.matrix) {
        w.matrix(*p.matrix);
    }
    if (!p.name.empty()) {
        w.string(p.name);
    }
    tag(kTagPlaceObject2, w.data());
}

void SwfWriter::moveObject(std::uint16_t depth, const Matrix& matrix) {
    BitWriter w;
    w.u8(0x05); // matrix, move
    w.u16(depth);
    w.matrix(matrix);
    tag(kTagPlaceObject2, w.data());
}

void SwfWriter::removeObject(std::uint16_t depth) {
    BitWriter w;
    w.u16(depth);
    tag(kTagRemoveObject2, w.data());
}

std::vector<std::uint8_t> SwfWriter::finish() {
    if (!finished_) {
        if (frameOpen_ || frames_ == 0) {
            showFrame();
        }
        tag(kTagEnd, {});
        if (out_.size() > 0xFFFFFFFFULL) {
            throw std::length_error("movie over 4 GiB");
        }
        const auto length = static_cast<std::uint32_t>(out_.size());
        for (int i = 0; i < 4; ++i) {
            out_[kLengthAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
        }
        out_[frameCountAt_] = static_cast<std::uint8_t>(frames_);
        out_[frameCountAt_ + 1] = static_cast<std::uint8_t>(frames_ >> 8);
        finished_ = true;
    }
    return out_;
}

void SwfWriter::save(const std::filesystem::path& path) {
    writeFile(path, finish());
}

void SwfWriter::writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw std::runtime_error("cannot write " + temp.string());
        }
    }
    std::filesystem::rename(temp, path);
}

} // namespace swf
