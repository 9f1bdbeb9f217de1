#include "documents/DataAccess.h"

#include "core/Random.h"
#include "core/SystemError.h"
#include "documents/FailureReason.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace mz {

namespace {

[[noreturn]] void ThrowInOut(const std::string& fileName, int error)
{
    throw ESystemFailure(fileName, SystemErrorText(error ? error : EIO));
}

// A stream too short for the checksum is damage: an input/output error as
// before, but with no reason of the system to tell.
[[noreturn]] void ThrowShort(const std::string& fileName)
{
    throw EInOutError(fileName + ": " + SystemErrorText(EIO));
}

// Adds the bytes to the new file; a failure says why (a full disk, say).
void Append(TFileReplacement& file, const std::string& fileName, const uint8_t* bytes, size_t count)
{
    try {
        file.Append(std::string_view(reinterpret_cast<const char*>(bytes), count));
    } catch (const EInOutError& e) {
        ThrowWithReason(FormatMessage(MsgWriteError, fileName), e);
    }
}

int32_t ReadInt32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
                                | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void StoreInt32(uint8_t* p, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// XOR of the little-endian 32-bit words of the first `limit` bytes of the
// stream, read from its start in blocks; a partial last word is zero-padded.
uint32_t ChecksumOf(std::istream& in, int64_t limit)
{
    std::array<char, RecordBufferSize> block{};
    uint32_t sum = 0;
    // Byte k of the file goes to byte k mod 4 of the sum, so eight bytes at an
    // offset divisible by 8 go in as one little-endian word, folded at the end.
    uint64_t wide = 0;
    int64_t offset = 0;
    while (offset < limit) {
        in.read(block.data(), block.size());
        const auto got = std::min(static_cast<int64_t>(in.gcount()), limit - offset);
        if (got <= 0)
            break;
        int64_t i = 0;
        for (; i < got && ((offset + i) & 7) != 0; ++i)
            sum ^= static_cast<uint32_t>(static_cast<uint8_t>(block[i])) << (((offset + i) & 3) * 8);
        for (; i + 8 <= got; i += 8) {
            uint64_t word = 0;
            for (int b = 0; b < 8; ++b)
                word |= static_cast<uint64_t>(static_cast<uint8_t>(block[i + b])) << (8 * b);
            wide ^= word;
        }
        for (; i < got; ++i)
            sum ^= static_cast<uint32_t>(static_cast<uint8_t>(block[i])) << (((offset + i) & 3) * 8);
        offset += got;
    }
    return sum ^ static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
}

int64_t StreamSize(std::istream& in)
{
    in.clear();
    in.seekg(0, std::ios::end);
    const auto size = static_cast<int64_t>(in.tellg());
    in.seekg(0, std::ios::beg);
    return size;
}

} // namespace

TDataAccess::TDataAccess(std::string fileName) : FileName(std::move(fileName))
{
}

TDataAccess::~TDataAccess()
{
    if (Out.is_open())
        Out.close();
}

void TDataAccess::Fail(const char* pattern) const
{
    throw EIOOperation(FormatMessage(pattern, FileName));
}

void TDataAccess::InitKey()
{
    for (int i = 0; i < 7; ++i)
        Key[i] = RecordFileSeed[i] ^ RecordFileSeed[i + 1];
    SeedByte = RecordFileSeed[7];
    KeyPos = 0;
}

void TDataAccess::Descramble(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, RecordBufferSize - 1);
    if (last < first)
        return;
    // Each key byte is the scrambled byte seven places back: past the first
    // seven bytes a plain byte is its scrambled byte XOR the one seven before.
    const int count = last - first + 1;
    const int keyed = std::min(count, 7);
    std::array<uint8_t, RecordBufferSize> scrambled;
    std::copy(Buffer.begin() + first, Buffer.begin() + last + 1, scrambled.begin());
    for (int i = 0; i < keyed; ++i)
        Buffer[first + i] = scrambled[i] ^ Key[(KeyPos + i) % 7];
    for (int i = 7; i < count; ++i)
        Buffer[first + i] = scrambled[i] ^ scrambled[i - 7];
    for (int i = count - keyed; i < count; ++i)
        Key[(KeyPos + i) % 7] = scrambled[i];
    KeyPos = static_cast<uint8_t>((KeyPos + count) % 7);
}

void TDataAccess::Scramble()
{
    for (int i = 0; i < BufIndex; ++i) {
        const uint8_t c = Buffer[i] ^ Key[KeyPos];
        Buffer[i] = c;
        Key[KeyPos] = c;
        KeyPos = KeyPos == 6 ? 0 : KeyPos + 1;
    }
}

