#include "swf/control/MovieControlState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/Json.h"
#include "platform/Painting.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "swf/runtime/StagePlacement.h"
#include "swf/script/builtins/Builtins.h"

namespace swf {

namespace {

enum class Kind { Get, Put, Method };

struct Operation {
    DISPID id;
    Kind kind;
    const char* name;
};

constexpr std::array<Operation, 19> operations{{
    {dispid::MovieUrl, Kind::Put, "SetMovieUrl"},
    {dispid::MovieUrl, Kind::Get, "GetMovieUrl"},
    {dispid::MenuEnabled, Kind::Put, "SetMenuEnabled"},
    {dispid::MenuEnabled, Kind::Get, "GetMenuEnabled"},
    {dispid::QualityName, Kind::Put, "SetQualityName"},
    {dispid::QualityName, Kind::Get, "GetQualityName"},
    {dispid::ReadyState, Kind::Get, "GetReadyState"},
    {dispid::TotalFrames, Kind::Get, "GetTotalFrames"},
    {dispid::FrameNumber, Kind::Get, "GetFrameNumber"},
    {dispid::FrameNumber, Kind::Put, "SetFrameNumber"},
    {dispid::Playing, Kind::Get, "GetPlaying"},
    {dispid::Playing, Kind::Put, "SetPlaying"},
    {dispid::Play, Kind::Method, "PlayMovie"},
    {dispid::Stop, Kind::Method, "StopMovie"},
    {dispid::Rewind, Kind::Method, "RewindMovie"},
    {dispid::ScaleMode, Kind::Get, "GetScaleMode"},
    {dispid::ScaleMode, Kind::Put, "SetScaleMode"},
    {dispid::SetClipProperty, Kind::Method, "SetClipProperty"},
    {dispid::SetClipPropertyNumber, Kind::Method, "SetClipPropertyNumber"},
}};

// The operation a call means. Callers pass method and get together for a
// read, as scripting hosts do; a put is a put only.
const Operation* FindOperation(DISPID id, WORD kind) {
    const auto find = [&](Kind wanted) -> const Operation* {
        for (const Operation& operation : operations) {
            if (operation.id == id && operation.kind == wanted) {
                return &operation;
            }
        }
        return nullptr;
    };
    if (kind & DISPATCH_PROPERTYPUT) {
        return find(Kind::Put);
    }
    const Operation* found = nullptr;
    if (kind & DISPATCH_PROPERTYGET) {
        found = find(Kind::Get);
    }
    if (found == nullptr && (kind & DISPATCH_METHOD)) {
        found = find(Kind::Method);
        if (found == nullptr) {
            found = find(Kind::Get);
        }
    }
    return found;
}

// The root properties are finite by construction; 0 keeps the state
// readable should one not be.
std::string JsonNumber(double value) {
    return std::isfinite(value) ? json::Number(value, 10) : "0";
}

// Rotation as players report it: -180 < degrees <= 180.
double NormaliseDegrees(double degrees) {
    double turned = std::fmod(degrees, 360.0);
    if (turned > 180.0) {
        turned -= 360.0;
    } else if (turned <= -180.0) {
        turned += 360.0;
    }
    return turned;
}

// A script that runs away is stopped within a fraction of a second on the
// device, so that the player's own work goes on between frames.
script::VmLimits ScriptLimits() {
    script::VmLimits limits;
    limits.actionsPerFrame = 1'000'000;
    return limits;
}

// System.capabilities tells the movie of the device's screen.
void DescribeScreen(script::Vm& vm) {
    const HDC screen = GetDC(nullptr);
    const int pixelsPerInch = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    script::builtins::SetSystemScreen(vm, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN),
                                      pixelsPerInch > 0 ? pixelsPerInch : 96);
}

} // namespace

MovieControlState::MovieControlState(FileSystem& files, Fetcher& fetcher, const Clock& clock,
                                     std::function<void()> wake, std::function<void()> redraw,
                                     TraceSink trace)
    : clock(clock), redraw(std::move(redraw)), loader(files, fetcher, std::move(wake)),
      scriptHost(clock, std::move(trace)) {}

