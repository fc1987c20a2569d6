#include "swf/format/ImageCodecs.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <gif_lib.h>
#include <jpeglib.h>
#include <memory>
#include <png.h>

namespace swf {

namespace {

// libjpeg reports fatal errors through a callback that must not return; it
// jumps back to the decode call, which holds no C++ objects across the jump.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Damaged data draws as well as it can, quietly.
void JpegSilence(j_common_ptr, int) {}

struct JpegJob {
    std::span<const std::uint8_t> data;
    const ImageLimits* limits = nullptr;
    DecodedImage* image = nullptr;
    std::vector<std::uint8_t>* row = nullptr;
    const char* failure = nullptr; // set when the size is refused
};

constexpr J_COLOR_SPACE NativePixelSpace =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// Returns false with job.failure or the manager's message set.
bool RunJpeg(JpegJob& job, jpeg_decompress_struct& info, JpegErrorManager& errors) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = std::size_t{512} << 20;
    jpeg_mem_src(&info, job.data.data(), static_cast<unsigned long>(job.data.size()));
    jpeg_read_header(&info, TRUE);
    if (!job.limits->Allows(info.image_width, info.image_height)) {
        job.failure = "JPEG image is empty or too large";
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : NativePixelSpace;
    jpeg_start_decompress(&info);
    const std::size_t width = info.output_width;
    job.image->width = static_cast<int>(width);
    job.image->height = static_cast<int>(info.output_height);
    job.image->pixels.assign(width * info.output_height, PackPixel(255, 0, 0, 0));
    job.row->resize(width * 4);
    while (info.output_scanline < info.output_height) {
        const std::size_t y = info.output_scanline;
        if (cmyk) {
            JSAMPROW rows[1] = {job.row->data()};
            jpeg_read_scanlines(&info, rows, 1);
            // CMYK JPEGs conventionally store the inks inverted.
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* p = job.row->data() + x * 4;
                const auto ink = [&](int c) { return static_cast<std::uint8_t>(c * p[3] / 255); };
                job.image->pixels[y * width + x] = PackPixel(255, ink(p[0]), ink(p[1]), ink(p[2]));
            }
        } else {
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(job.image->pixels.data() + y * width)};
            jpeg_read_scanlines(&info, rows, 1);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

struct GifSource {
    std::span<const std::uint8_t> data;
    std::size_t at = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                                    source->data.size() - source->at);
    std::memcpy(out, source->data.data() + source->at, count);
    source->at += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

} // namespace

ImageFormat SniffImageFormat(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data.size() >= sizeof png && std::equal(std::begin(png), std::end(png), data.begin())) {
        return ImageFormat::Png;
    }
    if (data.size() >= 6 && std::memcmp(data.data(), "GIF8", 4) == 0) {
        return ImageFormat::Gif;
    }
    if (data.size() >= 2 && data[0] == 0xFF && (data[1] == 0xD8 || data[1] == 0xD9)) {
        return ImageFormat::Jpeg;
    }
    return ImageFormat::Unknown;
}

Result<DecodedImage> DecodeJpeg(std::span<const std::uint8_t> data, const ImageLimits& limits) {
    if (data.empty()) {
        return Error{"empty JPEG image"};
    }
    DecodedImage image;
    std::vector<std::uint8_t> row;
    JpegJob job{data, &limits, &image, &row};
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    errors.base.emit_message = JpegSilence;
    const bool ok = RunJpeg(job, info, errors);
    jpeg_destroy_decompress(&info);
    if (!ok) {
        return Error{job.failure != nullptr ? std::string(job.failure)
                                            : std::string("damaged JPEG image: ") + errors.message};
    }
    return image;
}

Result<DecodedImage> DecodePng(std::span<const std::uint8_t> data, const ImageLimits& limits) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size())) {
        return Error{std::string("damaged PNG image: ") + png.message};
    }
    if (!limits.Allows(png.width, png.height)) {
        png_image_free(&png);
        return Error{"PNG image is empty or too large"};
    }
    png.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    DecodedImage image{static_cast<int>(png.width), static_cast<int>(png.height), {}};
    image.pixels.resize(std::size_t{png.width} * png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        const std::string message = png.message;
        png_image_free(&png);
        return Error{"damaged PNG image: " + message};
    }
    for (std::uint32_t& p : image.pixels) {
        p = PackStraight(p >> 24, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    return image;
}

Result<DecodedImage> DecodeGif(std::span<const std::uint8_t> data, const ImageLimits& limits) {
    GifSource source{data};
    int error = 0;
    const std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadGifBytes, &error));
    if (!gif) {
        return Error{std::string("damaged GIF image: ") + GifErrorString(error)};
    }
    if (!limits.Allows(gif->SWidth, gif->SHeight)) {
        return Error{"GIF image is empty or too large"};
    }
    DecodedImage image{gif->SWidth, gif->SHeight, {}};
    image.pixels.assign(std::size_t(gif->SWidth) * gif->SHeight, 0);
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = TERMINATE_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            return Error{"damaged GIF image: no image"};
        }
        if (record == TERMINATE_RECORD_TYPE) {
            return Error{"GIF image without a picture"};
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
                return Error{"damaged GIF extension"};
            }
            while (block != nullptr) {
                GraphicsControlBlock control;
                if (code == GRAPHICS_EXT_FUNC_CODE && block[0] == 4 &&
                    DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                    transparent = control.TransparentColor;
                }
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
                    return Error{"damaged GIF extension"};
                }
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) {
            continue;
        }
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            return Error{"damaged GIF image descriptor"};
        }
        const GifImageDesc& desc = gif->Image;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr || desc.Width <= 0 || desc.Height <= 0 ||
            !limits.Allows(desc.Width, desc.Height)) {
            return Error{"GIF image without colours or with a bad size"};
        }
        std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
        // Interlaced images come in four passes over the rows.
        std::vector<int> order;
        if (desc.Interlace) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
                for (int y = start; y < desc.Height; y += step) {
                    order.push_back(y);
                }
            }
        } else {
            for (int y = 0; y < desc.Height; ++y) {
                order.push_back(y);
            }
        }
        for (const int row : order) {
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
                break; // a truncated image shows what arrived
            }
            const int y = desc.Top + row;
            if (y < 0 || y >= image.height) {
                continue;
            }
            for (int x = 0; x < desc.Width; ++x) {
                const int sx = desc.Left + x;
                const int index = line[static_cast<std::size_t>(x)];
                if (sx < 0 || sx >= image.width || index == transparent ||
                    index >= map->ColorCount) {
                    continue;
                }
                const GifColorType& c = map->Colors[index];
                image.pixels[std::size_t(y) * image.width + sx] =
                    PackPixel(255, c.Red, c.Green, c.Blue);
            }
        }
        return image;
    }
}

} // namespace swf
