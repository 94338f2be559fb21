#include "examples/BookBuilder.h"

namespace bookbuilder {

namespace {

constexpr double kTabHeight = 36;
constexpr double kTabWidth = 110;
constexpr double kButtonWidth = 300;
constexpr double kButtonHeight = 40;
constexpr std::uint16_t kTabDepth = 10;
constexpr std::uint16_t kPageDepth = 100;

class Builder {
public:
    explicit Builder(const Book& book)
        : book_(book), writer_(swf::Stage{book.width, book.height, 12.0, 8, false}) {
        writer_.setBackgroundColor(book.background);
        // Ruffle draws Hangul in device text only with a font family that has it.
        font_ = writer_.defineDeviceFont({"NanumGothic", false, false, 3});
    }

    std::vector<std::uint8_t> build() {
        std::uint16_t depth = kTabDepth;
        for (std::size_t i = 0; i < book_.pages.size(); ++i) {
            swf::Actions go;
            go.gotoFrame(static_cast<std::uint16_t>(i)).stop();
            const auto tab = button(book_.pages[i].tab, kTabWidth - 4, kTabHeight - 6, 0x2F5597, go);
            writer_.placeObject(
                {depth++, tab, swf::Matrix::translate(swf::twips(4 + i * kTabWidth), swf::twips(3)), {}});
        }
        std::uint16_t lastPageDepth = kPageDepth;
        for (std::size_t i = 0; i < book_.pages.size(); ++i) {
            for (std::uint16_t d = kPageDepth; d < lastPageDepth; ++d) {
                writer_.removeObject(d);
            }
            lastPageDepth = page(book_.pages[i]);
            swf::Actions script;
            if (i == 0) {
                script.append(book_.firstFrameScript);
            }
            script.append(book_.pages[i].frameScript);
            script.stop();
            writer_.doAction(script);
            writer_.showFrame();
        }
        return writer_.finish();
    }

private:
    std::uint16_t text(const std::string& content, double width, double height, std::uint32_t color,
                       const std::string& variable = {}) {
        swf::EditText field;
        field.bounds = swf::Rect::pixels(0, 0, width, height);
        field.fontId = font_;
        field.fontHeight = static_cast<std::uint16_t>(swf::twips(15));
        field.color = swf::Color::rgb(color);
        field.text = content;
        field.variable = variable;
        field.readOnly = true;
        field.noSelect = true;
        return writer_.defineEditText(field);
    }

    std::uint16_t button(const std::string& caption, double width, double height, std::uint32_t color,
                         const swf::Actions& onRelease) {
        const auto up =
            writer_.defineShape({{swf::Rect::pixels(0, 0, width, height), swf::Color::rgb(color)}});
        const auto down =
            writer_.defineShape({{swf::Rect::pixels(0, 0, width, height), swf::Color::rgb(0x1B365D)}});
        const auto label = text(caption, width - 12, height - 8, 0xFFFFFF);
        swf::Button b;
        b.records.push_back({up, 1, swf::kButtonUp | swf::kButtonOver | swf::kButtonHit, {}});
        b.records.push_back({down, 1, swf::kButtonDown, {}});
        b.records.push_back({label, 2, swf::kButtonUp | swf::kButtonOver | swf::kButtonDown,
                             swf::Matrix::translate(swf::twips(8), swf::twips(8))});
        b.actions.push_back({swf::kOnRelease, onRelease});
        return writer_.defineButton(b);
    }

    // Places a page's objects from kPageDepth on; returns the first free depth.
    std::uint16_t page(const Page& p) {
        std::uint16_t depth = kPageDepth;
        const auto heading = text(p.heading, book_.width - 40, 28, 0x1B365D);
        writer_.placeObject(
            {depth++, heading, swf::Matrix::translate(swf::twips(20), swf::twips(kTabHeight + 12)), {}});
        double y = kTabHeight + 52;
        double x = 20;
        for (const Command& c : p.commands) {
            swf::Actions send;
            send.fscommand(c.command, c.args);
            for (const auto& [command, args] : c.more) {
                send.fscommand(command, args);
            }
            const auto b = button(c.label, kButtonWidth, kButtonHeight, 0x4472C4, send);
            writer_.placeObject({depth++, b, swf::Matrix::translate(swf::twips(x), swf::twips(y)), {}});
            x += kButtonWidth + 20;
            if (x + kButtonWidth > book_.width) {
                x = 20;
                y += kButtonHeight + 12;
            }
        }
        if (x != 20) {
            y += kButtonHeight + 12;
        }
        for (const Watch& w : p.watches) {
            const auto caption = text(w.label, 220, 24, 0x333333);
            writer_.placeObject(
                {depth++, caption, swf::Matrix::translate(swf::twips(20), swf::twips(y)), {}});
            const auto value = text("", book_.width - 260, 24, 0xC00000, "_root." + w.variable);
            writer_.placeObject({depth++, value, swf::Matrix::translate(swf::twips(240), swf::twips(y)), {}});
            y += 28;
        }
        return depth;
    }

    const Book& book_;
    swf::SwfWriter writer_;
    std::uint16_t font_ = 0;
};

} // namespace

std::vector<std::uint8_t> build(const Book& book) {
    return Builder(book).build();
}

swf::Actions echoCallback(const std::string& name, const std::string& variable, int argumentCount) {
    swf::Function2 function;
    for (int i = 0; i < argumentCount; ++i) {
        function.params.push_back("a" + std::to_string(i));
    }
    swf::Actions body;
    body.push({"_root." + variable, swf::Register{function.paramRegister(0)}}).setVariable();
    // The fscommand's argument: the arguments joined by "|".
    const swf::Actions::Emit joined = [&function, argumentCount](swf::Actions& a) {
        a.push(swf::Register{function.paramRegister(0)});
        for (int i = 1; i < argumentCount; ++i) {
            a.push("|")
                .add2()
                .push(swf::Register{function.paramRegister(static_cast<std::size_t>(i))})
                .add2();
        }
    };
    body.fscommand(name, joined);
    body.push(true).return_();
    swf::Actions script;
    script.addCallback(name, [&function, &body](swf::Actions& a) { a.defineFunction2(function, body); });
    return script;
}

} // namespace bookbuilder
