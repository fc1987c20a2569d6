#include "TraceRunner.h"

#include <cmath>
#include <cstdio>

#include "swf/base/ByteReader.h"
#include "swf/runtime/ScriptDepths.h"

namespace tracetest {

namespace {

using Value = TraceRunner::Value;
using Type = Value::Type;

Value Null() {
    Value v;
    v.type = Type::Null;
    return v;
}

Value Number(double n) {
    Value v;
    v.type = Type::Number;
    v.number = n;
    return v;
}

Value String(std::string s) {
    Value v;
    v.type = Type::String;
    v.string = std::move(s);
    return v;
}

Value Boolean(bool b) {
    Value v;
    v.type = Type::Boolean;
    v.boolean = b;
    return v;
}

Value ClipValue(const swf::DisplayObject* object) {
    Value v;
    if (object != nullptr) {
        v.type = Type::Clip;
        v.clip = object->Handle();
    }
    return v;
}

double ToNumber(const Value& v) {
    switch (v.type) {
    case Type::Number:
        return v.number;
    case Type::Boolean:
        return v.boolean ? 1 : 0;
    case Type::String: {
        char* end = nullptr;
        const double n = std::strtod(v.string.c_str(), &end);
        return end != v.string.c_str() && *end == 0 ? n : NAN;
    }
    default:
        return NAN;
    }
}

bool Truthy(const Value& v) {
    switch (v.type) {
    case Type::Boolean:
        return v.boolean;
    case Type::Number:
        return v.number != 0 && !std::isnan(v.number);
    case Type::String:
        return !v.string.empty();
    case Type::Clip:
        return true;
    default:
        return false;
    }
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

TraceRunner::TraceRunner(swf::MoviePlayer& player) : player(player) {
    player.SetScriptHost(this);
}

TraceRunner::~TraceRunner() {
    player.SetScriptHost(nullptr);
}

bool TraceRunner::Handles(const swf::DisplayObject& object, swf::ClipEvent event) {
    return object.HasClipAction(event);
}

void TraceRunner::Play(int frames) {
    player.SetComplete(true);
    player.FramesAdded();
    for (int i = 0; i < frames && !quit && !beyond; ++i) {
        player.Tick();
    }
}

void TraceRunner::Run(const swf::QueuedAction& action) {
    if (quit || beyond) {
        return;
    }
    switch (action.kind) {
    case swf::ActionKind::FrameActions:
        RunActions(action.tag->body, action.target);
        break;
    case swf::ActionKind::InitActions:
        RunActions(std::span(action.tag->body).subspan(2), action.target);
        break;
    case swf::ActionKind::ClipEvent:
        if (const swf::DisplayObject* object = player.Find(action.target)) {
            const auto records = object->ClipActions(); // copied: the object may go
            for (const auto& record : records) {
                if (record.Handles(action.event)) {
                    RunActions(record.actions, action.target);
                }
            }
        }
        break;
    case swf::ActionKind::ButtonActions:
        RunActions(action.actions, action.target);
        break;
    }
}

std::string TraceRunner::Path(const swf::DisplayObject& object) const {
    const swf::MovieClip* parent = object.ParentClip();
    return parent == nullptr ? "_level0" : Path(*parent) + "." + object.Name();
}

std::string TraceRunner::Text(const Value& v) const {
    switch (v.type) {
    case Type::Undefined:
        return player.GetMovie().header.version >= 7 ? "undefined" : "";
    case Type::Null:
        return "null";
    case Type::Boolean:
        return v.boolean ? "true" : "false";
    case Type::Number: {
        if (std::isnan(v.number)) {
            return "NaN";
        }
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", v.number);
        return text;
    }
    case Type::String:
        return v.string;
    case Type::Clip: {
        const swf::DisplayObject* object = player.Find(v.clip);
        return object != nullptr ? Path(*object) : "";
    }
    }
    return "";
}

void TraceRunner::RunActions(std::span<const std::uint8_t> code, swf::DisplayHandle self) {
    std::vector<Value> stack;
    std::vector<std::string> pool;
    const auto pop = [&] {
        Value v;
        if (!stack.empty()) {
            v = stack.back();
            stack.pop_back();
        }
        return v;
    };
    const auto selfClip = [&]() -> swf::MovieClip* {
        swf::DisplayObject* object = player.Find(self);
        return object != nullptr && object->Kind() == swf::DisplayKind::MovieClip
                   ? static_cast<swf::MovieClip*>(object)
                   : nullptr;
    };
    const auto clipOf = [&](const Value& v) -> swf::MovieClip* {
        swf::DisplayObject* object = v.type == Type::Clip ? player.Find(v.clip) : nullptr;
        return object != nullptr && object->Kind() == swf::DisplayKind::MovieClip
                   ? static_cast<swf::MovieClip*>(object)
                   : nullptr;
    };
    const bool caseSensitive = player.GetMovie().header.version >= 7;
    const auto member = [&](swf::MovieClip* clip, const std::string& name) {
        if (clip == nullptr) {
            return Value{};
        }
        if (SameText(name, "_currentframe")) {
            return Number(double(clip->CurrentFrame().value_or(0) + 1));
        }
        if (SameText(name, "_totalframes")) {
            return Number(double(clip->TotalFrames()));
        }
        if (const auto found = variables.find({clip->Handle().id, name});
            found != variables.end()) {
            return found->second;
        }
        return ClipValue(clip->FindChild(name, caseSensitive));
    };
    std::size_t pc = 0;
    for (int steps = 0; pc < code.size() && steps < 100000 && !quit && !beyond; ++steps) {
        const std::uint8_t op = code[pc++];
        std::span<const std::uint8_t> payload;
        if (op >= 0x80) {
            if (pc + 2 > code.size()) {
                return;
            }
            const std::size_t length = code[pc] | (code[pc + 1] << 8);
            pc += 2;
            if (pc + length > code.size()) {
                return;
            }
            payload = code.subspan(pc, length);
            pc += length;
        }
        swf::ByteReader in(payload);
        switch (op) {
        case 0x00:
            return;
        case 0x88: { // constant pool
            pool.clear();
            for (unsigned n = in.U16(); n > 0 && in.Ok(); --n) {
                pool.push_back(in.String());
            }
            break;
        }
        case 0x96: // push
            while (in.Ok() && !in.AtEnd()) {
                switch (in.U8()) {
                case 0:
                    stack.push_back(String(in.String()));
                    break;
                case 1:
                    stack.push_back(Number(in.Float()));
                    break;
                case 2:
                    stack.push_back(Null());
                    break;
                case 3:
                    stack.push_back(Value{});
                    break;
                case 5:
                    stack.push_back(Boolean(in.U8() != 0));
                    break;
                case 6: {
                    const std::uint64_t high = in.U32();
                    const std::uint64_t low = in.U32();
                    stack.push_back(Number(std::bit_cast<double>((high << 32) | low)));
                    break;
                }
                case 7:
                    stack.push_back(Number(in.S32()));
                    break;
                case 8: {
                    const unsigned index = in.U8();
                    stack.push_back(String(index < pool.size() ? pool[index] : ""));
                    break;
                }
                case 9: {
                    const unsigned index = in.U16();
                    stack.push_back(String(index < pool.size() ? pool[index] : ""));
                    break;
                }
                default:
                    beyond = "push of a register";
                    return;
                }
            }
            break;
        case 0x17: // pop
            pop();
            break;
        case 0x26: { // trace: undefined reads "undefined" here in every version
            const Value value = pop();
            lines.push_back(value.type == Type::Undefined ? "undefined" : Text(value));
            break;
        }
        case 0x1C: { // getVariable
            const std::string name = Text(pop());
            if (name == "this") {
                stack.push_back(ClipValue(selfClip()));
            } else if (name == "_root" || name == "_level0") {
                stack.push_back(ClipValue(&player.Root()));
            } else {
                stack.push_back(member(selfClip(), name));
            }
            break;
        }
        case 0x1D: { // setVariable
            const Value value = pop();
            const std::string name = Text(pop());
            if (swf::MovieClip* clip = selfClip()) {
                variables[{clip->Handle().id, name}] = value;
            }
            break;
        }
        case 0x4E: { // getMember
            const std::string name = Text(pop());
            stack.push_back(member(clipOf(pop()), name));
            break;
        }
        case 0x22: { // getProperty
            const double index = ToNumber(pop());
            const std::string target = Text(pop());
            if (!target.empty() || (index != 4 && index != 5)) {
                beyond = "getProperty";
                return;
            }
            stack.push_back(member(selfClip(), index == 4 ? "_currentframe" : "_totalframes"));
            break;
        }
        case 0x47: { // add2
            const Value b = pop();
            const Value a = pop();
            if (a.type == Type::String || b.type == Type::String || a.type == Type::Clip ||
                b.type == Type::Clip) {
                stack.push_back(String(Text(a) + Text(b)));
            } else {
                stack.push_back(Number(ToNumber(a) + ToNumber(b)));
            }
            break;
        }
        case 0x67: { // greater
            const double b = ToNumber(pop());
            const double a = ToNumber(pop());
            stack.push_back(Boolean(a > b));
            break;
        }
        case 0x49: { // equals2, for undefined and strings as the movies use it
            const Value b = pop();
            const Value a = pop();
            const bool bothEmpty = (a.type == Type::Undefined || a.type == Type::Null) &&
                                   (b.type == Type::Undefined || b.type == Type::Null);
            stack.push_back(Boolean(bothEmpty || (a.type == b.type && Text(a) == Text(b))));
            break;
        }
        case 0x12: // not
            stack.push_back(Boolean(!Truthy(pop())));
            break;
        case 0x9D: { // if
            const auto offset = static_cast<std::int16_t>(in.U16());
            if (Truthy(pop())) {
                pc = static_cast<std::size_t>(std::int64_t(pc) + offset);
            }
            break;
        }
        case 0x99: { // jump
            const auto offset = static_cast<std::int16_t>(in.U16());
            pc = static_cast<std::size_t>(std::int64_t(pc) + offset);
            break;
        }
        case 0x81: // gotoFrame
            if (swf::MovieClip* clip = selfClip()) {
                clip->GotoFrame(in.U16(), false);
            }
            break;
        case 0x06: // play
            if (swf::MovieClip* clip = selfClip()) {
                clip->Play();
            }
            break;
        case 0x07: // stop
            if (swf::MovieClip* clip = selfClip()) {
                clip->Stop();
            }
            break;
        case 0x04: // nextFrame
            if (swf::MovieClip* clip = selfClip()) {
                clip->NextFrame();
            }
            break;
        case 0x05: // prevFrame
            if (swf::MovieClip* clip = selfClip()) {
                clip->PrevFrame();
            }
            break;
        case 0x83: { // getURL
            const std::string url = in.String();
            quit = SameText(url.substr(0, 14), "FSCommand:quit");
            break;
        }
        case 0x9A: { // getURL2
            pop();
            quit = SameText(Text(pop()).substr(0, 14), "FSCommand:quit");
            break;
        }
        case 0x52: { // callMethod
            const std::string name = Text(pop());
            swf::MovieClip* clip = clipOf(pop());
            const auto count = static_cast<int>(ToNumber(pop()));
            std::vector<Value> args;
            for (int i = 0; i < count; ++i) {
                args.push_back(pop());
            }
            const bool play = name == "gotoAndPlay";
            if ((play || name == "gotoAndStop") && args.size() == 1 &&
                args[0].type == Type::Number) {
                if (clip != nullptr) {
                    clip->GotoFrame(static_cast<std::size_t>(std::max(0.0, args[0].number - 1)),
                                    play);
                }
                stack.push_back(Value{});
                break;
            }
            beyond = "method " + name;
            return;
        }
        case 0x3D: { // callFunction
            const std::string name = Text(pop());
            const auto count = static_cast<int>(ToNumber(pop()));
            std::vector<Value> args;
            for (int i = 0; i < count; ++i) {
                args.push_back(pop());
            }
            if (name == "createEmptyMovieClip" && player.GetMovie().header.version < 6) {
                stack.push_back(Value{}); // not a function before SWF 6
                break;
            }
            if (name == "createEmptyMovieClip" && args.size() == 2 && selfClip() != nullptr) {
                selfClip()->CreateEmptyClip(
                    Text(args[0]), swf::depths::FromScript(std::llround(ToNumber(args[1]))));
                stack.push_back(Value{});
                break;
            }
            beyond = "function " + name;
            return;
        }
        default: {
            char text[32];
            std::snprintf(text, sizeof text, "action 0x%02x", op);
            beyond = text;
            return;
        }
        }
        if (!in.Ok()) {
            beyond = "damaged action";
            return;
        }
    }
}

} // namespace tracetest