bool TDataAccess::VerifyChecksum()
{
    CheckReadableFile(FileName, MsgMissingFile);
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        ThrowInOut(FileName, errno);
    return VerifyChecksum(in);
}

bool TDataAccess::VerifyChecksum(std::istream& in)
{
    const int64_t size = StreamSize(in);
    if (size < RecordChecksumSize || !in)
        ThrowShort(FileName);
    const uint32_t sum = ChecksumOf(in, size - RecordChecksumSize);
    if (in.bad())
        ThrowInOut(FileName, EIO);
    in.clear();
    in.seekg(size - RecordChecksumSize);
    uint8_t stored[4] = {};
    in.read(reinterpret_cast<char*>(stored), 4);
    if (in.gcount() != 4)
        ThrowShort(FileName);
    return static_cast<uint32_t>(ReadInt32(stored)) == sum;
}

void TDataAccess::AppendChecksum(const std::string& fileName)
{
    std::fstream file(fileName, std::ios::binary | std::ios::in | std::ios::out);
    if (!file)
        ThrowInOut(fileName, errno);
    const int64_t size = StreamSize(file);
    const uint32_t sum = ChecksumOf(file, size);
    if (file.bad())
        ThrowInOut(fileName, EIO);
    file.clear();
    file.seekp(0, std::ios::end);
    uint8_t bytes[4];
    StoreInt32(bytes, static_cast<int32_t>(sum));
    file.write(reinterpret_cast<const char*>(bytes), 4);
    file.flush();
    if (!file)
        Fail(MsgWriteError);
}

TDataFromBuf TDataAccess::ReadRecord()
{
    // Lengths are computed in 64 bits so that no Start/End pair can wrap into
    // a plausible length. Beyond the stated 0..4096 range a record must also
    // lie inside the window and end before the checksum: the bytes beyond are
    // stale or padding, never record data.
    if (BufIndex < 0 || BufIndex + RecordHeadSize > RecordBufferSize || StreamOffset + RecordHeadSize > StreamEnd)
        Fail(MsgInconsistent);
    const uint8_t* head = Buffer.data() + BufIndex;
    TDataFromBuf record;
    record.RecType = head[0];
    const int64_t start = ReadInt32(head + 1);
    const int64_t end = ReadInt32(head + 5);
    const int64_t length = end - start + 1;
    // Nothing longer is ever written, so nothing longer is read: a file that
    // opens can always be saved again.
    if (length < 0 || length > MaxRecordData)
        Fail(MsgInconsistent);
    if (BufIndex + RecordHeadSize + length > RecordBufferSize || StreamOffset + RecordHeadSize + length > StreamEnd)
        Fail(MsgInconsistent);
    record.Data.assign(reinterpret_cast<const char*>(head + RecordHeadSize), static_cast<size_t>(length));
    BufIndex += RecordHeadSize + static_cast<int>(length);
    StreamOffset += RecordHeadSize + length;
    return record;
}

void TDataAccess::ReadRecords(std::istream& in, const THeaderHandler& onHeader, const TRecordHandler& onRecord)
{
    const int64_t size = StreamSize(in);
    if (size < RecordChecksumSize || !in)
        ThrowShort(FileName);
    StreamEnd = size - RecordChecksumSize;
    InitKey();
    Buffer.fill(0);
    in.read(reinterpret_cast<char*>(Buffer.data()), RecordBufferSize);
    if (in.bad())
        ThrowInOut(FileName, EIO);
    if (onHeader) {
        TRecordHeader header;
        std::copy_n(Buffer.begin(), RecordHeaderSize, header.begin());
        onHeader(header);
    }
    // The whole rest of the window, even past a short file's end: the zeros
    // there are never taken as records because the end record comes first.
    Descramble(RecordHeaderSize, RecordBufferSize - 1);
    StreamOffset = RecordStreamStart;
    BufIndex = RecordStreamStart;
    for (;;) {
        const TDataFromBuf record = ReadRecord();
        if (onRecord)
            onRecord(record);
        if (record.RecType == 0)
            break;
        if (BufIndex <= RecordRefillLimit)
            continue;
        // More than half of the window was consumed: move the rest to the front
        // and fill the freed tail from the file, continuing the key register.
        const int kept = RecordBufferSize - BufIndex;
        std::memmove(Buffer.data(), Buffer.data() + BufIndex, static_cast<size_t>(kept));
        in.clear();
        in.read(reinterpret_cast<char*>(Buffer.data()) + kept, BufIndex);
        if (in.bad())
            ThrowInOut(FileName, EIO);
        const int got = static_cast<int>(in.gcount());
        Descramble(kept, kept + got - 1);
        BufIndex = 0;
    }
}

