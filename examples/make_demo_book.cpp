#include "examples/BookBuilder.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

// Writes the demo book beside the executable: NAME.swf and NAME_Page_img/Page_var.txt in the folder given.
namespace {

// A scrap of 8 x 8 pixels in four colour bands, sent in two chunks.
std::vector<std::pair<std::string, std::string>> scrapCommands() {
    const char* bands[] = {"E04040", "40A040", "4060E0", "F0C020"};
    std::string first = "function_scrapsave_data@@@0";
    std::string second = "function_scrapsave_data@@@1";
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            (y < 4 ? first : second) += std::string(",") + bands[(x / 2 + y / 2) % 4];
        }
    }
    return {{"QORV", first}, {"QORV", second}, {"QORV", "function_scrapsave_end"}};
}

bookbuilder::Book demoBook(const std::string& name) {
    using bookbuilder::Command;
    bookbuilder::Book book;
    book.width = 960;
    book.height = 600;
    book.firstFrameScript.append(bookbuilder::echoCallback("onRecordComplete", "recordPath", 1));
    book.firstFrameScript.append(bookbuilder::echoCallback("goPageLink_QORV", "pageLink", 2));
    book.firstFrameScript.append(bookbuilder::echoCallback("otherBook_QORV", "otherBook", 3));

    bookbuilder::Page window;
    window.tab = "창";
    window.heading = "창 명령";
    window.commands = {
        {"최대화 (function_full)", "QORV", "function_full", {}},
        {"최소화 (wsMinimized)", "formcontrol", "wsMinimized", {}},
        {"크기 전환 (resize)", "formcontrol", "resize", {}},
        {"보통 크기 (wsNormal)", "formcontrol", "wsNormal", {}},
        {"알림 (function_alert)", "QORV", "function_alert@@@안녕하세요! 데모 책의 알림입니다.", {}},
        {"3초 뒤 앞으로 (function_forward)", "QORV", "function_forward", {}},
        {"스킨 경로 (MoveSkin)", "MoveSkin", "skins/blue.swf", {}},
        {"닫기 (function_close)", "QORV", "function_close", {}},
    };
    window.watches = {{"첫 페이지 (-p):", "BOOKLOAD_FIRSTPAGE"}};
    book.pages.push_back(window);

    bookbuilder::Page files;
    files.tab = "파일";
    files.heading = "파일 내보내기와 문서 열기";
    files.commands = {
        {"문서 저장 (function_copyfile)", "QORV", "function_copyfile@@@docs/guide.pdf", {}},
        {"열기 또는 저장 (copyfileModal)", "QORV", "function_copyfileModal@@@docs@@@guide.pdf", {}},
        {"여러 파일 (copyfilesDialog)",
         "QORV",
         "function_copyfilesDialog@@@docs/guide.pdf;docs/readme.txt",
         {}},
        {"쪽 그림 저장 (function_imgcopy)", "QORV", "function_imgcopy@@@page1.bmp", {}},
        {"문서 저장 (function_doccopy)", "QORV", "function_doccopy@@@docs/readme.txt", {}},
        {"PDF 2쪽 보기 (RunPDF)", "RunPDF", "page=2@@@docs/guide.pdf", {}},
        {"문서 열기 (exec)", "exec", "docs/readme.txt", {}},
    };
    book.pages.push_back(files);

    bookbuilder::Page notes;
    notes.tab = "메모";
    notes.heading = "메모와 목록";
    notes.commands = {
        {"USB에 메모 저장 (saveTextFile)",
         "QORV",
         "function_saveTextFile@@@안녕하세요.\n데모 메모입니다.@@@memo.txt",
         {}},
        {"메모 폴더 (loadTextFile)", "QORV", "function_loadTextFile", {}},
        {"여기에 저장 (LocalSaveText)", "QORV", "function_LocalSaveText@@@로컬 메모@@@docs@@@local.txt", {}},
        {"텍스트 목록 (searchList)", "QORV", "function_searchList@@@docs", {}},
        {"목록 파일 (TxtListSaveToFile)", "QORV", "function_TxtListSaveToFile@@@docs@@@.txt", {}},
        {"명령줄 (InputParameter)", "QORV", "function_InputParameter", {}},
    };
    notes.watches = {{"saveSuccess:", "saveSuccess"},
                     {"loadTxt:", "loadTxt"},
                     {"loadSuccess:", "loadSuccess"},
                     {"resultList:", "resultList"},
                     {"변수명:", "변수명"}};
    book.pages.push_back(notes);

    bookbuilder::Page pictures;
    pictures.tab = "그림";
    pictures.heading = "그림 조각과 화면 저장";
    pictures.commands = {
        {"그림 조각 저장 (scrapsave)", "QORV", "function_scrapsave_start@@@8,8", scrapCommands()},
        {"화면 저장 (CaptureForm)", "function", "CaptureForm@@@", {}},
    };
    book.pages.push_back(pictures);

    bookbuilder::Page voice;
    voice.tab = "녹음";
    voice.heading = "목소리 녹음";
    voice.commands = {
        {"녹음 시작", "QORV", "function_recording_start", {}},
        {"녹음 정지", "QORV", "function_recording_stop", {}},
    };
    voice.watches = {{"녹음 파일:", "recordPath"}};
    book.pages.push_back(voice);

    bookbuilder::Page popups;
    popups.tab = "팝업";
    popups.heading = "팝업 창";
    popups.commands = {
        {"팝업 열기 (PopUpForm, 50%)",
         "function",
         "PopUpForm@@@" + name + "_popup.swf@@@3@@@50@@@팝업 창",
         {}},
        {"큰 팝업 (PopUpForm, 100%)", "function", "PopUpForm@@@" + name + "_popup.swf", {}},
    };
    popups.watches = {{"goPageLink_QORV:", "pageLink"}, {"otherBook_QORV:", "otherBook"}};
    book.pages.push_back(popups);
    return book;
}

