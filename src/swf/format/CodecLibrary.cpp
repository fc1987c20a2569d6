#include "swf/format/CodecLibrary.h"

#include <optional>
#include <string>

#include "swf/base/LibraryFunctions.h"

namespace swf {
namespace {

// The libraries this program was built against, by their versioned names.
const std::string kAvcodecName = "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR);
const std::string kAvutilName = "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR);

std::optional<CodecLibrary> Load() {
    // Kept loaded for the rest of the run.
    void* avutil = ::dlopen(kAvutilName.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* avcodec = ::dlopen(kAvcodecName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (avutil == nullptr || avcodec == nullptr) {
        return std::nullopt;
    }
    CodecLibrary c;
    const bool found =
        FindFunction(avutil, "av_channel_layout_default", c.av_channel_layout_default) &&
        FindFunction(avutil, "av_frame_alloc", c.av_frame_alloc) &&
        FindFunction(avutil, "av_frame_free", c.av_frame_free) &&
        FindFunction(avutil, "av_frame_unref", c.av_frame_unref) &&
        FindFunction(avutil, "av_get_packed_sample_fmt", c.av_get_packed_sample_fmt) &&
        FindFunction(avutil, "av_log_set_level", c.av_log_set_level) &&
        FindFunction(avcodec, "av_new_packet", c.av_new_packet) &&
        FindFunction(avcodec, "av_packet_alloc", c.av_packet_alloc) &&
        FindFunction(avcodec, "av_packet_free", c.av_packet_free) &&
        FindFunction(avcodec, "av_packet_unref", c.av_packet_unref) &&
        FindFunction(avcodec, "av_parser_close", c.av_parser_close) &&
        FindFunction(avcodec, "av_parser_init", c.av_parser_init) &&
        FindFunction(avcodec, "av_parser_parse2", c.av_parser_parse2) &&
        FindFunction(avutil, "av_sample_fmt_is_planar", c.av_sample_fmt_is_planar) &&
        FindFunction(avcodec, "avcodec_alloc_context3", c.avcodec_alloc_context3) &&
        FindFunction(avcodec, "avcodec_find_decoder", c.avcodec_find_decoder) &&
        FindFunction(avcodec, "avcodec_flush_buffers", c.avcodec_flush_buffers) &&
        FindFunction(avcodec, "avcodec_free_context", c.avcodec_free_context) &&
        FindFunction(avcodec, "avcodec_open2", c.avcodec_open2) &&
        FindFunction(avcodec, "avcodec_receive_frame", c.avcodec_receive_frame) &&
        FindFunction(avcodec, "avcodec_send_packet", c.avcodec_send_packet);
    if (!found) {
        return std::nullopt;
    }
    // Damaged data is the decoders' daily bread: they say nothing of it.
    c.av_log_set_level(AV_LOG_QUIET);
    return c;
}

} // namespace

const CodecLibrary* Codecs() {
    static const std::optional<CodecLibrary> library = Load();
    return library ? &*library : nullptr;
}

} // namespace swf
