#include "swfwriter/ActionWriter.h"

#include <bit>
#include <cstdint>
#include <stdexcept>

namespace swfwriter {

namespace {

constexpr std::uint8_t pushCode = 0x96;
constexpr std::uint8_t jumpCode = 0x99;
constexpr std::uint8_t ifCode = 0x9D;
constexpr std::uint8_t gotoFrameCode = 0x81;
constexpr std::uint8_t getUrlCode = 0x83;
constexpr std::uint8_t defineFunctionCode = 0x9B;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutString(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

} // namespace

void ActionWriter::Record(std::uint8_t code, const std::vector<std::uint8_t>& data) {
    bytes.push_back(code);
    if (code >= 0x80) {
        PutU16(bytes, static_cast<std::uint16_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
}

ActionWriter& ActionWriter::Action(std::uint8_t code, const std::vector<std::uint8_t>& data) {
    Record(code, data);
    return *this;
}

ActionWriter& ActionWriter::Push(std::string_view text) {
    std::vector<std::uint8_t> data{0};
    PutString(data, text);
    Record(pushCode, data);
    return *this;
}

ActionWriter& ActionWriter::Push(double number) {
    // Push stores a double as two little-endian 32-bit halves, high first.
    const auto bits = std::bit_cast<std::uint64_t>(number);
    std::vector<std::uint8_t> data{6};
    for (int half : {1, 0}) {
        const auto word = static_cast<std::uint32_t>(bits >> (32 * half));
        for (int i = 0; i < 4; ++i) {
            data.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
        }
    }
    Record(pushCode, data);
    return *this;
}

ActionWriter& ActionWriter::Push(bool value) {
    Record(pushCode, {5, static_cast<std::uint8_t>(value ? 1 : 0)});
    return *this;
}

ActionWriter& ActionWriter::PushUndefined() {
    Record(pushCode, {3});
    return *this;
}

ActionWriter& ActionWriter::PushNull() {
    Record(pushCode, {2});
    return *this;
}

ActionWriter& ActionWriter::Op(std::uint8_t code) {
    if (code >= 0x80) {
        throw std::invalid_argument("an action with data needs its own writer call");
    }
    Record(code, {});
    return *this;
}

ActionWriter& ActionWriter::GotoFrame(std::uint16_t frame) {
    std::vector<std::uint8_t> data;
    PutU16(data, frame);
    Record(gotoFrameCode, data);
    return *this;
}

ActionWriter& ActionWriter::GetUrl(std::string_view url, std::string_view target) {
    std::vector<std::uint8_t> data;
    PutString(data, url);
    PutString(data, target);
    Record(getUrlCode, data);
    return *this;
}

ActionWriter::Label ActionWriter::NewLabel() {
    labels.push_back(SIZE_MAX);
    return labels.size() - 1;
}

ActionWriter& ActionWriter::Bind(Label label) {
    labels.at(label) = bytes.size();
    return *this;
}

void ActionWriter::Branch(std::uint8_t code, Label label) {
    Record(code, {0, 0});
    fixups.push_back({bytes.size() - 2, bytes.size(), label});
}

ActionWriter& ActionWriter::Jump(Label label) {
    Branch(jumpCode, label);
    return *this;
}

ActionWriter& ActionWriter::If(Label label) {
    Branch(ifCode, label);
    return *this;
}

ActionWriter& ActionWriter::DefineFunction(std::string_view name,
                                           const std::vector<std::string>& parameters,
                                           const ActionWriter& body) {
    const std::vector<std::uint8_t> code = body.Body();
    std::vector<std::uint8_t> data;
    PutString(data, name);
    PutU16(data, static_cast<std::uint16_t>(parameters.size()));
    for (const std::string& p : parameters) {
        PutString(data, p);
    }
    PutU16(data, static_cast<std::uint16_t>(code.size()));
    Record(defineFunctionCode, data);
    bytes.insert(bytes.end(), code.begin(), code.end());
    return *this;
}

std::vector<std::uint8_t> ActionWriter::Body() const {
    std::vector<std::uint8_t> out = bytes;
    for (const Fixup& f : fixups) {
        const std::size_t target = labels.at(f.label);
        if (target == SIZE_MAX) {
            throw std::logic_error("a jump to a label never bound");
        }
        const auto offset = static_cast<std::int16_t>(std::int64_t(target) - std::int64_t(f.from));
        out[f.at] = static_cast<std::uint8_t>(std::uint16_t(offset) & 0xFF);
        out[f.at + 1] = static_cast<std::uint8_t>(std::uint16_t(offset) >> 8);
    }
    return out;
}

std::vector<std::uint8_t> ActionWriter::Finish() const {
    std::vector<std::uint8_t> out = Body();
    out.push_back(0);
    return out;
}

} // namespace swfwriter
