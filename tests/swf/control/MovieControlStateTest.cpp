#include "swf/control/MovieControlState.h"

#include <gtest/gtest.h>

#include "LoaderHarness.h"
#include "TestMovies.h"
#include "swfwriter/ActionWriter.h"

namespace {

using swfwriter::Compression;

class VirtualClock final : public swf::Clock {
public:
    std::uint64_t now = 5000;
    std::uint64_t NowMilliseconds() const override { return now; }
};

// Hands back each URL's bytes at once, or a failure for an unknown one.
class InstantFetcher final : public swf::Fetcher {
public:
    std::map<std::string, std::vector<std::uint8_t>> bodies;

    std::unique_ptr<swf::Fetch> Start(const std::string& url, std::function<void()> wake) override {
        auto fetch = std::make_unique<Instant>();
        const auto found = bodies.find(url);
        if (found == bodies.end()) {
            fetch->events.push_back(swf::FetchEnd{swf::Error{"HTTP 404", 0}});
        } else {
            fetch->events.push_back(swf::FetchData{found->second});
            fetch->events.push_back(swf::FetchEnd{});
        }
        wake();
        return fetch;
    }

private:
    struct Instant final : swf::Fetch {
        std::vector<swf::FetchEvent> events;
        std::vector<swf::FetchEvent> Take() override { return std::exchange(events, {}); }
    };
};

class MovieControl : public testing::Test {
protected:
    MovieControl() {
        files.files["\\movie.swf"] = testmovies::BusyMovie(100, Compression::Zlib); // 24 fps
        fetcher.bodies["http://example.test/movie.swf"] =
            testmovies::BusyMovie(20, Compression::Lzma);
    }

    Variant Get(DISPID id) {
        Variant result;
        EXPECT_EQ(state.Invoke(id, DISPATCH_PROPERTYGET, {}, result), S_OK);
        return result;
    }
    HRESULT Put(DISPID id, Variant value) {
        Variant result;
        return state.Invoke(id, DISPATCH_PROPERTYPUT, std::span(&value, 1), result);
    }
    HRESULT Call(DISPID id, std::vector<Variant> args = {}) {
        Variant result;
        return state.Invoke(id, DISPATCH_METHOD, args, result);
    }
    LONG GetInt(DISPID id) {
        LONG value = -1;
        EXPECT_TRUE(Get(id).ToInt(value));
        return value;
    }
    bool Playing() {
        bool value = false;
        EXPECT_TRUE(Get(swf::dispid::Playing).ToBool(value));
        return value;
    }
    // Runs wake-ups until none is pending (bounded).
    void Settle() {
        for (int i = 0; i < 10000 && wakes > 0; ++i) {
            --wakes;
            state.Pump();
        }
    }
    void Open(const std::u16string& url) {
        ASSERT_EQ(Put(swf::dispid::MovieUrl, Variant::Text(url)), S_OK);
        Settle();
    }
    void Advance(std::uint64_t milliseconds) {
        for (std::uint64_t step = 0; step < milliseconds; step += 10) {
            clock.now += 10;
            state.Tick();
        }
    }

    harness::MemoryFiles files;
    InstantFetcher fetcher;
    VirtualClock clock;
    int wakes = 0;
    int redraws = 0;
    swf::MovieControlState state{files, fetcher, clock, [this] { ++wakes; }, [this] { ++redraws; }};
};

TEST_F(MovieControl, NamesEveryOperationByIdAndKind) {
    const struct {
        DISPID id;
        WORD kind;
        const char* name;
    } table[] = {
        {102, DISPATCH_PROPERTYPUT, "SetMovieUrl"},
        {135, DISPATCH_PROPERTYPUT, "SetMenuEnabled"},
        {141, DISPATCH_PROPERTYPUT, "SetQualityName"},
        {-525, DISPATCH_PROPERTYGET, "GetReadyState"},
        {124, DISPATCH_PROPERTYGET, "GetTotalFrames"},
        {107, DISPATCH_PROPERTYGET, "GetFrameNumber"},
        {107, DISPATCH_PROPERTYPUT, "SetFrameNumber"},
        {125, DISPATCH_PROPERTYGET, "GetPlaying"},
        {125, DISPATCH_PROPERTYPUT, "SetPlaying"},
        {112, DISPATCH_METHOD, "PlayMovie"},
        {113, DISPATCH_METHOD, "StopMovie"},
        {116, DISPATCH_METHOD, "RewindMovie"},
        {120, DISPATCH_PROPERTYGET, "GetScaleMode"},
        {120, DISPATCH_PROPERTYPUT, "SetScaleMode"},
        {153, DISPATCH_METHOD, "SetClipProperty"},
        {157, DISPATCH_METHOD, "SetClipPropertyNumber"},
        // A read passed as method and get together, as scripting hosts do.
        {107, DISPATCH_METHOD | DISPATCH_PROPERTYGET, "GetFrameNumber"},
    };
    for (const auto& entry : table) {
        const char* name = swf::MovieControlState::OperationName(entry.id, entry.kind);
        ASSERT_NE(name, nullptr) << entry.name;
        EXPECT_STREQ(name, entry.name);
    }
    EXPECT_EQ(swf::MovieControlState::OperationName(112, DISPATCH_PROPERTYPUT), nullptr);
    EXPECT_EQ(swf::MovieControlState::OperationName(999, DISPATCH_METHOD), nullptr);
    Variant result;
    EXPECT_EQ(state.Invoke(999, DISPATCH_METHOD, {}, result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(state.Invoke(-525, DISPATCH_PROPERTYPUT, {}, result), DISP_E_MEMBERNOTFOUND);
}

TEST_F(MovieControl, LoadsAFileAndPlaysByItselfOnTheClock) {
    EXPECT_EQ(GetInt(swf::dispid::ReadyState), 0);
    EXPECT_EQ(Put(swf::dispid::MenuEnabled, Variant::Bool(true)), S_OK);
    EXPECT_EQ(Put(swf::dispid::QualityName, Variant::Text(u"high")), S_OK);
    Open(u"file://\\movie.swf");
    EXPECT_EQ(GetInt(swf::dispid::ReadyState), 4);
    EXPECT_EQ(GetInt(swf::dispid::TotalFrames), 100);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 0);
    EXPECT_TRUE(Playing());
    std::u16string url;
    EXPECT_TRUE(Get(swf::dispid::MovieUrl).ToText(url));
    EXPECT_EQ(url, u"file://\\movie.swf");

    // 24 frames a second on the device clock.
    Advance(1000);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 24);
    Advance(4000); // past the end: the movie loops
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 120 - 100);
    EXPECT_GT(redraws, 0);
}

