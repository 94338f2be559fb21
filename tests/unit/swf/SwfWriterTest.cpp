#include "tools/swf/SwfWriter.h"
#include "tools/swf/BitWriter.h"
#include "tools/swf/BootstrapMovie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace {

// "0101 1" -> 0x58: expected bit fields written out, padded with zeros to whole bytes.
Bytes bits(std::string_view text) {
    Bytes out;
    int n = 0;
    for (char c : text) {
        if (c != '0' && c != '1') {
            continue;
        }
        if (n % 8 == 0) {
            out.push_back(0);
        }
        if (c == '1') {
            out.back() = static_cast<std::uint8_t>(out.back() | (0x80 >> (n % 8)));
        }
        ++n;
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes text(std::string_view s) {
    Bytes out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

struct Tag {
    std::uint16_t code;
    bool longForm;
    Bytes body;
};

// Reads a written movie back: header fields and the tag list, checking the framing as it goes.
struct ParsedMovie {
    std::uint8_t version = 0;
    std::uint32_t fileLength = 0;
    std::uint16_t frameRate = 0;
    std::uint16_t frameCount = 0;
    std::vector<Tag> tags;

    std::vector<Tag> withCode(std::uint16_t code) const {
        std::vector<Tag> out;
        std::copy_if(tags.begin(), tags.end(), std::back_inserter(out),
                     [&](const Tag& t) { return t.code == code; });
        return out;
    }
};

ParsedMovie parse(const Bytes& data) {
    ParsedMovie m;
    EXPECT_GE(data.size(), 8U);
    EXPECT_EQ(std::string(data.begin(), data.begin() + 3), "FWS");
    m.version = data[3];
    m.fileLength = data[4] | data[5] << 8 | data[6] << 16 | static_cast<std::uint32_t>(data[7]) << 24;
    const unsigned rectBits = 5 + 4 * (data[8] >> 3);
    std::size_t pos = 8 + (rectBits + 7) / 8;
    m.frameRate = static_cast<std::uint16_t>(data[pos] | data[pos + 1] << 8);
    m.frameCount = static_cast<std::uint16_t>(data[pos + 2] | data[pos + 3] << 8);
    pos += 4;
    while (pos + 2 <= data.size()) {
        const auto head = static_cast<std::uint16_t>(data[pos] | data[pos + 1] << 8);
        pos += 2;
        Tag t{static_cast<std::uint16_t>(head >> 6), (head & 0x3F) == 0x3F, {}};
        std::size_t length = head & 0x3F;
        if (t.longForm) {
            length = data[pos] | data[pos + 1] << 8 | data[pos + 2] << 16 |
                     static_cast<std::size_t>(data[pos + 3]) << 24;
            pos += 4;
        }
        if (pos + length > data.size()) {
            ADD_FAILURE() << "tag " << t.code << " runs past the end";
            break;
        }
        t.body.assign(data.begin() + static_cast<std::ptrdiff_t>(pos),
                      data.begin() + static_cast<std::ptrdiff_t>(pos + length));
        pos += length;
        m.tags.push_back(t);
        if (t.code == swf::kTagEnd) {
            break;
        }
    }
    EXPECT_EQ(pos, data.size()) << "bytes after the End tag";
    return m;
}

Bytes rectBytes(const swf::Rect& r) {
    swf::BitWriter w;
    w.rect(r);
    return w.data();
}

Bytes matrixBytes(const swf::Matrix& m) {
    swf::BitWriter w;
    w.matrix(m);
    return w.data();
}

} // namespace

TEST(SwfBits, RectUsesTheWidestSignedField) {
    struct Case {
        swf::Rect rect;
        Bytes expected;
    };
    const Case cases[] = {
        // The classic 550x400 stage.
        {{0, 11000, 0, 8000}, {0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00}},
        {{0, 0, 0, 0}, {0x00}},
        // -1 needs one bit, 2 needs three: every field takes three.
        {{-1, 1, -2, 2}, bits("00011 111 001 110 010")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rectBytes(c.rect), c.expected) << c.rect.xMin << "," << c.rect.xMax;
    }
    // The largest magnitudes that fit 31-bit fields, and the first that does not.
    EXPECT_EQ(rectBytes({-1073741824, 1073741823, 0, 0}).size(), 1 + (5 + 4 * 31) / 8U);
    EXPECT_THROW(rectBytes({INT32_MIN, 0, 0, 0}), std::out_of_range);
    EXPECT_THROW(rectBytes({0, INT32_MAX, 0, 0}), std::out_of_range);
}

TEST(SwfBits, MatrixWritesOnlyThePartsItHas) {
    struct Case {
        const char* name;
        swf::Matrix matrix;
        Bytes expected;
    };
    const Case cases[] = {
        {"identity", {}, {0x00}},
        {"translate", swf::Matrix::translate(20, -20), bits("0 0 00110 010100 101100")},
        {"scale", {2.0, 0.5, 0, 0, 0, 0}, bits("1 10011 0100000000000000000 0001000000000000000 0 00000")},
        {"negative scale",
         {-1.0, 1.0, 0, 0, 0, 0},
         bits("1 10010 110000000000000000 010000000000000000 0 00000")},
        {"rotate",
         {0.0, 0.0, 1.0, -1.0, 1, 0},
         bits("1 00000 1 10010 010000000000000000 110000000000000000 00010 01 00")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matrixBytes(c.matrix), c.expected) << c.name;
    }
    EXPECT_THROW(matrixBytes(swf::Matrix::translate(INT32_MIN, 0)), std::out_of_range);
    EXPECT_THROW(matrixBytes({1e9, 1.0, 0, 0, 0, 0}), std::out_of_range);
}

TEST(SwfBits, StringsAreUtf8BytesWithOneTerminator) {
    swf::BitWriter w;
    w.ub(3, 5); // an unfinished bit field is padded before the string
    w.string("\xED\x95\x9C\xEA\xB8\x80 A");
    EXPECT_EQ(w.data(), (Bytes{0xA0, 0xED, 0x95, 0x9C, 0xEA, 0xB8, 0x80, ' ', 'A', 0}));
    EXPECT_THROW(w.string(std::string("a\0b", 3)), std::invalid_argument);
    EXPECT_THROW(w.ub(4, 16), std::out_of_range);
    EXPECT_THROW(w.sb(4, 8), std::out_of_range);
}

TEST(SwfWriter, HeaderCarriesLengthRateAndFrameCount) {
    struct Case {
        const char* name;
        double rate;
        std::function<void(swf::SwfWriter&)> build;
        std::uint16_t frames;
        std::uint16_t rateField;
    };
    const Case cases[] = {
        {"empty movie still has one frame", 24.0, [](swf::SwfWriter&) {}, 1, 0x1800},
        {"three frames", 12.5,
         [](swf::SwfWriter& m) {
             m.showFrame();
             m.showFrame();
             m.showFrame();
         },
         3, 0x0C80},
        {"an unclosed frame is closed", 8.8,
         [](swf::SwfWriter& m) {
             m.showFrame();
             m.doAction(swf::Actions().stop());
         },
         2, 0x08CD},
    };
    for (const Case& c : cases) {
        swf::SwfWriter movie(swf::Stage{550, 400, c.rate, 8});
        c.build(movie);
        const Bytes data = movie.finish();
        const ParsedMovie m = parse(data);
        EXPECT_EQ(m.version, 8) << c.name;
        EXPECT_EQ(m.fileLength, data.size()) << c.name;
        EXPECT_EQ(m.frameCount, c.frames) << c.name;
        EXPECT_EQ(m.frameRate, c.rateField) << c.name;
        EXPECT_EQ(m.withCode(swf::kTagShowFrame).size(), c.frames) << c.name;
        ASSERT_FALSE(m.tags.empty());
        EXPECT_EQ(m.tags.front().code, swf::kTagFileAttributes) << c.name;
        EXPECT_EQ(m.tags.front().body, (Bytes{0, 0, 0, 0})) << "no AS3 flag";
        EXPECT_EQ(m.tags.back().code, swf::kTagEnd) << c.name;
        EXPECT_EQ(movie.finish(), data) << "finishing twice changes nothing";
        EXPECT_THROW(movie.showFrame(), std::logic_error);
    }
    // Before version 8 there is no FileAttributes tag.
    swf::SwfWriter old(swf::Stage{100, 100, 12, 6});
    EXPECT_EQ(parse(old.finish()).tags.front().code, swf::kTagShowFrame);
    EXPECT_THROW(swf::SwfWriter(swf::Stage{100, 100, 0.0, 8}), std::out_of_range);
    EXPECT_THROW(swf::SwfWriter(swf::Stage{100, 100, 256.0, 8}), std::out_of_range);
}

TEST(SwfWriter, TagHeadersSwitchToTheLongFormAt63Bytes) {
    struct Case {
        std::size_t length;
        bool forceLong;
        Bytes header;
    };
    const Case cases[] = {
        {0, false, {0x00, 0x10}},                  // code 64 << 6, length 0
        {62, false, {0x3E, 0x10}},                 // the longest short form
        {63, false, {0x3F, 0x10, 63, 0, 0, 0}},    // 63 itself means "long form follows"
        {300, false, {0x3F, 0x10, 0x2C, 1, 0, 0}}, //
        {5, true, {0x3F, 0x10, 5, 0, 0, 0}},       // tags that always use the long form
    };
    for (const Case& c : cases) {
        swf::SwfWriter movie;
        const Bytes body(c.length, 0xAB);
        movie.tag(64, body, c.forceLong);
        const Bytes data = movie.finish();
        const ParsedMovie m = parse(data);
        const auto tags = m.withCode(64);
        ASSERT_EQ(tags.size(), 1U) << c.length;
        EXPECT_EQ(tags[0].body, body) << c.length;
        const Bytes expected = concat({c.header, body});
        EXPECT_NE(std::search(data.begin(), data.end(), expected.begin(), expected.end()), data.end())
            << c.length;
    }
    swf::SwfWriter movie;
    EXPECT_THROW(movie.tag(1024, {}), std::out_of_range);
}

TEST(SwfActions, PushEncodesEachType) {
    struct Case {
        const char* name;
        swf::Value value;
        Bytes payload;
    };
    const Case cases[] = {
        {"string", "ab", {0, 'a', 'b', 0}},
        {"empty string", "", {0, 0}},
        {"integer", -2, {7, 0xFE, 0xFF, 0xFF, 0xFF}},
        // Doubles store their high 32 bits first.
        {"double", 1.0, {6, 0x00, 0x00, 0xF0, 0x3F, 0, 0, 0, 0}},
        {"double low bits", 1.0000000000000002, {6, 0x00, 0x00, 0xF0, 0x3F, 1, 0, 0, 0}},
        {"true", true, {5, 1}},
        {"false", false, {5, 0}},
        {"null", swf::Null{}, {2}},
        {"undefined", swf::Undefined{}, {3}},
        {"register", swf::Register{3}, {4, 3}},
        {"constant", swf::Constant{255}, {8, 255}},
        {"wide constant", swf::Constant{256}, {9, 0x00, 0x01}},
    };
    for (const Case& c : cases) {
        const Bytes code = swf::Actions().push(c.value).bytes();
        const Bytes expected = concat({{0x96, static_cast<std::uint8_t>(c.payload.size()), 0}, c.payload});
        EXPECT_EQ(code, expected) << c.name;
    }
    // Several values share one action.
    EXPECT_EQ(swf::Actions().push({"x", 1}).bytes(), (Bytes{0x96, 8, 0, 0, 'x', 0, 7, 1, 0, 0, 0}));
    EXPECT_EQ(swf::Actions().constantPool({"a", "bc"}).bytes(),
              (Bytes{0x88, 7, 0, 2, 0, 'a', 0, 'b', 'c', 0}));
    EXPECT_THROW(swf::Actions().push(std::string(70000, 'x')), std::length_error);
}

TEST(SwfActions, JumpsCountFromTheEndOfTheJump) {
    // Forward: if_ skips the Stop; the offset counts from the byte after the If.
    swf::Actions forward;
    const swf::Label skip = forward.newLabel();
    forward.push(true).if_(skip).stop().play().bind(skip).nextFrame();
    EXPECT_EQ(forward.bytes(), (Bytes{0x96, 2, 0, 5, 1, 0x9D, 2, 0, 2, 0, 0x07, 0x06, 0x04}));

    // Backward: a loop head before the jump gives a negative offset that includes the jump itself.
    swf::Actions backward;
    const swf::Label loop = backward.newLabel();
    backward.play().bind(loop).stop().jump(loop);
    EXPECT_EQ(backward.bytes(), (Bytes{0x06, 0x07, 0x99, 2, 0, 0xFA, 0xFF}));

    // A jump to itself, and a label used before and after it.
    swf::Actions both;
    const swf::Label mid = both.newLabel();
    both.jump(mid).bind(mid).jump(mid);
    EXPECT_EQ(both.bytes(), (Bytes{0x99, 2, 0, 0, 0, 0x99, 2, 0, 0xFB, 0xFF}));

    swf::Actions unbound;
    unbound.jump(unbound.newLabel());
    EXPECT_THROW(unbound.bytes(), std::logic_error);
    swf::Actions twice;
    const swf::Label l = twice.newLabel();
    twice.bind(l);
    EXPECT_THROW(twice.bind(l), std::logic_error);
    EXPECT_THROW(swf::Actions().jump(swf::Label{5}), std::invalid_argument);

    swf::Actions far;
    const swf::Label end = far.newLabel();
    far.jump(end);
    for (int i = 0; i < 33000; ++i) {
        far.pop();
    }
    far.bind(end);
    EXPECT_THROW(far.bytes(), std::out_of_range);
}

TEST(SwfActions, DefineFunction2LaysOutFlagsAndRegisters) {
    struct Case {
        const char* name;
        swf::Function2 function;
        std::uint8_t registerCount;
        Bytes flags;
        std::vector<std::uint8_t> paramRegisters;
    };
    const Case cases[] = {
        {"plain", {.name = "", .params = {"a", "b"}}, 3, {0x2A, 0x00}, {1, 2}},
        {"preloads take the first registers",
         {.name = "f",
          .params = {"a"},
          .localRegisters = 2,
          .preloadThis = true,
          .preloadRoot = true,
          .preloadGlobal = true,
          .suppressThis = false},
         7,
         {0x68 | 0x01, 0x01},
         {4}},
        {"everything preloaded",
         {.name = "",
          .params = {"a"},
          .preloadThis = true,
          .preloadArguments = true,
          .preloadSuper = true,
          .preloadRoot = true,
          .preloadParent = true,
          .preloadGlobal = true,
          .suppressThis = false,
          .suppressArguments = false,
          .suppressSuper = false},
         8,
         {0xD5, 0x01},
         {7}},
    };
    for (const Case& c : cases) {
        const swf::Function2& f = c.function;
        swf::Actions body;
        body.push(true).return_();
        const Bytes code = swf::Actions().defineFunction2(f, body).bytes();

        swf::BitWriter header;
        header.string(f.name);
        header.u16(static_cast<std::uint16_t>(f.params.size()));
        header.u8(c.registerCount);
        header.bytes(c.flags);
        for (std::size_t i = 0; i < f.params.size(); ++i) {
            header.u8(c.paramRegisters[i]);
            header.string(f.params[i]);
        }
        header.u16(6); // body size
        const Bytes expected = concat(
            {{0x8E, static_cast<std::uint8_t>(header.size()), 0}, header.data(), {0x96, 2, 0, 5, 1, 0x3E}});
        EXPECT_EQ(code, expected) << c.name;
    }
    swf::Function2 f{.params = {"x"}, .localRegisters = 1};
    EXPECT_EQ(f.localRegister(0), 2);
    EXPECT_THROW(f.localRegister(1), std::out_of_range);
    EXPECT_THROW(f.paramRegister(1), std::out_of_range);
    f.preloadThis = true; // while suppressThis is still set
    EXPECT_THROW(swf::Actions().defineFunction2(f, {}), std::invalid_argument);
    swf::Function2 crowded{.localRegisters = 255};
    EXPECT_THROW(crowded.registerCount(), std::out_of_range);
}

TEST(SwfActions, IdiomsCompileAsTheAuthoringToolDoes) {
    struct Case {
        const char* name;
        swf::Actions actions;
        swf::Actions expected;
    };
    const auto pushArgs = [](swf::Actions& a) { a.push("x").getVariable(); };
    const Case cases[] = {
        {"constant fscommand", swf::Actions().fscommand("cmd", "arg"),
         swf::Actions().op(0x83, concat({text("FSCommand:cmd"), text("arg")}))},
        {"dynamic fscommand", swf::Actions().fscommand("cmd", pushArgs),
         swf::Actions().push("FSCommand:cmd").push("x").getVariable().op(0x9A, {0x00})},
        {"addCallback", swf::Actions().addCallback("cb", [](swf::Actions& a) { a.push("fn").getVariable(); }),
         swf::Actions()
             .push("fn")
             .getVariable()
             .push({swf::Null{}, "cb", 3, "flash"})
             .getVariable()
             .push("external")
             .getMember()
             .push("ExternalInterface")
             .getMember()
             .push("addCallback")
             .callMethod()
             .pop()},
        {"constant loadMovieNum", swf::Actions().loadMovieNum("a.swf", 2),
         swf::Actions().op(0x83, concat({text("a.swf"), text("_level2")}))},
        {"dynamic loadMovieNum", swf::Actions().loadMovieNum(pushArgs, 0),
         swf::Actions().push("x").getVariable().push("_level0").op(0x9A, {0x00})},
        {"getUrl2 flags", swf::Actions().getUrl2(swf::SendVars::Post, true, false),
         swf::Actions().op(0x9A, {0x42})},
        {"getUrl2 load variables", swf::Actions().getUrl2(swf::SendVars::Get, false, true),
         swf::Actions().op(0x9A, {0x81})},
        {"gotoFrame", swf::Actions().gotoFrame(258), swf::Actions().op(0x81, {2, 1})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actions.bytes(), c.expected.bytes()) << c.name;
    }
    EXPECT_THROW(swf::Actions().loadMovieNum("a.swf", -1), std::invalid_argument);
    EXPECT_THROW(swf::Actions().op(0x07, {1}), std::invalid_argument);
}

TEST(SwfWriter, DisplayListRecords) {
    swf::SwfWriter movie;
    const std::uint16_t shape = movie.defineShape({{{0, 20, 0, 20}, swf::Color::rgb(0x102030)}});
    EXPECT_EQ(shape, 1);
    movie.placeObject(
        {.depth = 3, .characterId = shape, .matrix = swf::Matrix::translate(20, -20), .name = "box"});
    movie.placeObject({.depth = 4, .characterId = shape});
    movie.moveObject(3, {2.0, 2.0, 0, 0, 0, 0});
    movie.removeObject(4);
    const ParsedMovie m = parse(movie.finish());

    const auto shapes = m.withCode(swf::kTagDefineShape);
    ASSERT_EQ(shapes.size(), 1U);
    // Bounds, one solid fill, no lines, then move to the corner and draw clockwise with fill style 1.
    const Bytes expectedShape = concat({{1, 0},
                                        rectBytes({0, 20, 0, 20}),
                                        {1, 0x00, 0x10, 0x20, 0x30, 0},
                                        bits("0001 0000"
                                             " 0 0 0 1 0 1 00001 0 0 1"
                                             " 1 1 0100 0 0 010100"
                                             " 1 1 0100 0 1 010100"
                                             " 1 1 0100 0 0 101100"
                                             " 1 1 0100 0 1 101100"
                                             " 000000")});
    EXPECT_EQ(shapes[0].body, expectedShape);

    const auto places = m.withCode(swf::kTagPlaceObject2);
    ASSERT_EQ(places.size(), 3U);
    EXPECT_EQ(places[0].body, concat({{0x26, 3, 0, 1, 0}, bits("0 0 00110 010100 101100"), text("box")}));
    EXPECT_EQ(places[1].body, (Bytes{0x02, 4, 0, 1, 0}));
    EXPECT_EQ(places[2].body, concat({{0x05, 3, 0}, matrixBytes({2.0, 2.0, 0, 0, 0, 0})}));
    ASSERT_EQ(m.withCode(swf::kTagRemoveObject2).size(), 1U);
    EXPECT_EQ(m.withCode(swf::kTagRemoveObject2)[0].body, (Bytes{4, 0}));
}

TEST(SwfWriter, ShapesChooseTheTagTheirStylesNeed) {
    struct Case {
        const char* name;
        std::vector<swf::FilledRect> rects;
        std::uint16_t code;
    };
    const swf::FilledRect opaque{swf::Rect::pixels(0, 0, 10, 10), swf::Color::rgb(0xFF0000)};
    const swf::FilledRect translucent{swf::Rect::pixels(0, 0, 10, 10), {0, 0, 255, 128}};
    const Case cases[] = {
        {"opaque", {opaque, opaque}, swf::kTagDefineShape},
        {"alpha", {opaque, translucent}, swf::kTagDefineShape3},
        {"many styles", std::vector<swf::FilledRect>(300, opaque), swf::kTagDefineShape2},
        // Edges longer than 65535 twips are split, not cut.
        {"huge", {{{-100000, 100000, 0, 200000}, swf::Color::rgb(0)}}, swf::kTagDefineShape},
    };
    for (const Case& c : cases) {
        swf::SwfWriter movie;
        movie.defineShape(c.rects);
        const ParsedMovie m = parse(movie.finish());
        EXPECT_EQ(m.withCode(c.code).size(), 1U) << c.name;
    }
    swf::SwfWriter movie;
    EXPECT_THROW(movie.defineShape({}), std::invalid_argument);
}

TEST(SwfWriter, DeviceFontAndEditText) {
    swf::SwfWriter movie;
    const std::uint16_t font = movie.defineDeviceFont({.name = "_sans", .bold = true, .language = 3});
    swf::EditText field;
    field.bounds = {0, 2000, 0, 400};
    field.fontId = font;
    field.fontHeight = 360;
    field.color = swf::Color{1, 2, 3, 255};
    field.text = "\xED\x95\x9C\xEA\xB8\x80";
    field.variable = "msg";
    field.readOnly = true;
    field.noSelect = true;
    field.multiline = true;
    field.wordWrap = true;
    const std::uint16_t edit = movie.defineEditText(field);
    EXPECT_EQ(edit, font + 1);
    const ParsedMovie m = parse(movie.finish());

    ASSERT_EQ(m.withCode(swf::kTagDefineFont2).size(), 1U);
    EXPECT_EQ(m.withCode(swf::kTagDefineFont2)[0].body,
              concat({{1, 0, 0x05, 3, 5}, {'_', 's', 'a', 'n', 's'}, {0, 0, 0, 0}}));
    ASSERT_EQ(m.withCode(swf::kTagDefineEditText).size(), 1U);
    EXPECT_EQ(m.withCode(swf::kTagDefineEditText)[0].body, concat({{2, 0},
                                                                   rectBytes(field.bounds),
                                                                   {0xED, 0x10, 1, 0, 0x68, 1, 1, 2, 3, 255},
                                                                   text("msg"),
                                                                   text("\xED\x95\x9C\xEA\xB8\x80")}));

    swf::EditText bare;
    bare.bounds = {0, 100, 0, 100};
    swf::SwfWriter other;
    other.defineEditText(bare);
    EXPECT_EQ(parse(other.finish()).withCode(swf::kTagDefineEditText)[0].body,
              concat({{1, 0}, rectBytes(bare.bounds), {0x00, 0x00}, text("")}));

    swf::SwfWriter third;
    EXPECT_THROW(third.defineDeviceFont({.name = ""}), std::invalid_argument);
    EXPECT_THROW(third.defineDeviceFont({.name = std::string(256, 'f')}), std::invalid_argument);
    field.text = std::string("a\0b", 3);
    EXPECT_THROW(third.defineEditText(field), std::invalid_argument);
}

TEST(SwfWriter, ButtonOffsetsPointAtTheConditions) {
    swf::SwfWriter movie;
    const std::uint16_t shape = movie.defineShape({{swf::Rect::pixels(0, 0, 10, 10), swf::Color::rgb(0)}});
    swf::Button button;
    button.records.push_back({.characterId = shape, .depth = 1, .states = swf::kButtonAllStates});
    button.records.push_back({.characterId = shape,
                              .depth = 2,
                              .states = swf::kButtonOver | swf::kButtonDown,
                              .matrix = swf::Matrix::translate(20, -20)});
    button.actions.push_back({swf::kOnRelease, swf::Actions().fscommand("a", "b")});
    button.actions.push_back({swf::kOnIdleToOverUp, swf::Actions().stop()});
    movie.defineButton(button);
    const ParsedMovie m = parse(movie.finish());
    ASSERT_EQ(m.withCode(swf::kTagDefineButton2).size(), 1U);

    const Bytes records = concat({{0x0F, 1, 0, 1, 0, 0x00, 0x00},
                                  {0x06, 1, 0, 2, 0},
                                  bits("0 0 00110 010100 101100"),
                                  {0x00},
                                  {0x00}});
    const Bytes release = concat({swf::Actions().fscommand("a", "b").bytes(), {0}});
    const Bytes expected = concat({{2, 0, 0},
                                   {static_cast<std::uint8_t>(2 + records.size()), 0},
                                   records,
                                   {static_cast<std::uint8_t>(4 + release.size()), 0, 0x08, 0x00},
                                   release,
                                   {0, 0, 0x01, 0x00, 0x07, 0}});
    EXPECT_EQ(m.withCode(swf::kTagDefineButton2)[0].body, expected);

    swf::Button plain;
    plain.records.push_back({.characterId = shape});
    swf::SwfWriter other;
    other.defineButton(plain);
    // Without conditions the offset is 0.
    EXPECT_EQ(parse(other.finish()).withCode(swf::kTagDefineButton2)[0].body,
              (Bytes{1, 0, 0, 0, 0, 0x0F, 1, 0, 1, 0, 0x00, 0x00, 0x00}));
    swf::Button stateless;
    stateless.records.push_back({.characterId = shape, .states = 0});
    swf::SwfWriter third;
    EXPECT_THROW(third.defineButton(stateless), std::invalid_argument);
}

TEST(SwfWriter, SaveReplacesTheFileWhole) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("swfwriter-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "m.swf";
    {
        std::ofstream old(path);
        old << "old content that is longer than nothing";
    }
    swf::SwfWriter movie;
    movie.save(path);
    std::ifstream in(path, std::ios::binary);
    const Bytes saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, movie.finish());
    EXPECT_FALSE(std::filesystem::exists(dir / "m.swf.tmp"));

    swf::SwfWriter other;
    EXPECT_ANY_THROW(other.save(dir / "missing" / "m.swf"));
    std::filesystem::remove_all(dir);
}

TEST(SwfBootstrap, OneFrameThatRegistersTheCallbacksThenLoadsTheBook) {
    const Bytes data = swf::bootstrapMovie();
    const ParsedMovie m = parse(data);
    EXPECT_EQ(m.version, 8);
    EXPECT_EQ(m.frameCount, 1);
    EXPECT_EQ(m.fileLength, data.size());
    std::vector<std::uint16_t> codes;
    for (const Tag& t : m.tags) {
        codes.push_back(t.code);
    }
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{swf::kTagFileAttributes, swf::kTagSetBackgroundColor,
                                                 swf::kTagDoAction, swf::kTagShowFrame, swf::kTagEnd}));
    const Bytes code = m.withCode(swf::kTagDoAction).at(0).body;
    const auto contains = [&](const Bytes& needle) {
        return std::search(code.begin(), code.end(), needle.begin(), needle.end()) != code.end();
    };
    // set(name, value) keeps its arguments in r1 and r2 and answers true; get(name) answers r1's variable.
    EXPECT_TRUE(
        contains(concat({text("name"), {2}, text("value"), {14, 0}, {0x96, 4, 0, 4, 1, 4, 2, 0x1D}})));
    EXPECT_TRUE(contains(concat({text("name"), {7, 0}, {0x96, 2, 0, 4, 1, 0x1C, 0x3E}})));
    EXPECT_TRUE(contains(text("__qorv_set")));
    EXPECT_TRUE(contains(text("__qorv_get")));
    EXPECT_TRUE(contains(
        concat({text("__qorv_book"), {0x1C}, swf::Actions().push("_level0").bytes(), {0x9A, 1, 0, 0}})));
    EXPECT_EQ(code.end()[-2], 0x07) << "ends with Stop";
}
