#include "tools/swf/BootstrapMovie.h"

#include "tools/swf/SwfWriter.h"

namespace swf {

std::vector<std::uint8_t> bootstrapMovie() {
    SwfWriter movie(Stage{800, 600, 24.0, 8});
    movie.setBackgroundColor(Color::rgb(0xFFFFFF));

    Function2 set{.name = "", .params = {"name", "value"}};
    Actions setBody;
    setBody.push({Register{set.paramRegister(0)}, Register{set.paramRegister(1)}}).setVariable();
    setBody.push(true).return_();

    Function2 get{.name = "", .params = {"name"}};
    Actions getBody;
    getBody.push(Register{get.paramRegister(0)}).getVariable().return_();

    Actions frame;
    frame.addCallback(kBootstrapSetCallback, [&](Actions& a) { a.defineFunction2(set, setBody); });
    frame.addCallback(kBootstrapGetCallback, [&](Actions& a) { a.defineFunction2(get, getBody); });
    const Label noBook = frame.newLabel();
    frame.push(kBootstrapBookVariable).getVariable().not_().if_(noBook);
    frame.loadMovieNum([](Actions& a) { a.push(kBootstrapBookVariable).getVariable(); }, 0);
    frame.bind(noBook).stop();

    movie.doAction(frame);
    movie.showFrame();
    return movie.finish();
}

} // namespace swf