TEST_F(MovieControl, PlaybackOperationsDoWhatThePlayerReliesOn) {
    Open(u"file://\\movie.swf");
    Advance(500);
    EXPECT_EQ(Call(swf::dispid::Stop), S_OK);
    EXPECT_FALSE(Playing());
    const LONG halted = GetInt(swf::dispid::FrameNumber);
    Advance(500);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), halted);

    EXPECT_EQ(Call(swf::dispid::Play), S_OK);
    EXPECT_TRUE(Playing());
    Advance(500);
    EXPECT_GT(GetInt(swf::dispid::FrameNumber), halted);

    // Frame numbers are 0-based; past the end means the last frame; a seek
    // halts the movie.
    EXPECT_EQ(Put(swf::dispid::FrameNumber, Variant::Int(250)), S_OK);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 99);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(Put(swf::dispid::FrameNumber, Variant::Text(u"7")), S_OK);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 7);

    EXPECT_EQ(Put(swf::dispid::Playing, Variant::Bool(true)), S_OK);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Call(swf::dispid::Rewind), S_OK);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 0);
    EXPECT_EQ(Put(swf::dispid::Playing, Variant::Bool(false)), S_OK);
    EXPECT_FALSE(Playing());

    Variant result;
    EXPECT_EQ(
        state.Invoke(swf::dispid::Play, DISPATCH_METHOD, std::vector{Variant::Int(1)}, result),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Put(swf::dispid::FrameNumber, Variant::Text(u"seven")), DISP_E_TYPEMISMATCH);
}

TEST_F(MovieControl, ScaleModeTakesZeroToThree) {
    EXPECT_EQ(GetInt(swf::dispid::ScaleMode), 0);
    for (LONG mode = 0; mode <= 3; ++mode) {
        EXPECT_EQ(Put(swf::dispid::ScaleMode, Variant::Int(mode)), S_OK);
        EXPECT_EQ(GetInt(swf::dispid::ScaleMode), mode);
    }
    EXPECT_EQ(Put(swf::dispid::ScaleMode, Variant::Int(4)), E_INVALIDARG);
    EXPECT_EQ(Put(swf::dispid::ScaleMode, Variant::Int(-1)), E_INVALIDARG);
    EXPECT_EQ(GetInt(swf::dispid::ScaleMode), 3);
}