bookbuilder::Book popupBook() {
    bookbuilder::Book book;
    book.width = 640;
    book.height = 420;
    book.background = swf::Color::rgb(0xFFF4E0);
    book.firstFrameScript.append(bookbuilder::echoCallback("onRecordComplete", "recordPath", 1));
    bookbuilder::Page page;
    page.tab = "팝업";
    page.heading = "팝업 창의 책";
    page.commands = {
        {"5쪽을 보고 있음", "QORV", "function_current_page@@@5", {}},
        {"다른 책으로 (reload_flash)", "QORV", "function_reload_flash@@@other.swf", {}},
        {"문서 저장 (function_copyfile)", "QORV", "function_copyfile@@@docs/guide.pdf", {}},
        {"녹음 정지", "QORV", "function_recording_stop", {}},
        {"닫기 (function_close)", "QORV", "function_close", {}},
    };
    page.watches = {{"첫 페이지:", "BOOKLOAD_FIRSTPAGE"}, {"녹음 파일:", "recordPath"}};
    book.pages.push_back(page);
    return book;
}

// A one-page PDF, written out by hand so that the demo needs no tool to make it.
std::string samplePdf() {
    const std::string content = "BT /F1 24 Tf 72 720 Td (QORV demo document) Tj ET";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << /Font << /F1 5 0 "
        "R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// A 4 x 4 24-bit BMP standing in for a page image.
std::string sampleBmp() {
    std::string bmp = "BM";
    auto u32 = [&bmp](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto u16 = [&bmp](std::uint16_t v) {
        bmp += static_cast<char>(v & 0xFF);
        bmp += static_cast<char>(v >> 8);
    };
    u32(54 + 48);
    u32(0);
    u32(54);
    u32(40);
    u32(4);
    u32(4);
    u16(1);
    u16(24);
    u32(0);
    u32(48);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int i = 0; i < 16; ++i) {
        bmp += std::string("\xC4\x72\x44", 3);
    }
    return bmp;
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
        swf::SwfWriter::writeFile(folder / (name + ".swf"), bookbuilder::build(demoBook(name)));
        swf::SwfWriter::writeFile(folder / (name + "_popup.swf"), bookbuilder::build(popupBook()));
        writeText(folder / "docs" / "guide.pdf", samplePdf());
        writeText(folder / "docs" / "readme.txt", "QORV demo book: a text file to copy out.\r\n");
        writeText(folder / (name + "_Page_img") / "contents" / "page1.bmp", sampleBmp());
        // The title is plain ASCII so that the file reads the same in any code page.
        writeText(folder / (name + "_Page_img") / "Page_var.txt",
                  "&title=QORV Demo Book %26 Samples&\r\n&width=1000&\r\n&height=700&\r\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
