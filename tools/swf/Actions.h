#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace swf {

struct Null {};
struct Undefined {};
// A register of the enclosing DefineFunction2 (or of the frame: 0-3).
struct Register {
    std::uint8_t index = 0;
};
// An index into the last ConstantPool.
struct Constant {
    std::uint16_t index = 0;
};

// One value of an ActionPush. Integers are pushed as 32-bit integers, doubles as doubles; strings are
// UTF-8 (movies of version 6 and later read them so).
class Value {
public:
    using Variant =
        std::variant<std::string, std::int32_t, double, bool, Null, Undefined, Register, Constant>;

    Value(const char* text) : v_(std::string(text)) {}
    Value(std::string text) : v_(std::move(text)) {}
    Value(std::string_view text) : v_(std::string(text)) {}
    Value(int number) : v_(std::int32_t{number}) {}
    Value(double number) : v_(number) {}
    Value(bool flag) : v_(flag) {}
    Value(Null) : v_(Null{}) {}
    Value(Undefined) : v_(Undefined{}) {}
    Value(Register r) : v_(r) {}
    Value(Constant c) : v_(c) {}

    const Variant& variant() const { return v_; }

private:
    Variant v_;
};

// A jump target inside one Actions list.
struct Label {
    std::size_t id = 0;
};

// How a DefineFunction2 sets up its registers. Preloaded values take the first registers in the fixed
// order this, arguments, super, _root, _parent, _global (only those preloaded), the parameters the
// registers after them, and localRegisters more follow for the body's own use.
struct Function2 {
    std::string name{}; // empty: an anonymous function, left on the stack
    std::vector<std::string> params{};
    std::uint8_t localRegisters = 0;
    bool preloadThis = false;
    bool preloadArguments = false;
    bool preloadSuper = false;
    bool preloadRoot = false;
    bool preloadParent = false;
    bool preloadGlobal = false;
    // What the body does not use need not be created; these are what the authoring tool sets by default.
    bool suppressThis = true;
    bool suppressArguments = true;
    bool suppressSuper = true;

    std::uint8_t preloadCount() const;
    std::uint8_t paramRegister(std::size_t param) const;
    std::uint8_t localRegister(std::size_t local) const;
    std::uint8_t registerCount() const;
};

enum class SendVars : std::uint8_t { None = 0, Get = 1, Post = 2 };

// An assembler for frame and button scripts (the ActionScript 2 byte code). Calls append one action
// each and return *this so that short scripts read as one chain. Jumps name labels; their offsets are
// computed when the code is taken with bytes(). Encoding limits (an action over 64 KiB, a jump further
// than 32 KiB, a label never placed or placed twice) throw instead of producing a broken movie.
class Actions {
public:
    // Emits code into the list it is given; used by the helpers that wrap an expression.
    using Emit = std::function<void(Actions&)>;

    Label newLabel();
    Actions& bind(Label label);

    Actions& push(std::initializer_list<Value> values);
    Actions& push(const Value& value) { return push({value}); }
    Actions& constantPool(const std::vector<std::string>& constants);

    Actions& getVariable() { return op(0x1C); }
    Actions& setVariable() { return op(0x1D); }
    Actions& getMember() { return op(0x4E); }
    Actions& setMember() { return op(0x4F); }
    Actions& callFunction() { return op(0x3D); }
    Actions& callMethod() { return op(0x52); }
    Actions& newObject() { return op(0x40); }
    Actions& initObject() { return op(0x43); }
    Actions& initArray() { return op(0x42); }
    Actions& defineLocal() { return op(0x3C); }
    Actions& return_() { return op(0x3E); }
    Actions& pop() { return op(0x17); }
    Actions& pushDuplicate() { return op(0x4C); }
    Actions& stackSwap() { return op(0x4D); }
    Actions& add2() { return op(0x47); }
    Actions& subtract() { return op(0x0B); }
    Actions& multiply() { return op(0x0C); }
    Actions& divide() { return op(0x0D); }
    Actions& stringAdd() { return op(0x21); }
    Actions& equals2() { return op(0x49); }
    Actions& strictEquals() { return op(0x66); }
    Actions& less2() { return op(0x48); }
    Actions& greater() { return op(0x67); }
    Actions& not_() { return op(0x12); }
    Actions& increment() { return op(0x50); }
    Actions& decrement() { return op(0x51); }
    Actions& toString() { return op(0x4B); }
    Actions& toNumber() { return op(0x4A); }
    Actions& trace() { return op(0x26); }
    Actions& getTime() { return op(0x34); }
    Actions& typeOf() { return op(0x44); }
    Actions& stop() { return op(0x07); }
    Actions& play() { return op(0x06); }
    Actions& nextFrame() { return op(0x04); }
    Actions& prevFrame() { return op(0x05); }

    Actions& storeRegister(std::uint8_t reg);
    // frame is 0-based, as stored.
    Actions& gotoFrame(std::uint16_t frame);
    Actions& gotoLabel(std::string_view label);
    Actions& getUrl(std::string_view url, std::string_view target);
    // Pops the target, then the URL.
    Actions& getUrl2(SendVars method = SendVars::None, bool loadTarget = false, bool loadVariables = false);
    Actions& jump(Label target);
    // Pops a value and jumps when it is true.
    Actions& if_(Label target);

    // Defines a function whose body is body (assembled separately, so it has labels of its own).
    Actions& defineFunction(std::string_view name, const std::vector<std::string>& params,
                            const Actions& body);
    Actions& defineFunction2(const Function2& function, const Actions& body);

    // fscommand(command, "args") with constant arguments.
    Actions& fscommand(std::string_view command, std::string_view args);
    // fscommand(command, expression): argument leaves the expression's value on the stack.
    Actions& fscommand(std::string_view command, const Emit& argument);
    // flash.external.ExternalInterface.addCallback(name, null, fn), result dropped; pushFunction leaves the
    // function on the stack (an anonymous defineFunction2, or a variable read).
    Actions& addCallback(std::string_view name, const Emit& pushFunction);
    Actions& loadMovieNum(std::string_view url, int level);
    Actions& loadMovieNum(const Emit& pushUrl, int level);

    // Any action: code below 0x80 has no payload.
    Actions& op(std::uint8_t code);
    Actions& op(std::uint8_t code, const std::vector<std::uint8_t>& payload);
    // Appends finished code (its jumps are relative, so they stay valid).
    Actions& append(const Actions& other);

    // The assembled code, without the end-of-actions byte that DoAction and buttons add.
    std::vector<std::uint8_t> bytes() const;

private:
    struct Fixup {
        std::size_t offsetAt; // where the SI16 goes
        std::size_t from;     // the address jumps count from: the end of the jump action
        std::size_t label;
    };
    static constexpr std::size_t kUnbound = static_cast<std::size_t>(-1);

    Actions& branch(std::uint8_t code, Label target);
    Actions& function(std::uint8_t code, const std::vector<std::uint8_t>& header, const Actions& body);

    std::vector<std::uint8_t> code_;
    std::vector<std::size_t> labels_;
    std::vector<Fixup> fixups_;
};

} // namespace swf
