// libavcodec and libavutil, loaded when a movie first needs a decoder (of
// sound or video) rather than when the program starts: a player showing a
// movie without either never pays for loading them and the many libraries
// they bring, which cost more at start than the rest of the program.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
}

namespace swf {

// The functions the decoders call, by their own names.
struct CodecLibrary {
    decltype(&::av_channel_layout_default) av_channel_layout_default = nullptr;
    decltype(&::av_frame_alloc) av_frame_alloc = nullptr;
    decltype(&::av_frame_free) av_frame_free = nullptr;
    decltype(&::av_frame_unref) av_frame_unref = nullptr;
    decltype(&::av_get_packed_sample_fmt) av_get_packed_sample_fmt = nullptr;
    decltype(&::av_log_set_level) av_log_set_level = nullptr;
    decltype(&::av_new_packet) av_new_packet = nullptr;
    decltype(&::av_packet_alloc) av_packet_alloc = nullptr;
    decltype(&::av_packet_free) av_packet_free = nullptr;
    decltype(&::av_packet_unref) av_packet_unref = nullptr;
    decltype(&::av_parser_close) av_parser_close = nullptr;
    decltype(&::av_parser_init) av_parser_init = nullptr;
    decltype(&::av_parser_parse2) av_parser_parse2 = nullptr;
    decltype(&::av_sample_fmt_is_planar) av_sample_fmt_is_planar = nullptr;
    decltype(&::avcodec_alloc_context3) avcodec_alloc_context3 = nullptr;
    decltype(&::avcodec_find_decoder) avcodec_find_decoder = nullptr;
    decltype(&::avcodec_flush_buffers) avcodec_flush_buffers = nullptr;
    decltype(&::avcodec_free_context) avcodec_free_context = nullptr;
    decltype(&::avcodec_open2) avcodec_open2 = nullptr;
    decltype(&::avcodec_receive_frame) avcodec_receive_frame = nullptr;
    decltype(&::avcodec_send_packet) avcodec_send_packet = nullptr;
};

// The libraries' functions, loaded on the first call (their logging
// silenced); nullptr when the libraries cannot be loaded, and then no sound
// or video decodes. Safe from any thread.
const CodecLibrary* Codecs();

} // namespace swf