TEST_F(MovieControl, ClipPropertiesOfRootAsTextOrNumber) {
    Open(u"file://\\movie.swf");
    // The player's placement at 150 % of a 240 x 320 stage.
    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_root"), Variant::Int(10), Variant::Text(u"-90")}),
              S_OK);
    EXPECT_EQ(Call(swf::dispid::SetClipPropertyNumber,
                   {Variant::Text(u"_root"), Variant::Int(0), Variant::Double(-60.0)}),
              S_OK);
    EXPECT_EQ(Call(swf::dispid::SetClipPropertyNumber,
                   {Variant::Text(u"_root"), Variant::Int(1), Variant::Double(-80.0)}),
              S_OK);
    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_root"), Variant::Int(2), Variant::Text(u"150")}),
              S_OK);
    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_root"), Variant::Int(3), Variant::Text(u"150")}),
              S_OK);
    // They are the main timeline's transform: turned a quarter back,
    // grown by half, moved in twips.
    const swf::Matrix& root = state.Player()->Root().GetMatrix();
    EXPECT_NEAR(root.scaleX, 0.0, 1e-9);
    EXPECT_NEAR(root.rotateSkew0, -1.5, 1e-9);
    EXPECT_NEAR(root.rotateSkew1, 1.5, 1e-9);
    EXPECT_NEAR(root.scaleY, 0.0, 1e-9);
    EXPECT_EQ(root.translateX, -60 * 20);
    EXPECT_EQ(root.translateY, -80 * 20);
    EXPECT_NE(state.StateJson().find(
                  "\"root\":{\"x\":-60,\"y\":-80,\"xscale\":150,\"yscale\":150,\"rotation\":-90}"),
              std::string::npos)
        << state.StateJson();

    // Rotation reads back within (-180, 180].
    EXPECT_EQ(Call(swf::dispid::SetClipPropertyNumber,
                   {Variant::Text(u"_root"), Variant::Int(10), Variant::Double(270.0)}),
              S_OK);
    EXPECT_NE(state.StateJson().find("\"rotation\":-90}"), std::string::npos);
    EXPECT_NEAR(root.rotateSkew0, -1.5, 1e-9);

    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_root"), Variant::Int(2), Variant::Text(u"big")}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_level9"), Variant::Int(2), Variant::Text(u"50")}),
              E_INVALIDARG);
    EXPECT_EQ(Call(swf::dispid::SetClipProperty,
                   {Variant::Text(u"_root"), Variant::Int(42), Variant::Text(u"50")}),
              E_INVALIDARG);
    EXPECT_EQ(Call(swf::dispid::SetClipProperty, {Variant::Text(u"_root"), Variant::Int(2)}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_NE(state.StateJson().find("\"xscale\":150,"), std::string::npos);
    EXPECT_NEAR(root.rotateSkew0, -1.5, 1e-9);
}

TEST_F(MovieControl, MovieThatCannotLoadLeavesTheControlUsable) {
    for (const char16_t* url :
         {u"file://\\nothing.swf", u"file://", u"http://example.test/404.swf"}) {
        Open(url);
        EXPECT_EQ(GetInt(swf::dispid::ReadyState), 0);
        EXPECT_EQ(GetInt(swf::dispid::TotalFrames), 0);
        EXPECT_FALSE(Playing()); // nothing is there to play
        EXPECT_EQ(Put(swf::dispid::FrameNumber, Variant::Int(5)), S_OK);
        EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 0);
        EXPECT_EQ(Call(swf::dispid::Play), S_OK);
        Advance(100);
    }
    // And the next good movie loads.
    Open(u"http://example.test/movie.swf");
    EXPECT_EQ(GetInt(swf::dispid::ReadyState), 4);
    EXPECT_EQ(GetInt(swf::dispid::TotalFrames), 20);
}

TEST_F(MovieControl, NewUrlStartsOverAndPlaysByItself) {
    Open(u"file://\\movie.swf");
    Advance(300);
    Call(swf::dispid::Stop);
    Open(u"http://example.test/movie.swf");
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 0);
    EXPECT_EQ(GetInt(swf::dispid::TotalFrames), 20);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(state.StateJson(),
              "{\"url\":\"http://example.test/movie.swf\",\"readyState\":4,\"totalFrames\":20,"
              "\"frameNumber\":0,\"playing\":true,\"scaleMode\":0,"
              "\"root\":{\"x\":0,\"y\":0,\"xscale\":100,\"yscale\":100,\"rotation\":0},"
              "\"framesRendered\":0,\"framesSkipped\":0,\"buttonEventCount\":0,\"buttonEvents\":[],"
              "\"traceCount\":0,\"trace\":[],\"notes\":[]}");
}

} // namespace

namespace {

TEST_F(MovieControl, TheMoviesScriptsRunAndWhatTheyTraceIsReported) {
    // Frame 1 traces and stops the movie; frame 3 would trace again.
    swfwriter::MovieWriter movie(8, 100, 100, 24.0);
    swfwriter::ActionWriter first;
    first.Push("on frame 1").Op(swfwriter::action::Trace).Op(swfwriter::action::Stop);
    movie.Actions(first.Finish());
    movie.ShowFrame();
    movie.ShowFrame();
    swfwriter::ActionWriter third;
    third.Push("on frame 3").Op(swfwriter::action::Trace);
    movie.Actions(third.Finish());
    movie.ShowFrame();
    files.files["\\script.swf"] = movie.Finish();
    Open(u"file://\\script.swf");
    Advance(500);
    EXPECT_EQ(GetInt(swf::dispid::FrameNumber), 0);
    EXPECT_FALSE(Playing());
    EXPECT_NE(state.StateJson().find("\"traceCount\":1,\"trace\":[\"on frame 1\"]"),
              std::string::npos)
        << state.StateJson();
    // The host's play goes on past the stop: the third frame's actions run,
    // and the first frame's stop again once the movie loops.
    Call(swf::dispid::Play);
    Advance(200);
    EXPECT_NE(state.StateJson().find("\"trace\":[\"on frame 1\",\"on frame 3\",\"on frame 1\"]"),
              std::string::npos)
        << state.StateJson();
    EXPECT_FALSE(Playing());
    // A new movie starts its report over.
    Open(u"http://example.test/movie.swf");
    EXPECT_NE(state.StateJson().find("\"traceCount\":0,\"trace\":[]"), std::string::npos);
}

} // namespace
