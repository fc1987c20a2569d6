// fuzz_seeds DIR: writes the starting inputs of every fuzz target into
// DIR/<target>/: the writer's movies, the player's own resources and dialog
// templates, a new device's registry, settings files. scripts/fuzz adds the
// shared corpus's movies for the movie targets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/ResourceFile.h"
#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "platform/sim/RegistryTree.h"
#include "resources/ProgramResources.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/BlockFont.h"
#include "swfwriter/MovieWriter.h"
#include "swfwriter/SoundWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace swfwriter;

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root(std::move(root)) {}

    template <typename Bytes>
    void Write(const std::string& target, const std::string& name, const Bytes& bytes) {
        const fs::path folder = root / target;
        fs::create_directories(folder);
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            failed = true;
            std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", (folder / name).c_str());
        }
    }
    bool Failed() const { return failed; }

private:
    fs::path root;
    bool failed = false;
};

// Shapes with every kind of fill and line, a bitmap, text, a sprite with its
// own timeline, placements with blend modes, filters, colour transforms and
// a clip depth, and a label: most of what the reader and renderer handle.
std::vector<std::uint8_t> EverythingMovie(Compression compression) {
    MovieWriter movie(8, 120, 90, 12);
    movie.SetBackground({10, 20, 30});
    std::vector<Color> pixels(16, Color{200, 10, 10, 128});
    const auto bitmap = movie.DefineBitmap(4, 4, pixels);
    ShapeBuilder shape;
    shape.SetStyle(shape.AddFill(Fill::Bitmap(bitmap, 0, 0, false)),
                   shape.AddFill(Fill::Linear({{0, {}}, {255, {9, 9, 9}}}, 0, 0, 600, 600)),
                   shape.AddLine({20, {}}));
    shape.Ellipse(300, 300, 200, 300);
    shape.NewStyles();
    shape.SetStyle(0, shape.AddFill(Fill::Radial({{0, {1, 2, 3}}, {99, {}}}, 0, 0, 300, 300)),
                   shape.AddLine({0, {}}));
    shape.Rectangle(0, 0, 500, 500);
    const auto shapeId = movie.DefineShape(shape, 4);
    const auto font = movie.DefineFont("B", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 300, {0, 0, 255}, 0, 300, "SEED 42"}});
    TimelineWriter inner;
    inner.Place(1, shapeId, {.blendMode = 9});
    inner.Place(2, text, {.blendMode = 12});
    inner.ShowFrame();
    inner.Move(1, {.matrix = Matrix::Transform(5, 5, 2, 0.5, 30)});
    inner.ShowFrame();
    inner.Remove(2);
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, shapeId, {.clipDepth = 3});
    movie.Place(2, sprite, {.name = "s", .blendMode = 2, .cacheAsBitmap = true});
    movie.Place(3, text, {.colorTransform = ColorTransform{300, -20, 256, 128, 10, 20, 30, 40}});
    movie.Place(4, shapeId, {.filters = {swfwriter::Filter::BlurOf(1.0, 1.0, 1)}});
    movie.ShowFrame();
    movie.Label("second");
    movie.Move(3, {.matrix = Matrix::Translate(40, 40)});
    movie.ShowFrame();
    return movie.Finish(compression);
}

// A small movie of one shape: damage to it reaches the header and the first
// tags quickly.
std::vector<std::uint8_t> OneShapeMovie(Compression compression) {
    MovieWriter movie(6, 240, 320, 15);
    ShapeBuilder box;
    box.SetStyle(0, box.AddFill(Fill::Solid({255, 0, 0})), 0);
    box.Rectangle(0, 0, 400, 400);
    movie.Place(1, movie.DefineShape(box, 3), {.matrix = Matrix::Translate(100, 100)});
    movie.ShowFrame();
    return movie.Finish(compression);
}

// Sounds of each kind: an event sound with an envelope and loops, started
// and stopped, and a streamed sound in a clip of its own.
std::vector<std::uint8_t> SoundMovie() {
    MovieWriter movie(8, 100, 100, 12);
    std::vector<std::int16_t> tone(2205);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i) / 4.0));
    }
    const auto sound =
        movie.DefineRaw(14, DefineSoundBody({.coding = 3, .rateCode = 1}, 2205, PcmBytes(tone)));
    TimelineWriter clip;
    clip.Tag(45, StreamHeadBody({.coding = 3, .rateCode = 1}, 919));
    for (int frame = 0; frame < 3; ++frame) {
        clip.Tag(19, PcmBytes(std::span(tone).first(919)));
        clip.ShowFrame();
    }
    movie.Place(1, movie.DefineSprite(clip));
    SoundInfoFields shaped;
    shaped.inPoint = 100;
    shaped.outPoint = 4000;
    shaped.loops = 3;
    shaped.envelope = {{0, 0, 32768}, {2000, 32768, 0}};
    movie.Tag(15, StartSoundBody(sound, shaped));
    movie.ShowFrame();
    SoundInfoFields stop;
    stop.stop = true;
    movie.Tag(15, StartSoundBody(sound, stop));
    movie.ShowFrame();
    return movie.Finish();
}

