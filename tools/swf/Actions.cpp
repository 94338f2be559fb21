#include "tools/swf/Actions.h"

#include "tools/swf/BitWriter.h"

#include <bit>
#include <stdexcept>
#include <string>

namespace swf {

namespace {

constexpr std::size_t kMaxPayload = 0xFFFF;

std::string level(int n) {
    if (n < 0) {
        throw std::invalid_argument("a level number cannot be negative");
    }
    return "_level" + std::to_string(n);
}

void pushValue(BitWriter& w, const Value& value) {
    struct Visitor {
        BitWriter& w;
        void operator()(const std::string& s) {
            w.u8(0);
            w.string(s);
        }
        void operator()(std::int32_t i) {
            w.u8(7);
            w.u32(static_cast<std::uint32_t>(i));
        }
        void operator()(double d) {
            // The two 32-bit halves are stored high half first, each little-endian.
            const auto raw = std::bit_cast<std::uint64_t>(d);
            w.u8(6);
            w.u32(static_cast<std::uint32_t>(raw >> 32));
            w.u32(static_cast<std::uint32_t>(raw));
        }
        void operator()(bool b) {
            w.u8(5);
            w.u8(b ? 1 : 0);
        }
        void operator()(Null) { w.u8(2); }
        void operator()(Undefined) { w.u8(3); }
        void operator()(Register r) {
            w.u8(4);
            w.u8(r.index);
        }
        void operator()(Constant c) {
            if (c.index < 256) {
                w.u8(8);
                w.u8(static_cast<std::uint8_t>(c.index));
            } else {
                w.u8(9);
                w.u16(c.index);
            }
        }
    };
    std::visit(Visitor{w}, value.variant());
}

} // namespace

std::uint8_t Function2::preloadCount() const {
    return static_cast<std::uint8_t>(preloadThis + preloadArguments + preloadSuper + preloadRoot +
                                     preloadParent + preloadGlobal);
}

std::uint8_t Function2::paramRegister(std::size_t param) const {
    const std::size_t reg = 1 + preloadCount() + param;
    if (param >= params.size() || reg > 255) {
        throw std::out_of_range("no such parameter register");
    }
    return static_cast<std::uint8_t>(reg);
}

std::uint8_t Function2::localRegister(std::size_t local) const {
    const std::size_t reg = 1 + preloadCount() + params.size() + local;
    if (local >= localRegisters || reg > 255) {
        throw std::out_of_range("no such local register");
    }
    return static_cast<std::uint8_t>(reg);
}

std::uint8_t Function2::registerCount() const {
    const std::size_t count = 1 + preloadCount() + params.size() + localRegisters;
    if (count > 255) {
        throw std::out_of_range("a function has at most 255 registers");
    }
    return static_cast<std::uint8_t>(count);
}

Label Actions::newLabel() {
    labels_.push_back(kUnbound);
    return Label{labels_.size() - 1};
}

Actions& Actions::bind(Label label) {
    if (label.id >= labels_.size()) {
        throw std::invalid_argument("label of another action list");
    }
    if (labels_[label.id] != kUnbound) {
        throw std::logic_error("label placed twice");
    }
    labels_[label.id] = code_.size();
    return *this;
}

Actions& Actions::op(std::uint8_t code) {
    if (code >= 0x80) {
        return op(code, {});
    }
    code_.push_back(code);
    return *this;
}

Actions& Actions::op(std::uint8_t code, const std::vector<std::uint8_t>& payload) {
    if (code < 0x80) {
        if (!payload.empty()) {
            throw std::invalid_argument("actions below 0x80 carry no data");
        }
        code_.push_back(code);
        return *this;
    }
    if (payload.size() > kMaxPayload) {
        throw std::length_error("action data over 65535 bytes");
    }
    BitWriter w;
    w.u8(code);
    w.u16(static_cast<std::uint16_t>(payload.size()));
    w.bytes(payload);
    code_.insert(code_.end(), w.data().begin(), w.data().end());
    return *this;
}

Actions& Actions::push(std::initializer_list<Value> values) {
    BitWriter w;
    for (const Value& v : values) {
        pushValue(w, v);
    }
    return op(0x96, w.data());
}

Actions& Actions::constantPool(const std::vector<std::string>& constants) {
    if (constants.size() > 0xFFFF) {
        throw std::length_error("a constant pool holds at most 65535 strings");
    }
    BitWriter w;
    w.u16(static_cast<std::uint16_t>(constants.size()));
    for (const std::string& c : constants) {
        w.string(c);
    }
    return op(0x88, w.data());
}

Actions& Actions::storeRegister(std::uint8_t reg) {
    return op(0x87, {reg});
}

Actions& Actions::gotoFrame(std::uint16_t frame) {
    BitWriter w;
    w.u16(frame);
    return op(0x81, w.data());
}

Actions& Actions::gotoLabel(std::string_view label) {
    BitWriter w;
    w.string(label);
    return op(0x8C, w.data());
}

Actions& Actions::getUrl(std::string_view url, std::string_view target) {
    BitWriter w;
    w.string(url);
    w.string(target);
    return op(0x83, w.data());
}

Actions& Actions::getUrl2(SendVars method, bool loadTarget, bool loadVariables) {
    // Players read the byte as: load variables 0x80, load target 0x40, the send method in the low two bits
    // (the published field order reads the other way round, and movies made by it misbehave).
    const auto flags = static_cast<std::uint8_t>((loadVariables ? 0x80 : 0) | (loadTarget ? 0x40 : 0) |
                                                 (static_cast<std::uint8_t>(method) & 0x03));
    return op(0x9A, {flags});
}

Actions& Actions::branch(std::uint8_t code, Label target) {
    if (target.id >= labels_.size()) {
        throw std::invalid_argument("label of another action list");
    }
    op(code, {0, 0});
    fixups_.push_back({code_.size() - 2, code_.size(), target.id});
    return *this;
}

Actions& Actions::jump(Label target) {
    return branch(0x99, target);
}

Actions& Actions::if_(Label target) {
    return branch(0x9D, target);
}

Actions& Actions::function(std::uint8_t code, const std::vector<std::uint8_t>& header, const Actions& body) {
    const std::vector<std::uint8_t> code_bytes = body.bytes();
    if (code_bytes.size() > 0xFFFF) {
        throw std::length_error("a function body over 65535 bytes");
    }
    BitWriter w;
    w.bytes(header);
    w.u16(static_cast<std::uint16_t>(code_bytes.size()));
    op(code, w.data());
    code_.insert(code_.end(), code_bytes.begin(), code_bytes.end());
    return *this;
}

Actions& Actions::defineFunction(std::string_view name, const std::vector<std::string>& params,
                                 const Actions& body) {
    if (params.size() > 0xFFFF) {
        throw std::length_error("too many parameters");
    }
    BitWriter w;
    w.string(name);
    w.u16(static_cast<std::uint16_t>(params.size()));
    for (const std::string& p : params) {
        w.string(p);
    }
    return function(0x9B, w.data(), body);
}

Actions& Actions::defineFunction2(const Function2& f, const Actions& body) {
    if ((f.preloadThis && f.suppressThis) || (f.preloadArguments && f.suppressArguments) ||
        (f.preloadSuper && f.suppressSuper)) {
        throw std::invalid_argument("a value cannot be both preloaded and suppressed");
    }
    if (f.params.size() > 0xFFFF) {
        throw std::length_error("too many parameters");
    }
    BitWriter w;
    w.string(f.name);
    w.u16(static_cast<std::uint16_t>(f.params.size()));
    w.u8(f.registerCount());
    for (bool flag : {f.preloadParent, f.preloadRoot, f.suppressSuper, f.preloadSuper, f.suppressArguments,
                      f.preloadArguments, f.suppressThis, f.preloadThis}) {
        w.ub(1, flag);
    }
    w.ub(7, 0);
    w.ub(1, f.preloadGlobal);
    for (std::size_t i = 0; i < f.params.size(); ++i) {
        w.u8(f.paramRegister(i));
        w.string(f.params[i]);
    }
    return function(0x8E, w.data(), body);
}

Actions& Actions::fscommand(std::string_view command, std::string_view args) {
    return getUrl("FSCommand:" + std::string(command), args);
}

Actions& Actions::fscommand(std::string_view command, const Emit& argument) {
    push("FSCommand:" + std::string(command));
    argument(*this);
    return getUrl2();
}

Actions& Actions::addCallback(std::string_view name, const Emit& pushFunction) {
    pushFunction(*this);
    push({Null{}, name, 3, "flash"});
    getVariable();
    push("external").getMember();
    push("ExternalInterface").getMember();
    push("addCallback").callMethod();
    return pop();
}

Actions& Actions::loadMovieNum(std::string_view url, int n) {
    return getUrl(url, level(n));
}

Actions& Actions::loadMovieNum(const Emit& pushUrl, int n) {
    const std::string target = level(n);
    pushUrl(*this);
    push(target);
    return getUrl2();
}

Actions& Actions::append(const Actions& other) {
    const std::vector<std::uint8_t> other_bytes = other.bytes();
    code_.insert(code_.end(), other_bytes.begin(), other_bytes.end());
    return *this;
}

std::vector<std::uint8_t> Actions::bytes() const {
    std::vector<std::uint8_t> out = code_;
    for (const Fixup& f : fixups_) {
        const std::size_t at = labels_[f.label];
        if (at == kUnbound) {
            throw std::logic_error("jump to a label that was never placed");
        }
        const auto offset = static_cast<std::int64_t>(at) - static_cast<std::int64_t>(f.from);
        if (offset < -32768 || offset > 32767) {
            throw std::out_of_range("jump further than 32 KiB");
        }
        const auto raw = static_cast<std::uint16_t>(static_cast<std::int16_t>(offset));
        out[f.offsetAt] = static_cast<std::uint8_t>(raw);
        out[f.offsetAt + 1] = static_cast<std::uint8_t>(raw >> 8);
    }
    return out;
}

} // namespace swf
