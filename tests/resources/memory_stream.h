// A read-only stream over bytes in memory, for feeding decoders in tests,
// that can be told to fail the reads touching a stretch of its bytes.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include <vantrel/resources/stream.h>
#include <vantrel/resources/stream_exceptions.h>

class MemoryStream : public vantrel::TStream {
public:
    explicit MemoryStream(std::vector<uint8_t> bytes) : _bytes(std::move(bytes)) {}

    // From now on a read asking for any byte in [from, to) calls raise
    // instead, which throws a stream read error unless told otherwise.
    void FailReads(int from, int to, std::function<void()> raise = [] { throw vantrel::TStreamReadException(); }) {
        _failFrom = from;
        _failTo = to;
        _raise = std::move(raise);
    }

    int Pos() override { return _pos; }
    int Size() override { return static_cast<int>(_bytes.size()); }
    int Seek(int position) override {
        _pos = std::clamp(position, 0, Size());
        return _pos;
    }
    int Read(void* buffer, int count) override {
        if (_raise && _pos < _failTo && _pos + count > _failFrom) _raise();
        const int n = std::min(count, Size() - _pos);
        if (n <= 0) return 0;
        std::memcpy(buffer, _bytes.data() + _pos, static_cast<size_t>(n));
        _pos += n;
        return n;
    }

private:
    std::vector<uint8_t> _bytes;
    int _pos = 0;
    int _failFrom = 0;
    int _failTo = 0;
    std::function<void()> _raise;
};
