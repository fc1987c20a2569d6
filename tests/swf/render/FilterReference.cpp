#include "FilterReference.h"

#include <algorithm>
#include <cmath>

namespace filterref {

namespace {

struct Channel {
    int width = 0;
    int height = 0;
    std::vector<int> values;
    int outside = 0;

    int At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return outside;
        }
        return values[std::size_t(y) * width + x];
    }
};

int Round255(double value) {
    return int(std::lround(value));
}

// The share of pixel j (covering j - 0.5 .. j + 0.5) inside a box of this
// width centred on pixel 0, as a fraction of the whole box.
double BoxWeight(double box, int j) {
    const double half = box / 2;
    const double overlap = std::min(j + 0.5, half) - std::max(j - 0.5, -half);
    return std::max(0.0, overlap) / box;
}

Channel BlurOnce(const Channel& in, double box, bool across) {
    if (box <= 1.0) {
        return in;
    }
    Channel out = in;
    const int taps = int(std::ceil(box / 2 + 0.5));
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            double sum = 0;
            for (int j = -taps; j <= taps; ++j) {
                sum += BoxWeight(box, j) * (across ? in.At(x + j, y) : in.At(x, y + j));
            }
            out.values[std::size_t(y) * in.width + x] = std::min(255, int(std::floor(sum + 1e-6)));
        }
    }
    return out;
}

Channel Blur(Channel channel, double boxX, double boxY, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        channel = BlurOnce(channel, boxX, true);
        channel = BlurOnce(channel, boxY, false);
    }
    return channel;
}

Channel Shift(const Channel& in, int dx, int dy) {
    Channel out = in;
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            out.values[std::size_t(y) * in.width + x] = in.At(x - dx, y - dy);
        }
    }
    return out;
}

Pixel Cover(const swf::Rgba& color, int level) {
    const int a = Round255(color.a * level / 255.0);
    return {a, Round255(color.r * a / 255.0), Round255(color.g * a / 255.0),
            Round255(color.b * a / 255.0)};
}

Pixel Scale(const Pixel& p, int coverage) {
    Pixel out;
    for (int i = 0; i < 4; ++i) {
        out[i] = Round255(p[i] * coverage / 255.0);
    }
    return out;
}

Pixel Over(const Pixel& top, const Pixel& bottom) {
    Pixel out;
    for (int i = 0; i < 4; ++i) {
        out[i] = std::min(255, top[i] + Round255(bottom[i] * (255 - top[0]) / 255.0));
    }
    return out;
}

// The gradient's straight colour at a position, premultiplied.
Pixel GradientAt(const swf::Filter& f, int position) {
    const std::size_t n = std::min(f.colors.size(), f.ratios.size());
    if (n == 0) {
        return {};
    }
    if (position <= f.ratios[0]) {
        return Cover(f.colors[0], 255);
    }
    for (std::size_t i = 1; i < n; ++i) {
        if (position <= f.ratios[i]) {
            const double t = double(position - f.ratios[i - 1]) / (f.ratios[i] - f.ratios[i - 1]);
            const auto mix = [&](int a, int b) {
                return std::uint8_t(std::lround(a + (b - a) * t));
            };
            const swf::Rgba& a = f.colors[i - 1];
            const swf::Rgba& b = f.colors[i];
            return Cover({mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)}, 255);
        }
    }
    return Cover(f.colors[n - 1], 255);
}

swf::Rgba ColorOf(const swf::Filter& f, std::size_t i) {
    return i < f.colors.size() ? f.colors[i] : swf::Rgba{0, 0, 0, 255};
}

std::array<double, 4> Straight(const Pixel& p) {
    if (p[0] == 0) {
        return {0, 0, 0, 0};
    }
    return {double(p[0]), std::round(p[1] * 255.0 / p[0]), std::round(p[2] * 255.0 / p[0]),
            std::round(p[3] * 255.0 / p[0])};
}

Pixel Premultiplied(double a, double r, double g, double b) {
    const auto byte = [](double v) { return int(std::clamp(std::round(v), 0.0, 255.0)); };
    const int alpha = byte(a);
    return {alpha, Round255(byte(r) * alpha / 255.0), Round255(byte(g) * alpha / 255.0),
            Round255(byte(b) * alpha / 255.0)};
}

