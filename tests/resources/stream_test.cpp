#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <vantrel/resources/bank.h>
#include <vantrel/resources/stream.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

// An in-memory stream that hands out at most `chunk` bytes per Read and,
// when `stallAt` is set, moves nothing once that position is reached even
// though it is not at its end.
class ChunkedStream : public TStream {
public:
    explicit ChunkedStream(std::string data, int chunk = 1 << 30, int stallAt = -1)
        : data(std::move(data)), chunk(chunk), stallAt(stallAt) {}
    ~ChunkedStream() override { ChunkedStream::Close(); }

    int Pos() override { return pos; }
    int Size() override { return static_cast<int>(data.size()); }
    int Seek(int p) override { return pos = p; }
    int Close() override {
        closed = true;
        return 0;
    }
    int Read(void* buffer, int count) override {
        int limit = stallAt >= 0 ? stallAt : Size();
        int n = std::min({count, chunk, limit - pos});
        if (n <= 0) return 0;
        std::memcpy(buffer, data.data() + pos, static_cast<size_t>(n));
        pos += n;
        return n;
    }
    int Write(const void* buffer, int count) override {
        int n = std::min(count, chunk);
        data.replace(static_cast<size_t>(pos), static_cast<size_t>(std::min<int>(n, Size() - pos)),
                     static_cast<const char*>(buffer), static_cast<size_t>(n));
        pos += n;
        return n;
    }

    std::string data;
    int chunk;
    int stallAt;
    int pos = 0;
    bool closed = false;
};

std::filesystem::path TempDir() {
    return std::filesystem::temp_directory_path() / ("vantrel_stream_" + std::to_string(getpid()));
}

// Scratch files live in a directory of this test process, removed at the end.
class TempDirCleanup : public ::testing::Environment {
    void TearDown() override { std::filesystem::remove_all(TempDir()); }
};
[[maybe_unused]] auto* const cleanup = ::testing::AddGlobalTestEnvironment(new TempDirCleanup);

std::string TempPath(const std::string& name) {
    std::filesystem::create_directories(TempDir());
    return (TempDir() / name).string();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Records what the chain asks for and serves protocol "probe".
class ProbeFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        if (!(proto == String("probe"))) return nullptr;
        lastPath = path;
        lastReadable = readable;
        lastWriteable = writeable;
        return MakeRef<ChunkedStream>(path.To8Bit());
    }
    String lastPath;
    bool lastReadable = false;
    bool lastWriteable = false;
};

ProbeFactory& Probe() {
    static Ref<ProbeFactory> probe = MakeRef<ProbeFactory>();
    return *probe;
}

}  // namespace

TEST(Stream, TypedValuesAreLittleEndianAndZeroExtended) {
    auto s = MakeRef<ChunkedStream>("");
    s->WriteByte(0x180);
    s->WriteShort(-1);
    s->WriteInt(1);
    s->WriteInt(-2);
    s->WriteLong(-3);
    s->WriteFloat(1.5f);
    s->WriteDouble(-0.25);
    EXPECT_EQ(s->data.substr(0, 11), std::string("\x80\xFF\xFF\x01\x00\x00\x00\xFE\xFF\xFF\xFF", 11));
    EXPECT_EQ(s->data.substr(19, 4), std::string("\x00\x00\xC0\x3F", 4));
    EXPECT_EQ(s->data.substr(23), std::string("\x00\x00\x00\x00\x00\x00\xD0\xBF", 8));

    s->Seek(0);
    EXPECT_EQ(s->ReadByte(), 128);
    EXPECT_EQ(s->ReadShort(), 65535);
    EXPECT_EQ(s->ReadInt(), 1);
    EXPECT_EQ(s->ReadInt(), -2);
    EXPECT_EQ(s->ReadLong(), -3);
    EXPECT_EQ(s->ReadFloat(), 1.5f);
    EXPECT_EQ(s->ReadDouble(), -0.25);
    EXPECT_TRUE(s->Eof());
}

TEST(Stream, ExactTransfersGatherShortReadsAndRaiseOnTheEnd) {
    auto s = MakeRef<ChunkedStream>("0123456789abcdef", 3);
    char buf[16] = {};
    EXPECT_EQ(s->ReadBytes(buf, 8), 8);
    EXPECT_EQ(std::string(buf, 8), "01234567");
    EXPECT_EQ(s->SkipBytes(4), 4);
    // 4 bytes left: they are read, then the short read raises.
    EXPECT_THROW(s->ReadBytes(buf, 10), TStreamReadException);
    EXPECT_EQ(std::string(buf, 4), "cdef");
    EXPECT_TRUE(s->Eof());
    EXPECT_THROW(s->ReadInt(), TStreamReadException);
    EXPECT_THROW(s->SkipBytes(1), TStreamReadException);

    class Full : public TStream {
        int Write(const void*, int count) override { return count > 2 ? 2 : count; }
    };
    Ref<TStream> partial = MakeRef<Full>();
    EXPECT_EQ(partial->WriteBytes("abcde", 5), 5);  // three partial writes are fine
    class Stuck : public TStream {
        int Write(const void*, int) override { return 0; }
    };
    Ref<TStream> stuck = MakeRef<Stuck>();
    EXPECT_THROW(stuck->WriteInt(5), TStreamWriteException);
    EXPECT_EQ(stuck->WriteLine("x"), 0);
}

