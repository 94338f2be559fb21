#include "tools/swf/BootstrapMovie.h"
#include "tools/swf/SwfWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>

// Writes the movies check-in-ruffle.sh plays: display.swf (shapes, a button, a device-font text field and
// a frame script that reports through fscommand), book.swf (what the bootstrap loads) and bootstrap.swf.
namespace {

using namespace swf;

// fscommand(command, <value the emitter pushes>), the form every report of the script takes.
void report(Actions& a, const char* command, const Actions::Emit& value) {
    a.fscommand(command, value);
}

Actions displayScript() {
    Actions a;
    a.fscommand("hello", "world");

    // i = 0; while (i < 5) i++;  -- a forward exit and a backward loop jump.
    a.push({"i", 0}).setVariable();
    const Label top = a.newLabel();
    const Label done = a.newLabel();
    a.bind(top).push("i").getVariable().push(5).less2().not_().if_(done);
    a.push("i").push("i").getVariable().increment().setVariable();
    a.jump(top);
    a.bind(done);
    report(a, "loop", [](Actions& s) { s.push("i").getVariable(); });

    // function twice(x) { return x + x; } with x in a register.
    Function2 twice{.name = "twice", .params = {"x"}};
    Actions body;
    body.push({Register{twice.paramRegister(0)}, Register{twice.paramRegister(0)}}).add2().return_();
    a.defineFunction2(twice, body);
    report(a, "twice", [](Actions& s) { s.push({21, 1, "twice"}).callFunction(); });

    // An anonymous DefineFunction (version 5 form) stored in a local and called through a member.
    Actions greet;
    greet.push({"Hello, ", "who"}).getVariable().stringAdd().return_();
    a.push("o").push(0).initObject().defineLocal();
    a.push("o").getVariable().push("greet");
    a.defineFunction("", {"who"}, greet);
    a.setMember();
    report(a, "method", [](Actions& s) { s.push({"you", 1, "o"}).getVariable().push("greet").callMethod(); });

    report(a, "utf8", [](Actions& s) { s.push("\xED\x95\x9C\xEA\xB8\x80 \xE2\x9C\x93"); });
    report(a, "double", [](Actions& s) { s.push({2.5, 0.25}).add2(); });
    report(a, "typeof", [](Actions& s) { s.push(0).initObject().typeOf(); });
    a.constantPool({"pool-a", "pool-b"});
    report(a, "pool", [](Actions& s) { s.push(Constant{1}); });
    // "3" == 3 but not strictly; 3 > 2: "true,false,true".
    report(a, "compare", [](Actions& s) {
        s.push({3, "3"}).equals2().toString();
        s.push(",").stringAdd();
        s.push({3, "3"}).strictEquals().toString().stringAdd();
        s.push(",").stringAdd();
        s.push({3, 2}).greater().toString().stringAdd();
    });
    report(a, "values", [](Actions& s) {
        s.push({Null{}}).toString();
        s.push(Undefined{}).toString().stringAdd();
        s.push({"41"}).toNumber().increment().decrement().increment().toString().stringAdd();
        s.push(true).pushDuplicate().stackSwap().pop().toString().stringAdd();
    });
    report(a, "new", [](Actions& s) { s.push({3, 1, "Array"}).newObject().push("length").getMember(); });
    report(a, "time", [](Actions& s) { s.getTime().typeOf(); });
    a.push("shown").push("set by script: \xED\x95\x9C\xEA\xB8\x80 OK").setVariable();
    a.push("traced by the display movie").trace();
    a.gotoLabel("later");
    return a;
}

std::vector<std::uint8_t> displayMovie() {
    SwfWriter movie(Stage{400, 300, 12.0, 8});
    movie.setBackgroundColor(Color::rgb(0xDDDDDD));
    const std::uint16_t boxes = movie.defineShape({{Rect::pixels(20, 20, 200, 100), Color::rgb(0xFF0000)},
                                                   {Rect::pixels(240, 20, 100, 100), Color::rgb(0x00AA00)}});
    const std::uint16_t up = movie.defineShape({{Rect::pixels(0, 0, 120, 40), Color::rgb(0x0000FF)}});
    const std::uint16_t over = movie.defineShape({{Rect::pixels(0, 0, 120, 40), Color::rgb(0x000088)}});

    Button button;
    button.records.push_back({.characterId = up, .depth = 1, .states = kButtonUp | kButtonHit, .matrix = {}});
    button.records.push_back(
        {.characterId = over, .depth = 2, .states = kButtonOver | kButtonDown, .matrix = {}});
    button.actions.push_back({kOnRelease, Actions().fscommand("clicked", "button")});
    const std::uint16_t buttonId = movie.defineButton(button);

    const std::uint16_t font =
        movie.defineDeviceFont({.name = "_sans", .bold = false, .italic = false, .language = 0});
    EditText field;
    field.bounds = Rect::pixels(20, 220, 360, 60);
    field.fontId = font;
    field.fontHeight = static_cast<std::uint16_t>(twips(20));
    field.color = Color::rgb(0x000000);
    field.text = "initial";
    field.variable = "shown";
    field.readOnly = true;
    field.noSelect = true;
    field.multiline = true;
    field.wordWrap = true;
    const std::uint16_t text = movie.defineEditText(field);

    const std::uint16_t korean =
        movie.defineDeviceFont({.name = "NanumGothic", .bold = false, .italic = false, .language = 3});
    EditText named;
    named.bounds = Rect::pixels(20, 130, 360, 30);
    named.fontId = korean;
    named.fontHeight = static_cast<std::uint16_t>(twips(18));
    named.color = Color::rgb(0x000080);
    named.text = "\xED\x95\x9C\xEA\xB8\x80 \xED\x85\x8C\xEC\x8A\xA4\xED\x8A\xB8 ABC";
    named.readOnly = true;
    const std::uint16_t namedText = movie.defineEditText(named);

    movie.placeObject({.depth = 1, .characterId = boxes, .matrix = {}, .name = "boxes"});
    movie.placeObject({.depth = 4, .characterId = namedText, .matrix = {}, .name = "named"});
    movie.placeObject({.depth = 2,
                       .characterId = buttonId,
                       .matrix = Matrix::translate(twips(20), twips(160)),
                       .name = "button"});
    movie.placeObject({.depth = 3, .characterId = text, .matrix = {}, .name = "field"});
    // Frame 2, reached by label, takes one square away and moves the other; frame 3 is reached by
    // nextFrame and stops.
    const std::uint16_t yellow = movie.defineShape({{Rect::pixels(0, 0, 20, 20), Color::rgb(0xFFFF00)}});
    const std::uint16_t magenta = movie.defineShape({{Rect::pixels(0, 0, 20, 20), Color::rgb(0xFF00FF)}});
    movie.placeObject(
        {.depth = 5, .characterId = yellow, .matrix = Matrix::translate(twips(350), twips(160)), .name = ""});
    movie.placeObject({.depth = 6,
                       .characterId = magenta,
                       .matrix = Matrix::translate(twips(250), twips(160)),
                       .name = ""});
    movie.frameLabel("start");
    movie.doAction(displayScript());
    movie.showFrame();

    movie.frameLabel("later");
    movie.removeObject(5);
    movie.moveObject(6, Matrix::translate(twips(280), twips(160)));
    movie.doAction(Actions().fscommand("label", "later").nextFrame());
    movie.showFrame();

    movie.doAction(Actions().fscommand("frame", "3").stop());
    movie.showFrame();
    return movie.finish();
}

// Frame 1 announces itself once and leaves a variable for the page to read; frame 2 waits for the page
// to set "greeting", reports it, and stops.
std::vector<std::uint8_t> bookMovie() {
    SwfWriter movie(Stage{400, 300, 24.0, 8});
    movie.setBackgroundColor(Color::rgb(0xFFFFCC));
    movie.placeObject(
        {.depth = 1,
         .characterId = movie.defineShape({{Rect::pixels(50, 50, 100, 100), Color::rgb(0x8800FF)}}),
         .matrix = {},
         .name = ""});

    Actions first;
    const Label announced = first.newLabel();
    first.push("announced").getVariable().if_(announced);
    first.push({"announced", true}).setVariable();
    first.push({"bookVar", "from book \xED\x95\x9C"}).setVariable();
    first.fscommand("book_loaded", [](Actions& s) { s.push("_url").getVariable(); });
    first.bind(announced);
    movie.doAction(first);
    movie.showFrame();

    Actions second;
    const Label waiting = second.newLabel();
    second.push("greeting").getVariable().push(Undefined{}).equals2().if_(waiting);
    second.fscommand("seen", [](Actions& s) { s.push("greeting").getVariable(); });
    second.stop();
    const Label end = second.newLabel();
    second.jump(end);
    second.bind(waiting).gotoFrame(0).play();
    second.bind(end);
    movie.doAction(second);
    movie.showFrame();
    return movie.finish();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        SwfWriter::writeFile(dir / "display.swf", displayMovie());
        SwfWriter::writeFile(dir / "book.swf", bookMovie());
        SwfWriter::writeFile(dir / "bootstrap.swf", bootstrapMovie());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
