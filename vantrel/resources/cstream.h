// TCStream: a stream over a buffered C library file.
//
// OpenFile turns "\" into "/" and opens the path as UTF-8, which is how this
// platform spells file names; it returns Null when the file cannot be opened
// or is a folder.
// Read and write may be mixed on a file opened for both: the stream inserts
// the repositioning the C library requires between a read and a write.
// A closed stream transfers nothing. Positions are 32-bit, so a stream over
// a larger file ends at byte 2^31 - 1. One thread at a time.
#pragma once

#include <cstdio>

#include <vantrel/resources/stream_io.h>

namespace vantrel {

class TCStream : public TStream {
public:
    static constexpr int MODE_READ = 1;
    static constexpr int MODE_WRITE = 2;

    ~TCStream() override;

    // Readable and writeable opens an existing file for both ("r+b");
    // writeable alone creates or truncates ("wb"); anything else reads ("rb").
    static Ref<TCStream> OpenFile(const String& path, bool readable, bool writeable);
    // Takes ownership of an open C file; the stream closes it.
    static Ref<TCStream> CreateWithCStream(FILE* cstream, int mode);

    int Pos() override { return _pos; }
    int Size() override { return _size; }
    int Seek(int position) override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    // Both give -1 when buffered bytes could not be written (or the file
    // not closed), else 0.
    int Flush() override;
    int Close() override;

private:
    enum class LastOp { None, Read, Write };
    // Switching between reading and writing needs a seek in between.
    void Switch(LastOp op);

    int _pos = 0;
    int _size = 0;
    FILE* _cstream = nullptr;
    int _mode = 0;
    LastOp _last = LastOp::None;
};

}  // namespace vantrel