MovieControlState::~MovieControlState() {
    // The player and the sound borrow the loader's movie; the scripts, the player.
    audio.Detach();
    scripts.reset();
    player.reset();
}

const char* MovieControlState::OperationName(DISPID id, WORD kind) {
    const Operation* operation = FindOperation(id, kind);
    return operation != nullptr ? operation->name : nullptr;
}

const Movie* MovieControlState::CurrentMovie() const {
    const MovieParser* parser = loader.Parser();
    return parser != nullptr && parser->HeaderRead() ? &parser->GetMovie() : nullptr;
}

HRESULT MovieControlState::Invoke(DISPID id, WORD kind, std::span<const Variant> args,
                                  Variant& result) {
    const Operation* operation = FindOperation(id, kind);
    if (operation == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const std::size_t expected =
        operation->kind == Kind::Put                                           ? 1
        : id == dispid::SetClipProperty || id == dispid::SetClipPropertyNumber ? 3
                                                                               : 0;
    if (args.size() != expected) {
        return DISP_E_BADPARAMCOUNT;
    }
    result = Variant();
    const Variant* value = args.empty() ? nullptr : &args.back();

    switch (operation->kind) {
    case Kind::Get:
        switch (id) {
        case dispid::MovieUrl:
            result = Variant::Text(url);
            return S_OK;
        case dispid::MenuEnabled:
            result = Variant::Bool(menuEnabled);
            return S_OK;
        case dispid::QualityName:
            result = Variant::Text(quality);
            return S_OK;
        case dispid::ReadyState:
            result = Variant::Int(loader.ReadyState());
            return S_OK;
        case dispid::TotalFrames:
            result = Variant::Int(player ? static_cast<LONG>(player->TotalFrames()) : 0);
            return S_OK;
        case dispid::FrameNumber:
            result = Variant::Int(player ? static_cast<LONG>(player->FrameNumber()) : 0);
            return S_OK;
        case dispid::Playing:
            // Nothing plays before a movie is there.
            result = Variant::Bool(player && player->Playing());
            return S_OK;
        case dispid::ScaleMode:
            result = Variant::Int(scaleMode);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    case Kind::Put:
        switch (id) {
        case dispid::MovieUrl: {
            std::u16string newUrl;
            if (!value->ToText(newUrl)) {
                return DISP_E_TYPEMISMATCH;
            }
            // The player borrows the movie the loader is about to replace.
            audio.Detach();
            scripts.reset();
            player.reset();
            frameClock.reset();
            framesSeen = 0;
            playRequested = true;
            url = std::move(newUrl);
            buttonReports.clear();
            buttonReportCount = 0;
            loader.Load(text::ToUtf8(url));
            FollowLoad();
            redraw();
            return S_OK;
        }
        case dispid::MenuEnabled: {
            bool enabled = false;
            if (!value->ToBool(enabled)) {
                return DISP_E_TYPEMISMATCH;
            }
            menuEnabled = enabled;
            return S_OK;
        }
        case dispid::QualityName: {
            std::u16string name;
            if (!value->ToText(name)) {
                return DISP_E_TYPEMISMATCH;
            }
            quality = std::move(name);
            return S_OK;
        }
        case dispid::FrameNumber: {
            LONG frame = 0;
            if (!value->ToInt(frame)) {
                return DISP_E_TYPEMISMATCH;
            }
            // Before the movie is there, there is no frame to go to.
            if (player) {
                player->GotoFrame(frame);
                FollowEvents();
                playRequested = false;
                redraw();
            }
            return S_OK;
        }
        case dispid::Playing: {
            bool play = false;
            if (!value->ToBool(play)) {
                return DISP_E_TYPEMISMATCH;
            }
            playRequested = play;
            if (player) {
                play ? player->Play() : player->Stop();
                FollowEvents();
            }
            return S_OK;
        }
        case dispid::ScaleMode: {
            LONG mode = 0;
            if (!value->ToInt(mode)) {
                return DISP_E_TYPEMISMATCH;
            }
            if (mode < 0 || mode > 3) {
                return E_INVALIDARG;
            }
            scaleMode = mode;
            redraw();
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    case Kind::Method:
        switch (id) {
        case dispid::Play:
            playRequested = true;
            if (player) {
                player->Play();
            }
            return S_OK;
        case dispid::Stop:
            playRequested = false;
            if (player) {
                player->Stop();
                FollowEvents();
            }
            return S_OK;
        case dispid::Rewind:
            playRequested = false;
            if (player) {
                player->Rewind();
                FollowEvents();
                redraw();
            }
            return S_OK;
        case dispid::SetClipProperty:
            return SetClipProperty(args);
        case dispid::SetClipPropertyNumber:
            return SetClipProperty(args);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT MovieControlState::SetClipProperty(std::span<const Variant> args) {
    std::u16string target;
    LONG index = 0;
    double value = 0.0;
    if (!args[0].ToText(target) || !args[1].ToInt(index)) {
        return DISP_E_TYPEMISMATCH;
    }
    // The text form ("-90") and the number form both come down to a number.
    if (!args[2].ToDouble(value)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (!std::isfinite(value)) {
        return E_INVALIDARG;
    }
    if (target != u"_root" && target != u"/") {
        return E_INVALIDARG; // the control has no other clips to address yet
    }
    switch (index) {
    case clipproperty::X:
        rootProperties.x = value;
        break;
    case clipproperty::Y:
        rootProperties.y = value;
        break;
    case clipproperty::XScale:
        rootProperties.xScale = value;
        break;
    case clipproperty::YScale:
        rootProperties.yScale = value;
        break;
    case clipproperty::Rotation:
        rootProperties.rotation = NormaliseDegrees(value);
        break;
    default:
        return E_INVALIDARG;
    }
    if (player) {
        player->SetRootProperties(rootProperties);
    }
    redraw();
    return S_OK;
}

void MovieControlState::FollowLoad() {
    const MovieParser* parser = loader.Parser();
    if (parser == nullptr || !parser->HeaderRead()) {
        return;
    }
    const Movie& movie = parser->GetMovie();
    if (!player) {
        player = std::make_unique<MoviePlayer>(movie);
        scriptHost.StartMovie(text::ToUtf8(url));
        scripts = std::make_unique<script::MovieScripts>(*player, scriptHost, ScriptLimits());
        DescribeScreen(scripts->GetVm());
        audio.Attach(movie);
        player->SetSoundPlayback(&audio);
        player->SetRootProperties(rootProperties);
        playRequested ? player->Play() : player->Stop();
        frameClock.emplace(movie.header.frameRate);
        frameClock->Advance(clock.NowMilliseconds());
    }
    player->SetComplete(parser->Complete());
    if (movie.root.frames.size() != framesSeen) {
        const bool first = framesSeen == 0;
        framesSeen = movie.root.frames.size();
        // The first frame shows once it is in, its scripts run.
        scripts->Start();
        FollowEvents();
        if (first) {
            redraw();
        }
    }
}

void MovieControlState::Pump() {
    loader.Pump();
    FollowLoad();
}

void MovieControlState::Tick(std::optional<std::uint64_t> unheard) {
    if (!player || !frameClock) {
        return;
    }
    int due = frameClock->Advance(clock.NowMilliseconds());
    // While the main timeline's streamed sound is heard, the timeline
    // follows it rather than the clock: it waits when it is ahead, and when
    // it is behind it runs the frames it missed and shows only the last.
    if (const auto lead = unheard ? audio.RootStreamLead(*player, *unheard) : std::nullopt) {
        due = static_cast<int>(std::clamp<long>(*lead, 0, FrameClock::maxCatchUp));
    }
    for (int i = 0; i < due; ++i) {
        scripts->Tick();
        FollowEvents();
    }
    if (due > 0) {
        redraw();
    }
}

std::optional<std::uint64_t> MovieControlState::NextFrameTime() const {
    if (!player || !frameClock) {
        return std::nullopt;
    }
    return frameClock->NextPeriodEnd();
}

void MovieControlState::StylusInput(Stylus action, int x, int y, int width, int height) {
    const Movie* movie = CurrentMovie();
    if (!player || movie == nullptr) {
        return;
    }
    // The window's pixel centre, on the stage the picture shows.
    const StagePlacement placement =
        PlaceStage(movie->header.frameSize, width, height, ScaleModeFromNumber(scaleMode));
    const auto toStage = placement.twipsToDevice.Inverse();
    if (!toStage) {
        return;
    }
    const auto [stageX, stageY] = toStage->Apply(x + 0.5, y + 0.5);
    const std::uint64_t version = player->Version();
    switch (action) {
    case Stylus::Move:
        player->PointerMoved(stageX, stageY);
        break;
    case Stylus::Down:
        player->PointerDown(stageX, stageY);
        break;
    case Stylus::Up:
        player->PointerUp(stageX, stageY);
        break;
    }
    AfterInput(version);
}

void MovieControlState::KeyInput(bool down, std::uint32_t virtualKey) {
    if (!player) {
        return;
    }
    const std::uint64_t version = player->Version();
    down ? player->KeyDown(virtualKey) : player->KeyUp(virtualKey);
    AfterInput(version);
}

void MovieControlState::CharacterInput(std::uint16_t character) {
    if (!player) {
        return;
    }
    const std::uint64_t version = player->Version();
    player->CharacterTyped(character);
    AfterInput(version);
}

void MovieControlState::AfterInput(std::uint64_t versionBefore) {
    player->RunActions();
    player->FinishFrame();
    FollowEvents();
    if (player->Version() != versionBefore) {
        redraw();
    }
}

void MovieControlState::FollowEvents() {
    const std::vector<RuntimeEvent> events = player->TakeEvents();
    for (const RuntimeEvent& event : events) {
        if (const auto* change = std::get_if<ButtonStateChanged>(&event)) {
            const DisplayObject* button = player->Find(change->button);
            buttonReports.push_back({button ? button->Name() : "", change->condition});
            ++buttonReportCount;
            if (buttonReports.size() > ButtonReportsKept) {
                buttonReports.pop_front();
            }
        }
    }
    audio.Follow(*player, events);
}

std::string MovieControlState::StateJson() const {
    const RootProperties& root = rootProperties;
    std::string json = "{";
    json += "\"url\":" + json::Quote(text::ToUtf8(url));
    json += ",\"readyState\":" + std::to_string(loader.ReadyState());
    json += ",\"totalFrames\":" + std::to_string(player ? player->TotalFrames() : 0);
    json += ",\"frameNumber\":" + std::to_string(player ? player->FrameNumber() : 0);
    json += std::string(",\"playing\":") + (player && player->Playing() ? "true" : "false");
    json += ",\"scaleMode\":" + std::to_string(scaleMode);
    json += ",\"root\":{\"x\":" + JsonNumber(root.x) + ",\"y\":" + JsonNumber(root.y) +
            ",\"xscale\":" + JsonNumber(root.xScale) + ",\"yscale\":" + JsonNumber(root.yScale) +
            ",\"rotation\":" + JsonNumber(root.rotation) + "}";
    json += ",\"framesRendered\":" + std::to_string(framesRendered);
    json += ",\"framesSkipped\":" + std::to_string(framesSkipped);
    // The buttons' last transitions, and how many there were in all.
    json += ",\"buttonEventCount\":" + std::to_string(buttonReportCount);
    json += ",\"buttonEvents\":[";
    for (std::size_t i = 0; i < buttonReports.size(); ++i) {
        json += std::string(i > 0 ? "," : "") + "{\"name\":" + json::Quote(buttonReports[i].name) +
                ",\"condition\":" + std::to_string(buttonReports[i].condition) + "}";
    }
    json += "]";
    // What the movie's scripts traced and asked for.
    const auto list = [](const std::deque<std::string>& lines) {
        std::string out = "[";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            out += json::Quote(lines[i]);
        }
        return out + "]";
    };
    json += ",\"traceCount\":" + std::to_string(scriptHost.TraceCount());
    json += ",\"trace\":" + list(scriptHost.TraceLines());
    json += ",\"notes\":" + list(scriptHost.Notes());
    json += "}";
    return json;
}

} // namespace swf