void TDataAccess::CreateFile(const TRecordHeader& header)
{
    InitKey();
    Replacement = std::make_unique<TFileReplacement>(FileName);
    try {
        Replacement->Create();
    } catch (const EInOutError& e) {
        ThrowWithReason(FormatMessage(MsgWriteError, FileName), e);
    }
    Append(*Replacement, FileName, header.data(), header.size());
    for (int i = 0; i < RecordFillerSize; ++i)
        Buffer[i] = static_cast<uint8_t>(GlobalRandom().Draw(256));
    BufIndex = RecordFillerSize;
    StreamOffset = RecordStreamStart;
}

void TDataAccess::WriteRecord(uint8_t recType, std::string_view text)
{
    // The reader guarantees only MaxRecordData bytes behind a record head, so a
    // longer record would make a file that cannot be read back.
    if (text.size() > static_cast<size_t>(MaxRecordData))
        Fail(MsgWriteError);
    const auto length = static_cast<int64_t>(text.size());
    const int64_t start = StreamOffset + RecordHeadSize;
    const int64_t end = start + length - 1;
    if (end > INT32_MAX)
        Fail(MsgWriteError);
    if (BufIndex + RecordHeadSize > RecordBufferSize) {
        Flush();
        BufIndex = 0;
    }
    Buffer[BufIndex] = recType;
    StoreInt32(Buffer.data() + BufIndex + 1, static_cast<int32_t>(start));
    StoreInt32(Buffer.data() + BufIndex + 5, static_cast<int32_t>(end));
    BufIndex += RecordHeadSize;
    StreamOffset += RecordHeadSize;
    if (BufIndex + length > RecordBufferSize) {
        Flush();
        BufIndex = 0;
    }
    std::copy(text.begin(), text.end(), Buffer.begin() + BufIndex);
    BufIndex += static_cast<int>(length);
    StreamOffset += length;
}

void TDataAccess::Flush()
{
    Scramble();
    if (!Replacement)
        Fail(MsgWriteError);
    Append(*Replacement, FileName, Buffer.data(), static_cast<size_t>(BufIndex));
}

void TDataAccess::CloseFile()
{
    if (BufIndex > 0) {
        Flush();
        BufIndex = 0;
    }
    if (!Replacement)
        Fail(MsgWriteError);
    uint32_t sum = 0;
    {
        std::ifstream in(Replacement->TempName(), std::ios::binary);
        sum = ChecksumOf(in, INT64_MAX);
        if (!in.eof() || in.bad())
            ThrowWithReason(FormatMessage(MsgWriteError, FileName),
                            ESystemFailure(FileName, SystemErrorText(errno ? errno : EIO)));
    }
    uint8_t bytes[4];
    StoreInt32(bytes, static_cast<int32_t>(sum));
    Append(*Replacement, FileName, bytes, 4);
    try {
        Replacement->Commit();
    } catch (const EInOutError& e) {
        ThrowWithReason(FormatMessage(MsgWriteError, FileName), e);
    }
    Replacement.reset();
}

void ReadRecordData(std::string_view bytes, const std::string& fileName, const THeaderHandler& onHeader,
                    const TRecordHandler& onRecord)
{
    std::istringstream in{std::string(bytes), std::ios::binary};
    TDataAccess access(fileName);
    if (!access.VerifyChecksum(in))
        throw EIOOperation(FormatMessage(MsgChecksumError, fileName));
    access.ReadRecords(in, onHeader, onRecord);
}

void ReadRecordFile(const std::string& fileName, const THeaderHandler& onHeader, const TRecordHandler& onRecord)
{
    TDataAccess access(fileName);
    if (!access.VerifyChecksum())
        throw EIOOperation(FormatMessage(MsgChecksumError, fileName));
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        ThrowInOut(fileName, errno);
    access.ReadRecords(in, onHeader, onRecord);
}

void WriteRecordFile(const std::string& fileName, const TRecordHeader& header,
                     const std::function<void(TDataAccess&)>& writeRecords)
{
    TDataAccess access(fileName);
    access.CreateFile(header);
    if (writeRecords)
        writeRecords(access);
    access.WriteRecord(0, {});
    access.CloseFile();
}

TRecordHeader MakeRecordHeader(std::string_view text)
{
    TRecordHeader header{};
    std::copy_n(text.begin(), std::min<size_t>(text.size(), header.size()), header.begin());
    return header;
}

} // namespace mz