TEST(Stream, LinesStopAtLineFeedOrZeroAndDropCarriageReturns) {
    auto s = MakeRef<ChunkedStream>(std::string("a\r\nb", 4));
    EXPECT_EQ(s->ReadLine(), String("a"));
    EXPECT_EQ(s->ReadLine(), String("b"));
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->ReadLine(), String(""));

    std::string longLine(5000, 'x');
    auto t = MakeRef<ChunkedStream>(std::string("\n\xE9x\0y\r", 6) + longLine);
    EXPECT_EQ(t->ReadLine(), String(""));
    String accented = t->ReadLine();
    ASSERT_EQ(accented.Length(), 2);
    EXPECT_EQ(accented[0], 0xE9);
    EXPECT_EQ(t->ReadLine(), String("y") + String(longLine));
}

TEST(Stream, TextOperationsUseOneBytePerCharacter) {
    auto s = MakeRef<ChunkedStream>("");
    EXPECT_EQ(s->WriteLine(String(u"\u0141ine")), 1);
    EXPECT_EQ(s->WriteString("ab"), 0);
    EXPECT_EQ(s->data, "Aine\r\nab");
    s->Seek(0);
    EXPECT_EQ(s->ReadString(4), String("Aine"));
    s->Seek(6);
    EXPECT_THROW(s->ReadString(3), TStreamReadException);

    try {
        s->ReadObject();
        FAIL();
    } catch (const TStringException& e) {
        EXPECT_EQ(e.ToString(), String("Unable to read object"));
    }
    try {
        WriteObject(Ref<TStream>(s), nullptr);
        FAIL();
    } catch (const TStringException& e) {
        EXPECT_EQ(e.ToString(), String("Unable to write object"));
    }
}

TEST(Stream, BaseClassRefusesTransfersAndErrorsHaveTheirMessages) {
    Ref<TStream> bare = MakeRef<TStream>();
    char c;
    try {
        bare->Read(&c, 1);
        FAIL();
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), String("Stream is not readable"));
    }
    try {
        bare->Write(&c, 1);
        FAIL();
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), String("Stream is not writeable"));
    }
    EXPECT_EQ(bare->Pos(), -1);
    EXPECT_FALSE(bare->Eof());
    EXPECT_EQ(TStreamReadException().ToString(), String("Error reading from stream"));
    EXPECT_EQ(TStreamWriteException().ToString(), String("Error writing to stream"));
    EXPECT_THROW(throw TStreamWriteException(), TStreamException);
}

TEST(CStream, FilesGrowOnWriteAndMixReadsWithWrites) {
    std::string path = TempPath("grow.bin");
    Ref<TStream> w = OpenWriteStream(String(path));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Size(), 0);
    w->WriteInt(0x01020304);
    w->WriteString("tail");
    EXPECT_EQ(w->Size(), 8);
    EXPECT_EQ(w->Pos(), 8);
    w = nullptr;  // the last reference closes and flushes the file
    EXPECT_EQ(FileBytes(path), std::string("\x04\x03\x02\x01tail", 8));

    Ref<TStream> rw = OpenUrlStream(String(path), true, true);
    ASSERT_TRUE(rw);
    EXPECT_EQ(rw->ReadInt(), 0x01020304);
    rw->WriteString("TAILS");  // write straight after a read
    EXPECT_EQ(rw->Size(), 9);
    EXPECT_EQ(rw->Seek(2), 2);
    EXPECT_EQ(rw->ReadByte(), 2);
    rw->WriteByte('!');
    EXPECT_EQ(rw->ReadByte(), 'T');  // read straight after a write
    rw->Close();
    EXPECT_EQ(rw->Size(), 0);
    char c;
    EXPECT_EQ(rw->Read(&c, 1), 0);  // a closed stream moves nothing
    rw->Close();
    EXPECT_EQ(FileBytes(path), std::string("\x04\x03\x02!TAILS", 9));

    // "\" separators name the same file.
    std::string backslashed = path;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(LoadText(String(backslashed)), String(FileBytes(path)));
}

