#include "examples/BookBuilder.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

// Writes the demo book beside the executable: NAME.swf and NAME_Page_img/Page_var.txt in the folder given.
namespace {

bookbuilder::Book demoBook() {
    using bookbuilder::Command;
    bookbuilder::Book book;
    book.width = 960;
    book.height = 600;

    bookbuilder::Page window;
    window.tab = "창";
    window.heading = "창 명령 — 데모 책";
    window.commands = {
        {"최대화 (function_full)", "QORV", "function_full"},
        {"최소화 (wsMinimized)", "formcontrol", "wsMinimized"},
        {"크기 전환 (resize)", "formcontrol", "resize"},
        {"보통 크기 (wsNormal)", "formcontrol", "wsNormal"},
        {"알림 (function_alert)", "QORV", "function_alert@@@안녕하세요! 데모 책의 알림입니다."},
        {"3초 뒤 앞으로 (function_forward)", "QORV", "function_forward"},
        {"스킨 경로 (MoveSkin)", "MoveSkin", "skins/blue.swf"},
        {"닫기 (function_close)", "QORV", "function_close"},
    };
    window.watches = {{"첫 페이지 (-p):", "BOOKLOAD_FIRSTPAGE"}};
    book.pages.push_back(window);
    return book;
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER BOOKNAME\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const std::string name = argv[2];
        swf::SwfWriter::writeFile(folder / (name + ".swf"), bookbuilder::build(demoBook()));
        // The title is plain ASCII so that the file reads the same in any code page.
        writeText(folder / (name + "_Page_img") / "Page_var.txt",
                  "&title=QORV Demo Book %26 Samples&\r\n&width=1000&\r\n&height=700&\r\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
