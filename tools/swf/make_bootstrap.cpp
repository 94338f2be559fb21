#include "tools/swf/BootstrapMovie.h"
#include "tools/swf/SwfWriter.h"

#include <cstdio>
#include <exception>

// Writes the player's bootstrap movie to the path given.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.swf\n", argv[0]);
        return 2;
    }
    try {
        swf::SwfWriter::writeFile(argv[1], swf::bootstrapMovie());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