// A player's folder may have letters outside the system's 8-bit code page:
// the file must get exactly the name asked for, in every letter.
TEST(CStream, APathWithLettersBeyondAsciiNamesTheFileExactly) {
    const String name(u"\u03a9mega-\u00e9t\u00e9-\u0438\u0433\u0440\u044b.txt");
    const String path = String::FromUtf8(TempPath("")) + name;
    SaveText("hello", path);
    EXPECT_EQ(LoadText(path), String("hello"));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(path.Units())));
}

TEST(CStream, AFileBeyond32BitPositionsEndsAtTheLastOne) {
    std::string path = TempPath("huge.bin");
    {
        std::ofstream make(path, std::ios::binary);
    }
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 31) + 100);  // sparse: no disk used
    Ref<TStream> s = OpenUrlStream(String(path), true, true);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Size(), INT_MAX);
    EXPECT_EQ(s->Seek(INT_MAX - 3), INT_MAX - 3);
    EXPECT_EQ(s->ReadShort(), 0);
    EXPECT_THROW(s->ReadShort(), TStreamReadException);  // one byte left to the limit
    EXPECT_EQ(s->Pos(), INT_MAX);
    EXPECT_TRUE(s->Eof());
    char c = 1;
    EXPECT_EQ(s->Write(&c, 1), 0);
    EXPECT_EQ(s->Pos(), INT_MAX);
    s = nullptr;
    std::filesystem::remove(path);
}

TEST(CStream, OpeningFailsQuietly) {
    std::string missing = TempPath("missing.bin");
    EXPECT_FALSE(OpenReadStream(String(missing)));
    EXPECT_FALSE(OpenUrlStream(String(missing), true, true));  // read+write never creates
    EXPECT_FALSE(OpenWriteStream(String(TempPath("no/such/dir.bin"))));
    EXPECT_FALSE(OpenReadStream(""));
    EXPECT_FALSE(OpenReadStream(VANTREL_TEST_DATA));  // a folder is no file
    EXPECT_FALSE(OpenReadStream("nobody-serves-this::x"));
    EXPECT_FALSE(OpenReadStream(Ref<Object>(MakeRef<TArray<int>>(3))));
    EXPECT_THROW(LoadBytes(String(missing)), TStreamReadException);
    EXPECT_THROW(SaveText("x", String(TempPath("no/such/dir.txt"))), TStreamWriteException);
    EXPECT_THROW(LoadObjectFrom(String(missing)), TStreamReadException);
}

TEST(StreamUrl, ProtocolIsLowerCasedAndPathKeptAsWritten) {
    Probe();
    Ref<TStream> s = OpenUrlStream("PrObE::Some/Path::X", true, false);
    ASSERT_TRUE(s);
    EXPECT_EQ(Probe().lastPath, String("Some/Path::X"));
    EXPECT_TRUE(Probe().lastReadable);
    EXPECT_FALSE(Probe().lastWriteable);
    EXPECT_EQ(s->ReadLine(), String("Some/Path::X"));
    EXPECT_EQ(LoadText("probe::hello"), String("hello"));
}

TEST(StreamUrl, OneColonIsPartOfAFileNameAndTwoMakeAProtocol) {
    Probe();
#ifdef _WIN32
    const std::string name = "colon.bin";  // the drive letter brings the colon
#else
    const std::string name = "a:b.bin";
#endif
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << "plain file";
    ASSERT_NE(path.find(':'), std::string::npos);
    EXPECT_EQ(LoadText(String(path)), String("plain file"));
    EXPECT_EQ(LoadText(String("probe::" + path)), String(path));
}

TEST(StreamUrl, FactoriesAreAskedNewestFirst) {
    struct Named : TStreamFactory {
        explicit Named(const char* answer) : answer(answer) {}
        Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String&, bool, bool) override {
            return proto == String("layered") ? Ref<TStream>(MakeRef<ChunkedStream>(answer)) : nullptr;
        }
        std::string answer;
    };
    auto older = MakeRef<Named>("older");
    auto newer = MakeRef<Named>("newer");
    EXPECT_EQ(StreamFactories(), Ref<TStreamFactory>(newer));
    EXPECT_EQ(newer->_succ, Ref<TStreamFactory>(older));
    EXPECT_EQ(LoadText("layered::"), String("newer"));
}

