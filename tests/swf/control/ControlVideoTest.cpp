// Embedded video on the simulated device's screen: a movie of frames that
// ffmpeg coded as Sorenson H.263 (key frames and the inter frames between
// them) shows each frame's colour in turn, also after a jump back.
#include <gtest/gtest.h>

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

// A movie that shows the FLV's frames one a frame, stretched over its
// 240 x 268 stage.
std::vector<std::uint8_t> VideoMovie(const std::vector<std::uint8_t>& flv, std::uint8_t flags) {
    const auto file = swf::ReadFlv(flv);
    EXPECT_TRUE(file.Ok());
    swfwriter::MovieWriter movie(8, 240, 268, 12);
    const std::vector<std::uint8_t> stream{Frames, 0, 64, 0, 48, 0, flags, 2};
    const auto id = movie.DefineRaw(swf::tag::DefineVideoStream, stream);
    for (int k = 0; k < Frames && file && k < static_cast<int>(file->video.size()); ++k) {
        std::vector<std::uint8_t> frame{static_cast<std::uint8_t>(id),
                                        static_cast<std::uint8_t>(id >> 8),
                                        static_cast<std::uint8_t>(k), 0};
        const auto& data = file->video[static_cast<std::size_t>(k)].data;
        frame.insert(frame.end(), data.begin(), data.end());
        movie.Tag(swf::tag::VideoFrame, frame);
        const auto ratio = static_cast<std::uint16_t>(k);
        if (k == 0) {
            movie.Place(1, id,
                        {.matrix = swfwriter::Matrix::Transform(0, 0, 240.0 / 64, 268.0 / 48, 0),
                         .ratio = ratio});
        } else {
            movie.Move(1, {.ratio = ratio});
        }
        movie.ShowFrame();
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
        const auto movie = VideoMovie(flv, flags);
        {
            std::ofstream out(device->StorageRoot() / "video.swf", std::ios::binary);
            out.write(reinterpret_cast<const char*>(movie.data()),
                      static_cast<std::streamsize>(movie.size()));
        }
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

} // namespace
