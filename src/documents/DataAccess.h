#pragma once

#include "core/Error.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace mz {

// Every error of the documents and of the record files.
class EIOOperation : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

// A file that cannot be opened, created, read or written at the operating-system
// level. Its message is the system's own text, not one of the program's messages.
class EInOutError : public EIOOperation {
public:
    using EIOOperation::EIOOperation;
};

class TFileReplacement;

// One record as the reader hands it out.
struct TDataFromBuf {
    std::string Data;
    uint8_t RecType = 0;
};

// The eight bytes the scrambling key is built from. Files written with other
// bytes cannot be read.
inline constexpr std::array<uint8_t, 8> RecordFileSeed = {0x4D, 0x5A, 0x6B, 0x72, 0x7A, 0x31, 0x9E, 0x57};

inline constexpr int RecordHeaderSize = 64; // plain header at the start of a file
inline constexpr int RecordFillerSize = 7;  // random bytes that open the scrambled stream
inline constexpr int RecordStreamStart = RecordHeaderSize + RecordFillerSize; // 71
inline constexpr int RecordHeadSize = 9;                                      // type byte, Start, End
inline constexpr int RecordBufferSize = 4096;
// The window is refilled once more than this many bytes of it were consumed.
inline constexpr int RecordRefillLimit = 2048;
// A record head never starts later than RecordRefillLimit in a full window, so
// this many data bytes are always present behind it; nothing longer is written.
inline constexpr int MaxRecordData = RecordBufferSize - RecordRefillLimit - RecordHeadSize; // 2039
inline constexpr int RecordChecksumSize = 4;

using TRecordHeader = std::array<uint8_t, RecordHeaderSize>;
using THeaderHandler = std::function<void(const TRecordHeader&)>;
using TRecordHandler = std::function<void(const TDataFromBuf&)>;

// Messages of the record files.
inline constexpr const char* MsgMissingFile = "Brak wymaganego pliku %s";
inline constexpr const char* MsgInconsistent = "Plik %s jest niespójny logicznie";
inline constexpr const char* MsgWriteError = "Wystąpił błąd podczas zapisu pliku %s";
inline constexpr const char* MsgChecksumError = "Błąd sumy kontrolnej pliku %s";

// The record-file container shared by crosswords, templates and the word
// database: a plain 64-byte header, a scrambled stream (7 filler bytes, then
// typed records, the last of type 0) and a plain XOR checksum.
//
// One object serves one load or one save. The key register carries the
// scrambling state across every refill and flush and is never reset in between.
//
// Reading: VerifyChecksum, then ReadRecords (or the free function ReadRecordFile
// that does both). Writing: CreateFile, WriteRecord..., CloseFile (or the free
// function WriteRecordFile). Saving goes to a temporary file (TFileReplacement)
// that replaces FileName only after the whole file including its checksum was
// written; an object destroyed before CloseFile removes its temporary file.
class TDataAccess {
public:
    explicit TDataAccess(std::string fileName = {});
    ~TDataAccess();
    TDataAccess(const TDataAccess&) = delete;
    TDataAccess& operator=(const TDataAccess&) = delete;

    // Checks the file named FileName; "Brak wymaganego pliku %s" when it is missing.
    bool VerifyChecksum();
    // The same check on any byte stream; a stream shorter than 4 bytes is an
    // input/output error.
    bool VerifyChecksum(std::istream& in);
    // Appends the checksum to the closed file of that name.
    void AppendChecksum(const std::string& fileName);

    // Windowed reading from the start of the stream to the type-0 record: the
    // header goes to onHeader (may be empty), every record, the end record
    // included, to onRecord. The checksum is not tested here.
    void ReadRecords(std::istream& in, const THeaderHandler& onHeader, const TRecordHandler& onRecord);

    // Creates the temporary file, writes the header and the seven filler bytes
    // drawn from GlobalRandom() (the caller reseeds it when it wants to).
    void CreateFile(const TRecordHeader& header);
    // Texts longer than MaxRecordData are refused with the save error.
    void WriteRecord(uint8_t recType, std::string_view text);
    void Flush();
    // Flushes, closes, appends the checksum and puts the file in place of FileName.
    void CloseFile();

private:
    // Tests reach the buffer and the single steps through this (defined in the tests).
    friend struct TDataAccessTestAccess;

    void InitKey();
    // Unscrambles Buffer[first..last] in place; nothing when last < first.
    void Descramble(int first, int last);
    // Scrambles the first BufIndex bytes of Buffer in place.
    void Scramble();
    // The next record of the window at BufIndex.
    TDataFromBuf ReadRecord();
    [[noreturn]] void Fail(const char* pattern) const;

    std::string FileName;
    uint8_t SeedByte = 0;
    uint8_t KeyPos = 0;
    std::array<uint8_t, 7> Key{};
    std::array<uint8_t, RecordBufferSize> Buffer{};
    int64_t StreamOffset = 0; // file offset of the next stream byte
    int BufIndex = 0;         // position in Buffer of the next byte to read or write
    // File offset where the stream ends (the checksum begins); records must not
    // reach past it. Unlimited until ReadRecords learns the file size.
    int64_t StreamEnd = INT64_MAX;

    std::ofstream Out;
    std::unique_ptr<TFileReplacement> Replacement;
};

// Whole load: checksum test ("Błąd sumy kontrolnej pliku %s" on a mismatch),
// then every record in file order. Errors are EIOOperation (EInOutError for
// the operating system's failures).
void ReadRecordFile(const std::string& fileName, const THeaderHandler& onHeader, const TRecordHandler& onRecord);
// The same for a file held in memory; fileName only names it in messages.
void ReadRecordData(std::string_view bytes, const std::string& fileName, const THeaderHandler& onHeader,
                    const TRecordHandler& onRecord);

// Whole save: header, filler, the records that writeRecords writes, the end
// record, checksum; the previous file is replaced only when all of it succeeded.
void WriteRecordFile(const std::string& fileName, const TRecordHeader& header,
                     const std::function<void(TDataAccess&)>& writeRecords);

// A header holding the text, padded with zero bytes.
TRecordHeader MakeRecordHeader(std::string_view text);

} // namespace mz
