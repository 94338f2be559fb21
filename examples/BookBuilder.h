#pragma once

#include "tools/swf/SwfWriter.h"

#include <string>
#include <vector>

// Small book movies with pages of command buttons: a row of tabs at the top, one frame per page. Used for
// the demo book and for the windows' end-to-end fixtures.
namespace bookbuilder {

struct Command {
    std::string label;   // shown on the button (UTF-8)
    std::string command; // fscommand's first argument
    std::string args;    // fscommand's second argument
    // Further commands the same button sends, in order.
    std::vector<std::pair<std::string, std::string>> more;
};

// A text field showing a variable of the movie's root, for example a reply of the host.
struct Watch {
    std::string label;
    std::string variable;
};

struct Page {
    std::string tab;
    std::string heading;
    std::vector<Command> commands;
    std::vector<Watch> watches;
    swf::Actions frameScript; // runs each time the page is shown
};

struct Book {
    int width = 800;
    int height = 600;
    swf::Color background = swf::Color::rgb(0xF4F6FA);
    swf::Actions firstFrameScript; // runs once, before the first page's script
    std::vector<Page> pages;
};

std::vector<std::uint8_t> build(const Book& book);

// Publishes an ExternalInterface function name(arg0, arg1, ...) that stores its first argument in the root
// variable variable and sends the fscommand name with the arguments joined by "|".
swf::Actions echoCallback(const std::string& name, const std::string& variable, int argumentCount);

} // namespace bookbuilder
