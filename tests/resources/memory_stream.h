// A read-only stream over bytes in memory, for feeding decoders in tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include <vantrel/resources/stream.h>

class MemoryStream : public vantrel::TStream {
public:
    explicit MemoryStream(std::vector<uint8_t> bytes) : _bytes(std::move(bytes)) {}

    int Pos() override { return _pos; }
    int Size() override { return static_cast<int>(_bytes.size()); }
    int Seek(int position) override {
        _pos = std::clamp(position, 0, Size());
        return _pos;
    }
    int Read(void* buffer, int count) override {
        const int n = std::min(count, Size() - _pos);
        if (n <= 0) return 0;
        std::memcpy(buffer, _bytes.data() + _pos, static_cast<size_t>(n));
        _pos += n;
        return n;
    }

private:
    std::vector<uint8_t> _bytes;
    int _pos = 0;
};
