#include "swf/format/CodecLibrary.h"

#include <dlfcn.h>

#include <optional>
#include <string>

namespace swf {
namespace {

// The libraries this program was built against, by their versioned names.
const std::string kAvcodecName = "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR);
const std::string kAvutilName = "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR);

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

std::optional<CodecLibrary> Load() {
    // Kept loaded for the rest of the run.
    void* avutil = ::dlopen(kAvutilName.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* avcodec = ::dlopen(kAvcodecName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (avutil == nullptr || avcodec == nullptr) {
        return std::nullopt;
    }
    CodecLibrary c;
    const bool found = Find(avutil, "av_channel_layout_default", c.av_channel_layout_default) &&
                       Find(avutil, "av_frame_alloc", c.av_frame_alloc) &&
                       Find(avutil, "av_frame_free", c.av_frame_free) &&
                       Find(avutil, "av_frame_unref", c.av_frame_unref) &&
                       Find(avutil, "av_get_packed_sample_fmt", c.av_get_packed_sample_fmt) &&
                       Find(avutil, "av_log_set_level", c.av_log_set_level) &&
                       Find(avcodec, "av_new_packet", c.av_new_packet) &&
                       Find(avcodec, "av_packet_alloc", c.av_packet_alloc) &&
                       Find(avcodec, "av_packet_free", c.av_packet_free) &&
                       Find(avcodec, "av_packet_unref", c.av_packet_unref) &&
                       Find(avcodec, "av_parser_close", c.av_parser_close) &&
                       Find(avcodec, "av_parser_init", c.av_parser_init) &&
                       Find(avcodec, "av_parser_parse2", c.av_parser_parse2) &&
                       Find(avutil, "av_sample_fmt_is_planar", c.av_sample_fmt_is_planar) &&
                       Find(avcodec, "avcodec_alloc_context3", c.avcodec_alloc_context3) &&
                       Find(avcodec, "avcodec_find_decoder", c.avcodec_find_decoder) &&
                       Find(avcodec, "avcodec_flush_buffers", c.avcodec_flush_buffers) &&
                       Find(avcodec, "avcodec_free_context", c.avcodec_free_context) &&
                       Find(avcodec, "avcodec_open2", c.avcodec_open2) &&
                       Find(avcodec, "avcodec_receive_frame", c.avcodec_receive_frame) &&
                       Find(avcodec, "avcodec_send_packet", c.avcodec_send_packet);
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
