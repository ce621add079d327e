#include <vantrel/resources/stream.h>
#include "tools/assetgen/sound_output.h"

namespace assetgen {

bool WriteWav(const std::vector<int16_t>& pcm, int channels, int rate, const std::string& path) {
    using namespace vantrel;
    Ref<TStream> s = OpenWriteStream(String::FromUtf8(path));
    if (!s) return false;
    try {
        const int dataBytes = int(pcm.size() * sizeof(int16_t));
        s->WriteBytes("RIFF", 4);
        s->WriteInt(36 + dataBytes);
        s->WriteBytes("WAVE", 4);
        s->WriteBytes("fmt ", 4);
        s->WriteInt(16);
        s->WriteShort(1);  // PCM
        s->WriteShort(channels);
        s->WriteInt(rate);
        s->WriteInt(rate * channels * 2);
        s->WriteShort(channels * 2);
        s->WriteShort(16);
        s->WriteBytes("data", 4);
        s->WriteInt(dataBytes);
        for (int16_t v : pcm) s->WriteShort(v);
        // The last buffered bytes reach the file only here.
        return s->Close() == 0;
    } catch (const TStreamException&) {
        return false;
    }
}

}  // namespace assetgen
