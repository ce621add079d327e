#include <vorbis/vorbisenc.h>

#include <vantrel/resources/stream.h>
#include "tools/assetgen/sound_output.h"

namespace assetgen {
namespace {

constexpr int kSerialNumber = 0x5149524e;
constexpr int kChunkFrames = 4096;

// libvorbis and libogg state, released in one place whatever happens.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state ogg;
    bool dspReady = false, oggReady = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (oggReady) ogg_stream_clear(&ogg);
        if (dspReady) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

void WritePage(const vantrel::Ref<vantrel::TStream>& s, const ogg_page& page) {
    s->WriteBytes(page.header, int(page.header_len));
    s->WriteBytes(page.body, int(page.body_len));
}

// Moves every finished block through the encoder into pages.
void Drain(Encoder& e, const vantrel::Ref<vantrel::TStream>& s) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
            ogg_stream_packetin(&e.ogg, &packet);
            while (ogg_stream_pageout(&e.ogg, &page)) WritePage(s, page);
        }
    }
}

}  // namespace

bool WriteOggVorbis(const std::vector<int16_t>& pcm, int channels, int rate, float quality, const std::string& path) {
    using namespace vantrel;
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, channels, rate, quality) != 0) return false;
    vorbis_comment_add_tag(&e.comment, "TITLE", "QIRN");
    if (vorbis_analysis_init(&e.dsp, &e.info) != 0) return false;
    vorbis_block_init(&e.dsp, &e.block);
    e.dspReady = true;
    ogg_stream_init(&e.ogg, kSerialNumber);
    e.oggReady = true;

    Ref<TStream> s = OpenWriteStream(String::FromUtf8(path));
    if (!s) return false;
    try {
        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&e.dsp, &e.comment, &id, &comments, &codebooks);
        ogg_stream_packetin(&e.ogg, &id);
        ogg_stream_packetin(&e.ogg, &comments);
        ogg_stream_packetin(&e.ogg, &codebooks);
        ogg_page page;
        // The headers end on a page of their own, as decoders expect.
        while (ogg_stream_flush(&e.ogg, &page)) WritePage(s, page);

        const size_t frames = pcm.size() / size_t(channels);
        for (size_t done = 0; done < frames; done += kChunkFrames) {
            int n = int(std::min<size_t>(kChunkFrames, frames - done));
            float** buffer = vorbis_analysis_buffer(&e.dsp, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = pcm[(done + size_t(i)) * size_t(channels) + size_t(c)] / 32768.0f;
            vorbis_analysis_wrote(&e.dsp, n);
            Drain(e, s);
        }
        vorbis_analysis_wrote(&e.dsp, 0);
        Drain(e, s);
        while (ogg_stream_flush(&e.ogg, &page)) WritePage(s, page);
        // The last buffered bytes reach the file only here.
        return s->Close() == 0;
    } catch (const TStreamException&) {
        return false;
    }
}

}  // namespace assetgen