void WriteMovies(SeedWriter& seeds, const std::vector<std::string>& targets) {
    seeds.Write("media", "sounds.swf", SoundMovie());
    const struct {
        Compression compression;
        const char* name;
    } kinds[] = {
        {Compression::None, "plain"}, {Compression::Zlib, "zlib"}, {Compression::Lzma, "lzma"}};
    for (const auto& kind : kinds) {
        for (const auto& target : targets) {
            seeds.Write(target, std::string("everything-") + kind.name + ".swf",
                        EverythingMovie(kind.compression));
            seeds.Write(target, std::string("one-shape-") + kind.name + ".swf",
                        OneShapeMovie(kind.compression));
        }
    }
}

void WriteResources(SeedWriter& seeds) {
    const auto program = resources::ProgramResources();
    seeds.Write("resource_file", "vantrel.res", program);
    const auto file = res::ResourceFile::Parse(program);
    if (!file) {
        std::fprintf(stderr, "fuzz_seeds: the program's resources do not read\n");
        return;
    }
    for (const auto& entry : file->Entries()) {
        if (entry.type.IsNumber() && entry.type.Number() == res::RT_DIALOG) {
            const std::string name = entry.name.IsNumber() ? std::to_string(entry.name.Number())
                                                           : text::ToUtf8(entry.name.Name());
            seeds.Write("dialog_template", "dialog-" + name, entry.data);
        }
    }
}

void WriteRegistries(SeedWriter& seeds) {
    // The registry a new device starts with.
    const sim::TemporaryDirectory directory;
    {
        sim::DeviceConfig config;
        config.directory = directory.Path();
        const sim::Device device(config);
    }
    std::ifstream in(directory.Path() / "system" / "registry.txt", std::ios::binary);
    const std::string firstUse{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    if (!firstUse.empty()) {
        seeds.Write("registry_file", "first-use.txt", firstUse);
    }
    // Every kind of value, and names that need escapes.
    sim::RegistryTree tree;
    bool created = false;
    auto& swf = tree.Create({sim::RegistryRoot::ClassesRoot, {u".swf"}}, created);
    swf.values[u""] = {REG_SZ, {'S', 0, 'W', 0, 'F', 0, 0, 0}};
    auto& odd = tree.Create({sim::RegistryRoot::CurrentUser, {u"Soft[1]", u"a\"b%c"}}, created);
    odd.values[u"Count"] = {REG_DWORD, {42, 0, 0, 0}};
    odd.values[u"Blob"] = {REG_BINARY, {1, 2, 0xff}};
    odd.values[u"List"] = {REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}};
    odd.values[u"Lone"] = {REG_SZ, {0x00, 0xd8, 0, 0}};
    tree.Create({sim::RegistryRoot::LocalMachine, {u"Empty"}}, created);
    seeds.Write("registry_file", "every-kind.txt", tree.Serialize());
}

void WriteSettings(SeedWriter& seeds) {
    const char* const files[][2] = {{"defaults", "0 1 10 560 1 0 0"},
                                    {"toolbar", "2 0 12 700 300 3 8"},
                                    {"short", "1 0"},
                                    {"damaged", "-4294967297 +7 x 9"}};
    for (const auto& file : files) {
        seeds.Write("settings_file", file[0], std::string(file[1]));
    }
}

// Action blocks for the actions target: a version byte, then bytecode that
// loops, defines and calls a function, and builds objects and arrays.
void WriteActionBlocks(SeedWriter& seeds) {
    ActionWriter loop;
    const auto top = loop.NewLabel();
    const auto done = loop.NewLabel();
    loop.Push("i").Push(0.0).Op(action::SetVariable).Bind(top);
    loop.Push("i").Op(action::GetVariable).Push(10.0).Op(action::Less2).Op(action::Not).If(done);
    loop.Push("i").Push("i").Op(action::GetVariable).Op(action::Increment);
    loop.Op(action::SetVariable).Jump(top).Bind(done);
    ActionWriter body;
    body.Push("x").Op(action::GetVariable).Push(2.0).Op(action::Multiply).Op(action::Return);
    ActionWriter calls;
    calls.DefineFunction("twice", {"x"}, body);
    calls.Push(21.0).Push(1.0).Push("twice").Op(action::CallFunction).Op(action::Trace);
    calls.Push("o").Push("a").Push(1.0).Push("b").Push("text").Push(2.0).Op(action::InitObject);
    calls.Op(action::SetVariable).Push(3.0).Push(2.0).Push(1.0).Push(3.0).Op(action::InitArray);
    calls.Push(0.0).Push("o").Op(action::GetVariable).Push("toString").Op(action::CallMethod);
    calls.Op(action::Add2).Op(action::Trace);
    for (const auto& [name, block] : {std::pair{"loop", loop.Body()}, {"calls", calls.Body()}}) {
        for (const std::uint8_t version : {5, 7}) {
            std::vector<std::uint8_t> seed(block.size() + 1, version);
            std::copy(block.begin(), block.end(), seed.begin() + 1);
            seeds.Write("actions", std::string(name) + "-" + std::to_string(version), seed);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    SeedWriter seeds(argv[1]);
    WriteMovies(seeds, {"header_probe", "movie", "render", "media"});
    WriteResources(seeds);
    WriteRegistries(seeds);
    WriteSettings(seeds);
    WriteActionBlocks(seeds);
    return seeds.Failed() ? 1 : 0;
}
