#include "PlayerFixtures.h"

#include "tools/swf/SwfWriter.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>

namespace playerfixtures {

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Frames 2 and 3 loop, both counting and reporting changed variables, so that a change is seen on the
// next frame whichever of the two it falls on; frame 3 jumps back.
void addWatchLoop(swf::SwfWriter& movie, const QStringList& watched) {
    swf::Actions loop;
    loop.push({"counter", "counter"}).getVariable().increment().setVariable();
    for (const QString& name : watched) {
        const std::string n = utf8(name);
        const std::string last = "__last_" + n;
        const swf::Label same = loop.newLabel();
        loop.push(n).getVariable().push(last).getVariable().strictEquals().if_(same);
        loop.push(last).push(n).getVariable().setVariable();
        loop.fscommand("watch:" + n, [&](swf::Actions& a) { a.push(n).getVariable(); });
        loop.bind(same);
    }
    movie.doAction(loop);
    movie.showFrame();
    swf::Actions back = loop;
    back.gotoFrame(1).play();
    movie.doAction(back);
    movie.showFrame();
}

swf::Stage stage() {
    return swf::Stage{400, 300, 60.0, 8};
}

} // namespace

QString koreanArgument() {
    return QStringLiteral("한글 명령 ✓ 😀 \"인용\" <태그> & 끝");
}

QString bigArgument() {
    QString text;
    text.reserve(kBigArgumentSize);
    for (int i = 0; text.size() < kBigArgumentSize; ++i) {
        text += QString::number(i) + QLatin1Char(',');
    }
    text.truncate(kBigArgumentSize);
    return text;
}

std::vector<std::uint8_t> talkingMovie(const QStringList& watched) {
    swf::SwfWriter movie(stage());
    movie.setBackgroundColor(swf::Color::rgb(0xFFFFFF));
    swf::Actions frame;
    frame.push({"counter", 0}).setVariable();
    frame.fscommand("korean", utf8(koreanArgument()));
    frame.fscommand("empty", "");
    frame.fscommand("big", utf8(bigArgument()));
    for (int i = 0; i < kBurst; ++i) {
        frame.fscommand("burst", std::to_string(i));
    }
    frame.fscommand("flashvar", [](swf::Actions& a) { a.push("fv").getVariable(); });
    frame.fscommand("firstPage", [](swf::Actions& a) { a.push("BOOKLOAD_FIRSTPAGE").getVariable(); });

    // __funcRoot = new Object(); __funcRoot.appPath = "/books/app/";
    frame.push({"__funcRoot", 0, "Object"}).newObject().setVariable();
    frame.push("__funcRoot").getVariable().push({"appPath", "/books/app/"}).setMember();

    for (const char* name : {"onRecordComplete", "otherBook_QORV", "goPageLink_QORV"}) {
        swf::Function2 f{.name = "",
                         .params = {},
                         .localRegisters = 1,
                         .preloadArguments = true,
                         .suppressArguments = false};
        const swf::Register arguments{1};
        const swf::Register joined{f.localRegister(0)};
        swf::Actions body;
        body.push({"|", 1}).push(arguments).push("join").callMethod().storeRegister(joined.index).pop();
        body.fscommand(std::string("call:") + name, [&](swf::Actions& a) { a.push(joined); });
        body.push(joined).return_();
        frame.addCallback(name, [&](swf::Actions& a) { a.defineFunction2(f, body); });
    }
    frame.fscommand("ready", "");
    movie.doAction(frame);
    movie.showFrame();
    addWatchLoop(movie, watched);
    return movie.finish();
}

std::vector<std::uint8_t> drawingMovie(const QString& text) {
    swf::SwfWriter movie(stage());
    movie.setBackgroundColor(swf::Color::rgb(0xFFFFFF));
    const std::uint16_t square =
        movie.defineShape({{swf::Rect::pixels(50, 50, 100, 100), swf::Color::rgb(0xFF0000)}});
    const std::uint16_t font = movie.defineDeviceFont(swf::DeviceFont{.name = "_sans", .language = 3});
    swf::EditText field;
    field.bounds = swf::Rect::pixels(0, 0, 400, 80);
    field.fontId = font;
    field.fontHeight = swf::twips(40);
    field.color = swf::Color::rgb(0x000000);
    field.text = utf8(text);
    field.readOnly = true;
    field.noSelect = true;
    const std::uint16_t textField = movie.defineEditText(field);
    movie.placeObject({.depth = 1, .characterId = square});
    movie.placeObject(
        {.depth = 2, .characterId = textField, .matrix = swf::Matrix::translate(0, swf::twips(200))});
    movie.showFrame();
    swf::Actions second;
    second.fscommand("ready", "").stop();
    movie.doAction(second);
    movie.showFrame();
    return movie.finish();
}

std::vector<std::uint8_t> loadingMovie(const QStringList& urls, const QStringList& watched) {
    swf::SwfWriter movie(stage());
    movie.setBackgroundColor(swf::Color::rgb(0xFFFFFF));
    swf::Actions frame;
    frame.push({"counter", 0}).setVariable();
    for (const QString& url : urls) {
        // GetURL2 with only the load-variables flag, which players read from the byte's top bit.
        frame.push({url.toStdString(), "_level0"}).op(0x9A, {0x80});
    }
    frame.fscommand("ready", "");
    movie.doAction(frame);
    movie.showFrame();
    addWatchLoop(movie, watched);
    return movie.finish();
}

std::vector<std::uint8_t> burstMovie(int count, int size) {
    swf::SwfWriter movie(stage());
    swf::Actions frame;
    const std::string big(static_cast<std::size_t>(size), 'x');
    frame.push({"big", big}).setVariable();
    frame.push({"i", 0}).setVariable();
    frame.fscommand("start", "");
    const swf::Label loop = frame.newLabel();
    const swf::Label done = frame.newLabel();
    frame.bind(loop);
    frame.push("i").getVariable().push(count).less2().not_().if_(done);
    frame.fscommand("big", [](swf::Actions& a) { a.push("big").getVariable(); });
    frame.push({"i", "i"}).getVariable().increment().setVariable();
    frame.jump(loop);
    frame.bind(done);
    frame.fscommand("done", "").stop();
    movie.doAction(frame);
    movie.showFrame();
    return movie.finish();
}

std::vector<std::uint8_t> quietMovie() {
    swf::SwfWriter movie(stage());
    swf::Actions frame;
    frame.fscommand("ready", "").stop();
    movie.doAction(frame);
    movie.showFrame();
    return movie.finish();
}

void save(const std::vector<std::uint8_t>& movie, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    swf::SwfWriter::writeFile(std::filesystem::path(path.toStdString()), movie);
}

} // namespace playerfixtures
