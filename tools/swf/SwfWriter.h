#pragma once

#include "tools/swf/Actions.h"
#include "tools/swf/SwfTypes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace swf {

// Tag codes this writer emits; tag() takes any other.
enum TagCode : std::uint16_t {
    kTagEnd = 0,
    kTagShowFrame = 1,
    kTagDefineShape = 2,
    kTagSetBackgroundColor = 9,
    kTagDoAction = 12,
    kTagDefineShape2 = 22,
    kTagPlaceObject2 = 26,
    kTagRemoveObject2 = 28,
    kTagDefineShape3 = 32,
    kTagDefineButton2 = 34,
    kTagDefineEditText = 37,
    kTagFrameLabel = 43,
    kTagDefineFont2 = 48,
    kTagFileAttributes = 69,
};

struct Stage {
    int width = 800; // pixels
    int height = 600;
    double frameRate = 24.0;
    std::uint8_t version = 8;
    bool useNetwork = false; // only written from version 8 on, where the FileAttributes tag exists
};

struct FilledRect {
    Rect rect{};
    Color color{};
};

// A font the player supplies from the system ("_sans", "_serif", "_typewriter" or a family name).
struct DeviceFont {
    std::string name = "_sans";
    bool bold = false;
    bool italic = false;
    // 0 none, 1 Latin, 2 Japanese, 3 Korean, 4 simplified Chinese, 5 traditional Chinese.
    std::uint8_t language = 0;
};

struct EditText {
    Rect bounds{};
    std::uint16_t fontId = 0;       // 0: no font
    std::uint16_t fontHeight = 240; // twips
    std::optional<Color> color{};
    std::optional<std::string> text{}; // UTF-8
    std::string variable{};            // the variable the field shows; may be empty
    bool readOnly = false;
    bool noSelect = false;
    bool multiline = false;
    bool wordWrap = false;
    bool border = false;
    bool html = false;
    bool password = false;
    bool autoSize = false;
    std::optional<std::uint16_t> maxLength{};
};

// Button states a character shows in, combinable.
enum ButtonState : std::uint8_t {
    kButtonUp = 0x01,
    kButtonOver = 0x02,
    kButtonDown = 0x04,
    kButtonHit = 0x08,
    kButtonAllStates = 0x0F,
};

// Button events, combinable; kOnRelease is on(release).
enum ButtonCondition : std::uint16_t {
    kOnIdleToOverUp = 0x0001,
    kOnOverUpToIdle = 0x0002,
    kOnOverUpToOverDown = 0x0004,
    kOnRelease = 0x0008, // OverDownToOverUp
    kOnOverDownToOutDown = 0x0010,
    kOnOutDownToOverDown = 0x0020,
    kOnOutDownToIdle = 0x0040,
    kOnIdleToOverDown = 0x0080,
    kOnOverDownToIdle = 0x0100,
};

struct ButtonRecord {
    std::uint16_t characterId = 0;
    std::uint16_t depth = 1;
    std::uint8_t states = kButtonAllStates;
    Matrix matrix{};
};

struct ButtonAction {
    std::uint16_t conditions = kOnRelease;
    Actions actions{};
};

struct Button {
    std::vector<ButtonRecord> records{};
    std::vector<ButtonAction> actions{};
    bool trackAsMenu = false;
};

struct Placement {
    std::uint16_t depth = 1;
    std::uint16_t characterId = 0;
    std::optional<Matrix> matrix{};
    std::string name{}; // instance name; empty: none
};

// Writes an uncompressed movie ("FWS") tag by tag. Characters get ids from 1 on in definition order.
// finish() adds the End tag and fills in the file length and frame count; a frame whose tags were not
// closed with showFrame() is closed then, so that its scripts and objects are not silently dropped.
// Anything the format cannot hold (sizes, ids, NUL inside strings) throws instead of writing a movie that
// players misread.
class SwfWriter {
public:
    explicit SwfWriter(const Stage& stage = {});

    void setBackgroundColor(const Color& color);
    void frameLabel(std::string_view label);
    void showFrame();
    void doAction(const Actions& actions);

    // One shape of solid rectangles; the first rectangles are drawn first.
    std::uint16_t defineShape(const std::vector<FilledRect>& rects);
    std::uint16_t defineDeviceFont(const DeviceFont& font);
    std::uint16_t defineEditText(const EditText& text);
    std::uint16_t defineButton(const Button& button);

    void placeObject(const Placement& placement);
    // Changes the matrix of what is already at depth.
    void moveObject(std::uint16_t depth, const Matrix& matrix);
    void removeObject(std::uint16_t depth);

    // Any tag; longForm forces the 6-byte header, which some tags need whatever their length.
    void tag(std::uint16_t code, const std::vector<std::uint8_t>& body, bool longForm = false);

    std::uint16_t frameCount() const { return frames_; }
    std::vector<std::uint8_t> finish();
    // Writes the finished movie next to path first and renames it, so a full disk never leaves half a file.
    void save(const std::filesystem::path& path);
    static void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data);

private:
    std::uint16_t nextCharacterId();
    void requireOpen() const;

    std::vector<std::uint8_t> out_;
    std::size_t frameCountAt_ = 0;
    std::uint16_t frames_ = 0;
    std::uint16_t lastId_ = 0;
    bool frameOpen_ = false;
    bool finished_ = false;
};

} // namespace swf