void Shadows(const swf::Filter& f, Image& area) {
    const bool bevel = f.kind == swf::FilterKind::Bevel || f.kind == swf::FilterKind::GradientBevel;
    const bool gradient =
        f.kind == swf::FilterKind::GradientGlow || f.kind == swf::FilterKind::GradientBevel;
    const bool full = bevel && f.onTop;
    const bool inner = f.inner && !full;
    int dx = 0, dy = 0;
    if (f.kind != swf::FilterKind::Glow) {
        dx = int(std::lround(f.distance * std::cos(f.angle)));
        dy = int(std::lround(f.distance * std::sin(f.angle)));
    }
    const int strength = int(std::lround(f.strength * 256));
    Channel alpha{area.width, area.height, {}, 0};
    for (const Pixel& p : area.pixels) {
        alpha.values.push_back(p[0]);
    }
    std::vector<Pixel> effect(area.pixels.size());
    if (bevel) {
        const Channel blurred = Blur(alpha, f.blurX, f.blurY, f.passes);
        const Channel towards = Shift(blurred, dx, dy);
        const Channel away = Shift(blurred, -dx, -dy);
        for (std::size_t i = 0; i < effect.size(); ++i) {
            const int difference = towards.values[i] - away.values[i];
            const int level = std::clamp(int(std::trunc(difference * strength / 256.0)), -255, 255);
            if (gradient) {
                effect[i] = GradientAt(f, (level + 256) / 2);
            } else {
                effect[i] = level > 0 ? Cover(ColorOf(f, 0), level) : Cover(ColorOf(f, 1), -level);
            }
            if (inner) {
                effect[i] = Scale(effect[i], alpha.values[i]);
            } else if (!full) {
                effect[i] = Scale(effect[i], 255 - alpha.values[i]);
            }
        }
    } else {
        Channel source = alpha;
        if (inner) {
            source.outside = 255;
            for (int& v : source.values) {
                v = 255 - v;
            }
        }
        const Channel moved = Shift(Blur(source, f.blurX, f.blurY, f.passes), dx, dy);
        for (std::size_t i = 0; i < effect.size(); ++i) {
            const int level = std::min(255, int(std::floor(moved.values[i] * strength / 256.0)));
            effect[i] = gradient ? GradientAt(f, level) : Cover(ColorOf(f, 0), level);
            if (inner) {
                effect[i] = Scale(effect[i], alpha.values[i]);
            }
        }
    }
    for (std::size_t i = 0; i < effect.size(); ++i) {
        const Pixel source = area.pixels[i];
        if (f.knockout) {
            area.pixels[i] =
                (!inner && !full && !bevel) ? Scale(effect[i], 255 - source[0]) : effect[i];
        } else if (!f.compositeSource) {
            area.pixels[i] = effect[i];
        } else if (inner || full) {
            area.pixels[i] = Over(effect[i], source);
        } else {
            area.pixels[i] = Over(source, effect[i]);
        }
    }
}

void ColorMatrix(const swf::Filter& f, Image& area) {
    const auto& m = f.matrix;
    for (Pixel& p : area.pixels) {
        const auto s = Straight(p);
        const auto row = [&](int k) {
            return m[k] * s[1] + m[k + 1] * s[2] + m[k + 2] * s[3] + m[k + 3] * s[0] + m[k + 4];
        };
        p = Premultiplied(row(15), row(0), row(5), row(10));
    }
}

void Convolution(const swf::Filter& f, Image& area) {
    const Image source = area;
    const float divisor = f.divisor == 0 ? 1.0f : f.divisor;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            std::array<double, 4> sum{};
            for (int j = 0; j < f.matrixY; ++j) {
                for (int i = 0; i < f.matrixX; ++i) {
                    int sx = x + i - f.matrixX / 2;
                    int sy = y + j - f.matrixY / 2;
                    std::array<double, 4> s{double(f.defaultColor.a), double(f.defaultColor.r),
                                            double(f.defaultColor.g), double(f.defaultColor.b)};
                    const bool inside = sx >= 0 && sy >= 0 && sx < area.width && sy < area.height;
                    if (inside || f.clamp) {
                        sx = std::clamp(sx, 0, area.width - 1);
                        sy = std::clamp(sy, 0, area.height - 1);
                        s = Straight(source.At(sx, sy));
                    }
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += f.matrix[std::size_t(j) * f.matrixX + i] * s[c];
                    }
                }
            }
            const auto value = [&](int c) { return sum[c] / divisor + f.bias; };
            const double a = f.preserveAlpha ? source.At(x, y)[0] : value(0);
            area.At(x, y) = Premultiplied(a, value(1), value(2), value(3));
        }
    }
}

} // namespace

void Apply(const swf::Filter& filter, Image& image, int x, int y, int width, int height) {
    Image area(width, height);
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            area.At(i, j) = image.At(x + i, y + j);
        }
    }
    switch (filter.kind) {
    case swf::FilterKind::Blur: {
        for (int c = 0; c < 4; ++c) {
            Channel channel{width, height, {}, 0};
            for (const Pixel& p : area.pixels) {
                channel.values.push_back(p[c]);
            }
            channel = Blur(channel, filter.blurX, filter.blurY, filter.passes);
            for (std::size_t i = 0; i < area.pixels.size(); ++i) {
                area.pixels[i][c] = channel.values[i];
            }
        }
        break;
    }
    case swf::FilterKind::ColorMatrix:
        ColorMatrix(filter, area);
        break;
    case swf::FilterKind::Convolution:
        Convolution(filter, area);
        break;
    default:
        Shadows(filter, area);
        break;
    }
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            image.At(x + i, y + j) = area.At(i, j);
        }
    }
}

} // namespace filterref
