// Embedded video on the simulated device's screen: a movie of frames that
// ffmpeg coded as Sorenson H.263 (key frames and the inter frames between
// them) shows each frame's colour in turn, also after a jump back.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "DeviceTestSupport.h"
#include "TestMovies.h"
#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "swf/audio/FlvReader.h"
#include "swf/control/HostFiles.h"
#include "swf/control/MovieControl.h"
#include "swf/control/MovieControlState.h"
#include "swf/format/TagCodes.h"

namespace {

constexpr int Frames = 8;

// The colour ffmpeg drew frame k in.
std::array<int, 3> ColourOf(int k) {
    return {20 + 25 * k, 128, 230 - 25 * k};
}

// The FLV's frames as a video stream on timeline, one a frame, stretched
// over a 240 x 268 stage.
void WriteVideo(swfwriter::TimelineWriter& timeline, std::uint16_t id,
                const std::vector<std::uint8_t>& flv) {
    const auto file = swf::ReadFlv(flv);
    ASSERT_TRUE(file.Ok());
    ASSERT_GE(file->video.size(), static_cast<std::size_t>(Frames));
    for (int k = 0; k < Frames; ++k) {
        std::vector<std::uint8_t> frame{static_cast<std::uint8_t>(id),
                                        static_cast<std::uint8_t>(id >> 8),
                                        static_cast<std::uint8_t>(k), 0};
        const auto& data = file->video[static_cast<std::size_t>(k)].data;
        frame.insert(frame.end(), data.begin(), data.end());
        timeline.Tag(swf::tag::VideoFrame, frame);
        const auto ratio = static_cast<std::uint16_t>(k);
        if (k == 0) {
            timeline.Place(1, id,
                           {.matrix = swfwriter::Matrix::Transform(0, 0, 240.0 / 64, 268.0 / 48, 0),
                            .ratio = ratio});
        } else {
            timeline.Move(1, {.ratio = ratio});
        }
        timeline.ShowFrame();
    }
}

// The video on the main timeline, or in a clip of its own.
std::vector<std::uint8_t> VideoMovie(const std::vector<std::uint8_t>& flv, std::uint8_t flags,
                                     bool inClip = false) {
    swfwriter::MovieWriter movie(8, 240, 268, 12);
    const std::vector<std::uint8_t> stream{Frames, 0, 64, 0, 48, 0, flags, 2};
    const auto id = movie.DefineRaw(swf::tag::DefineVideoStream, stream);
    if (inClip) {
        swfwriter::TimelineWriter clip;
        WriteVideo(clip, id, flv);
        movie.Place(1, movie.DefineSprite(clip));
        movie.ShowFrame();
    } else {
        WriteVideo(movie, id, flv);
    }
    return movie.Finish();
}

class ControlVideo : public simtest::DeviceTest {
protected:
    void SetUp() override {
        auto files = std::make_shared<swf::HostFiles>(
            [this](const std::string& path) -> std::optional<std::filesystem::path> {
                return device->HostPath(text::FromUtf8(path));
            });
        swf::InstallMovieControl(files);
    }

    simtest::RunningProgram LaunchWithControl() {
        return Launch([this](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&none, WS_VISIBLE, RECT{0, 26, 240, 294});
            ASSERT_TRUE(EnableControlHosting());
            control = CreateControlWindow(swf::MovieControlClassId, u"Vantrel", WS_VISIBLE,
                                          RECT{0, 0, 240, 268}, parent, 9907);
            ASSERT_NE(control, nullptr);
        });
    }

    void Store(const std::vector<std::uint8_t>& movie) {
        std::ofstream out(device->StorageRoot() / "video.swf", std::ios::binary);
        out.write(reinterpret_cast<const char*>(movie.data()),
                  static_cast<std::streamsize>(movie.size()));
    }

    void Put(sim::Program& program, DISPID id, Variant value) {
        Variant result;
        OnProgram(program, [&] {
            InvokeControl(control, id, DISPATCH_PROPERTYPUT, std::vector<Variant>{value}, &result);
        });
    }

    // The frame whose colour the middle of the control shows, or -1 when it
    // is none of them.
    int FrameShown(sim::Program& program) {
        RECT rect;
        OnProgram(program, [&] { GetWindowRect(control, &rect); });
        const std::uint32_t pixel = automation->Screenshot()->Pixel((rect.left + rect.right) / 2,
                                                                    (rect.top + rect.bottom) / 2);
        const int r = static_cast<int>(pixel >> 16 & 0xFF);
        const int g = static_cast<int>(pixel >> 8 & 0xFF);
        const int b = static_cast<int>(pixel & 0xFF);
        for (int k = 0; k < Frames; ++k) {
            const auto [er, eg, eb] = ColourOf(k);
            if (std::abs(r - er) <= 8 && std::abs(g - eg) <= 8 && std::abs(b - eb) <= 8) {
                return k;
            }
        }
        return -1;
    }

    simtest::Handler none = [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return std::nullopt;
    };
    HWND parent = nullptr;
    HWND control = nullptr;
};

TEST_F(ControlVideo, TheFramesShowInOrderAndAfterAJumpBack) {
    const auto flv =
        testmovies::ReadFileBytes(std::string(VANTREL_VIDEOS_DIR) + "/frames-h263.flv");
    ASSERT_FALSE(flv.empty());
    // Smoothed, with the deblocking the stream asks for; then with it off.
    for (const std::uint8_t flags : {0x01, 0x02}) {
        SCOPED_TRACE(flags);
        Store(VideoMovie(flv, flags));
        auto program = LaunchWithControl();
        Put(program, swf::dispid::MovieUrl, Variant::Text(u"file://\\video.swf"));
        ASSERT_TRUE(device->RunUntilIdle());
        std::vector<int> shown;
        for (int k = 0; k < Frames; ++k) {
            Put(program, swf::dispid::FrameNumber, Variant::Int(k));
            ASSERT_TRUE(device->Advance(50));
            shown.push_back(FrameShown(program));
        }
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        // Back to an inter frame: decoded again from its key frame.
        Put(program, swf::dispid::FrameNumber, Variant::Int(2));
        ASSERT_TRUE(device->Advance(50));
        EXPECT_EQ(FrameShown(program), 2);
        // Playing, it shows the frames as they come.
        Put(program, swf::dispid::Playing, Variant::Bool(true));
        ASSERT_TRUE(device->Advance(1000 / 12 + 5));
        EXPECT_EQ(FrameShown(program), 3);
    }
}

TEST_F(ControlVideo, AClipPlaysItsOwnVideo) {
    const auto flv =
        testmovies::ReadFileBytes(std::string(VANTREL_VIDEOS_DIR) + "/frames-h263.flv");
    ASSERT_FALSE(flv.empty());
    Store(VideoMovie(flv, 0, true));
    auto program = LaunchWithControl();
    Put(program, swf::dispid::MovieUrl, Variant::Text(u"file://\\video.swf"));
    ASSERT_TRUE(device->RunUntilIdle());
    std::vector<int> shown{FrameShown(program)};
    for (int step = 1; step < Frames; ++step) {
        ASSERT_TRUE(device->Advance(83));
        shown.push_back(FrameShown(program));
    }
    // A frame a period, as the clock falls: in order, none left out but
    // perhaps the last.
    EXPECT_EQ(shown.front(), 0);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end())) << ::testing::PrintToString(shown);
    EXPECT_GE(shown.back(), Frames - 2);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_LE(shown[i] - shown[i - 1], 1) << ::testing::PrintToString(shown);
    }
}

} // namespace