TEST(StreamUrl, StreamGivenAsUrlIsWrappedAndSurvivesClose) {
    auto inner = MakeRef<ChunkedStream>("line one\nline two\n");
    Ref<TStream> opened = OpenReadStream(Ref<Object>(inner));
    ASSERT_TRUE(opened);
    EXPECT_FALSE(opened == Ref<TStream>(inner));
    EXPECT_EQ(opened->ReadLine(), String("line one"));
    opened->Close();
    opened = nullptr;
    EXPECT_FALSE(inner->closed);
    EXPECT_EQ(inner->ReadLine(), String("line two"));
    EXPECT_EQ(LoadText(Ref<Object>(inner)), String(""));
    EXPECT_FALSE(inner->closed);
}

TEST(StreamWrapper, ForwardsEverythingAndClosesTheWrappedStreamOnRelease) {
    // A wrapper that swaps the byte order of ints, as a byte-order wrapper does.
    struct Swapping : TStreamWrapper {
        int ReadInt() override { return static_cast<int>(__builtin_bswap32(static_cast<uint32_t>(TStream::ReadInt()))); }
    };
    auto inner = MakeRef<ChunkedStream>(std::string("\x00\x00\x00\x07\x01\x00\x00\x00\x00\x00\x00\x00xyz", 15));
    {
        auto w = MakeRef<Swapping>();
        w->SetStream(inner);
        EXPECT_EQ(w->Size(), 15);
        EXPECT_EQ(w->ReadInt(), 7);
        EXPECT_EQ(w->ReadLong(), 1);
        EXPECT_EQ(w->Pos(), 12);
        EXPECT_EQ(w->ReadString(3), String("xyz"));
        EXPECT_TRUE(w->Eof());
    }
    EXPECT_TRUE(inner->closed);
    auto empty = MakeRef<TStreamWrapper>();
    EXPECT_THROW(empty->Pos(), TNullObjectException);
}

TEST(StreamTransfers, LoadBytesGrowsAndStopsWhenReadsDryUp) {
    std::string big(5000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    ByteArray all = LoadBytes(Ref<Object>(MakeRef<ChunkedStream>(big, 700)));
    ASSERT_EQ(all->Length(), 5000);
    EXPECT_EQ(std::memcmp(all->Data(), big.data(), big.size()), 0);

    // Read gives 0 at 1500 although the end is at 5000: stop instead of spinning.
    ByteArray part = LoadBytes(Ref<Object>(MakeRef<ChunkedStream>(big, 1 << 30, 1500)));
    EXPECT_EQ(part->Length(), 1500);

    auto to = MakeRef<ChunkedStream>("");
    PipeStream(MakeRef<ChunkedStream>(big, 1 << 30, 1500), to, 256);
    EXPECT_EQ(to->data, big.substr(0, 1500));
}

TEST(StreamTransfers, BytesLostWhenTheFileClosesAreAWriteError) {
    // Writes fill the C library's buffer; the full device refuses them when
    // the buffer is delivered, which is at Close.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_THROW(SaveText("lost", "/dev/full"), TStreamWriteException);
    EXPECT_THROW(SaveBytes(ArrayOf<uint8_t>({1, 2, 3}), "/dev/full"), TStreamWriteException);
    EXPECT_EQ(CreateBank(16)->Save("/dev/full"), 0);

    Ref<TStream> s = OpenWriteStream("/dev/full");
    ASSERT_TRUE(s);
    s->WriteInt(7);
    EXPECT_EQ(s->Flush(), -1);
    s->Close();
    EXPECT_EQ(s->Close(), 0);  // closing twice is harmless

    std::string path = TempPath("kept.bin");
    Ref<TStream> ok = OpenWriteStream(String(path));
    ok->WriteInt(7);
    EXPECT_EQ(ok->Flush(), 0);
    EXPECT_EQ(ok->Close(), 0);
}

TEST(StreamTransfers, SaveAndPipeMoveExactlyTheBytes) {
    std::string path = TempPath("save.bin");
    SaveText(String(u"a\u0142\n"), String(path));
    EXPECT_EQ(FileBytes(path), "aB\n");
    SaveBytes(ArrayOf<uint8_t>({0, 255, 10}), String(path));
    EXPECT_EQ(LoadText(String(path)), String(std::string("\0\xFF\n", 3)));

    auto from = MakeRef<ChunkedStream>("abcdefghij", 3);
    auto to = MakeRef<ChunkedStream>("");
    PipeBytes(from, to, 7, 4);
    EXPECT_EQ(to->data, "abcdefg");
    EXPECT_THROW(PipeBytes(from, to, 5, 4), TStreamReadException);
    PipeStream(MakeRef<ChunkedStream>("rest", 1), to);
    EXPECT_EQ(to->data.substr(to->data.size() - 4), "rest");

    try {
        SaveObjectTo(nullptr, String(path));
        FAIL();
    } catch (const TStringException& e) {
        EXPECT_EQ(e.ToString(), String("Unable to write object"));
    }
}
