// Writes action blocks (the bytecode of DoAction, clip and button actions)
// for test and benchmark movies: a small assembler with labels for jumps.
//
//   ActionWriter a;
//   a.Push("n").Push(0.0).Op(action::SetVariable);
//   const auto top = a.NewLabel();
//   a.Bind(top) ... a.Push("n").Op(action::GetVariable).Push(10.0).Op(action::Less2)
//    .If(body) ...
//   movie.Tag(12 /* DoAction */, a.Finish());
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace swfwriter {

// The action codes the writer's users need, by their names in the format.
namespace action {
constexpr std::uint8_t NextFrame = 0x04;
constexpr std::uint8_t PrevFrame = 0x05;
constexpr std::uint8_t Play = 0x06;
constexpr std::uint8_t Stop = 0x07;
constexpr std::uint8_t Subtract = 0x0B;
constexpr std::uint8_t Multiply = 0x0C;
constexpr std::uint8_t Divide = 0x0D;
constexpr std::uint8_t Not = 0x12;
constexpr std::uint8_t Pop = 0x17;
constexpr std::uint8_t GetVariable = 0x1C;
constexpr std::uint8_t SetVariable = 0x1D;
constexpr std::uint8_t Trace = 0x26;
constexpr std::uint8_t DefineLocal = 0x3C;
constexpr std::uint8_t CallFunction = 0x3D;
constexpr std::uint8_t Return = 0x3E;
constexpr std::uint8_t Modulo = 0x3F;
constexpr std::uint8_t NewObject = 0x40;
constexpr std::uint8_t InitArray = 0x42;
constexpr std::uint8_t InitObject = 0x43;
constexpr std::uint8_t Add2 = 0x47;
constexpr std::uint8_t Less2 = 0x48;
constexpr std::uint8_t Equals2 = 0x49;
constexpr std::uint8_t PushDuplicate = 0x4C;
constexpr std::uint8_t GetMember = 0x4E;
constexpr std::uint8_t SetMember = 0x4F;
constexpr std::uint8_t Increment = 0x50;
constexpr std::uint8_t Decrement = 0x51;
constexpr std::uint8_t CallMethod = 0x52;
} // namespace action

class ActionWriter {
public:
    using Label = std::size_t;

    // Push one value each.
    ActionWriter& Push(std::string_view text);
    // (Without this a literal would push as a boolean.)
    ActionWriter& Push(const char* text) { return Push(std::string_view(text)); }
    ActionWriter& Push(const std::string& text) { return Push(std::string_view(text)); }
    ActionWriter& Push(double number);
    ActionWriter& Push(bool value);
    ActionWriter& PushUndefined();
    ActionWriter& PushNull();
    // An action without data (see action::).
    ActionWriter& Op(std::uint8_t code);
    // Any action with the data given (the writer adds the length).
    ActionWriter& Action(std::uint8_t code, const std::vector<std::uint8_t>& data);
    // GotoFrame with a 0-based frame; GetURL with its two strings.
    ActionWriter& GotoFrame(std::uint16_t frame);
    ActionWriter& GetUrl(std::string_view url, std::string_view target);

    Label NewLabel();
    // The next action written is the label's.
    ActionWriter& Bind(Label label);
    ActionWriter& Jump(Label label);
    // Jumps when the value popped is true.
    ActionWriter& If(Label label);

    // DefineFunction: name (empty for a function pushed as a value),
    // parameters, and the body (written without its End).
    ActionWriter& DefineFunction(std::string_view name, const std::vector<std::string>& parameters,
                                 const ActionWriter& body);

    // The block with its End action; labels are resolved here.
    std::vector<std::uint8_t> Finish() const;
    // The actions so far, without End, labels resolved.
    std::vector<std::uint8_t> Body() const;

private:
    void Record(std::uint8_t code, const std::vector<std::uint8_t>& data);
    void Branch(std::uint8_t code, Label label);

    struct Fixup {
        std::size_t at = 0;   // offset of the 16-bit field
        std::size_t from = 0; // offset the jump counts from
        Label label = 0;
    };
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> labels; // label to offset; SIZE_MAX until bound
    std::vector<Fixup> fixups;
};

} // namespace swfwriter
