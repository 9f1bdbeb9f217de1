#include "database/WordBase.h"

#include "core/Cp1250.h"
#include "core/SystemError.h"
#include "database/DBData.h"
#include "database/WordCheck.h"
#include "documents/DataAccess.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace mz {

namespace {

namespace fs = std::filesystem;

int32_t EditionOf(const TRecordHeader& header)
{
    return static_cast<int32_t>(static_cast<uint32_t>(header[60]) | static_cast<uint32_t>(header[61]) << 8
                                | static_cast<uint32_t>(header[62]) << 16 | static_cast<uint32_t>(header[63]) << 24);
}

std::string Utf8(std::string_view cp1250)
{
    return Cp1250ToUtf8(cp1250);
}

fs::path PathOf(const std::string& name)
{
    return fs::path(std::u8string(name.begin(), name.end()));
}

bool FileExists(const std::string& name)
{
    std::error_code ec;
    return fs::exists(PathOf(name), ec);
}

// Copies `from` over `to` through a temporary file, so `to` is either the old
// or the new copy. Returns the system's reason of a failure, empty on success.
std::string CopyReplacing(const std::string& from, const std::string& to)
{
    std::ifstream in(PathOf(from), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail())
        return SystemErrorText(errno);
    try {
        ReplaceFileContents(to, bytes);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

// One step read from a change file, applied only when the whole file was read.
struct TUserEntry {
    bool Removal = false;
    TBaseWord Word;
};

} // namespace

std::string TBaseWord::SoundName() const
{
    const size_t end = Audio.find("\r\n");
    return end == std::string::npos ? Audio : Audio.substr(0, end);
}

bool TBaseWord::operator==(const TBaseWord& other) const
{
    const auto sameRecord = [](const TDBFileRecord& a, const TDBFileRecord& b) {
        return a.Kind == b.Kind && a.Text == b.Text;
    };
    return PWord == other.PWord && Explanations == other.Explanations && Audio == other.Audio
        && Excluded == other.Excluded && UserEdited == other.UserEdited
        && std::equal(Other.begin(), Other.end(), other.Other.begin(), other.Other.end(), sameRecord);
}

void TBaseWord::SetSoundName(const std::string& name)
{
    Audio = name.empty() ? std::string() : name + "\r\n";
}

TRegister TBaseWord::Register() const
{
    for (const TDBFileRecord& record : Other)
        if (record.Kind == DBRecRegister)
            return RegisterOfRecord(record.Text);
    return rgOrdinary;
}

void TBaseWord::SetRegister(TRegister reg)
{
    std::erase_if(Other, [](const TDBFileRecord& record) { return record.Kind == DBRecRegister; });
    if (reg != rgOrdinary)
        Other.push_back({DBRecRegister, Utf8ToCp1250(RegisterKey(reg))});
}

std::string TShippedStamp::Text() const
{
    return std::to_string(Edition) + " " + std::to_string(Size) + " " + std::to_string(Checksum);
}

std::optional<TShippedStamp> TShippedStamp::Parse(std::string_view text)
{
    TShippedStamp stamp;
    long long edition = 0;
    unsigned long long size = 0;
    unsigned long checksum = 0;
    const std::string copy(text);
    char extra = 0;
    if (std::sscanf(copy.c_str(), "%lld %llu %lu %c", &edition, &size, &checksum, &extra) != 3)
        return std::nullopt;
    stamp.Edition = static_cast<int32_t>(edition);
    stamp.Size = size;
    stamp.Checksum = static_cast<uint32_t>(checksum);
    return stamp;
}

TShippedStamp StampOf(const std::string& fileName, int32_t edition)
{
    TShippedStamp stamp;
    stamp.Edition = edition;
    std::error_code ec;
    stamp.Size = fs::file_size(PathOf(fileName), ec);
    if (ec)
        stamp.Size = 0;
    std::ifstream in(PathOf(fileName), std::ios::binary);
    if (in && stamp.Size >= 4) {
        unsigned char bytes[4] = {};
        in.seekg(static_cast<std::streamoff>(stamp.Size - 4));
        in.read(reinterpret_cast<char*>(bytes), 4);
        if (in)
            stamp.Checksum = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8
                | static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    }
    return stamp;
}

const TBaseWord* TWordBase::Find(std::string_view word) const
{
    const auto it = Positions.find(std::string(word));
    return it == Positions.end() ? nullptr : &Words[it->second];
}

bool TWordBase::IsShipped(std::string_view word) const
{
    return ShippedWords.count(std::string(word)) > 0;
}

void TWordBase::Reindex(size_t from)
{
    for (size_t i = from; i < Words.size(); ++i)
        Positions[Words[i].PWord] = i;
}

void TWordBase::Put(TBaseWord entry, size_t position)
{
    Removed.erase(entry.PWord);
    position = std::min(position, Words.size());
    Words.insert(Words.begin() + static_cast<std::ptrdiff_t>(position), std::move(entry));
    Reindex(position);
}

size_t TWordBase::Take(const std::string& word)
{
    const size_t position = Positions.at(word);
    Positions.erase(word);
    Words.erase(Words.begin() + static_cast<std::ptrdiff_t>(position));
    Reindex(position);
    if (ShippedWords.count(word))
        Removed.insert(word);
    return position;
}

void TWordBase::Apply(TWordChange& change, bool reverse)
{
    const std::optional<TBaseWord>& from = reverse ? change.After : change.Before;
    const std::optional<TBaseWord>& to = reverse ? change.Before : change.After;
    if (from && !Find(from->PWord))
        throw EDBInvalidOperation("Hasła " + Utf8(from->PWord) + " nie ma w bazie");
    if (to && (!from || from->PWord != to->PWord) && Find(to->PWord))
        throw EDBInvalidOperation("Hasło " + Utf8(to->PWord) + " już jest w bazie");
    if (from && to && from->PWord == to->PWord) {
        const size_t position = Positions.at(to->PWord);
        Words[position] = *to;
        change.Position = position;
        return;
    }
    size_t position = Words.size();
    if (from)
        position = Take(from->PWord);
    else if (reverse)
        position = change.Position;
    if (to)
        Put(*to, position);
    if (!reverse)
        change.Position = position;
}

void TWordBase::LoadShipped(const std::string& fileName)
{
    Words.clear();
    Positions.clear();
    ShippedWords.clear();
    Removed.clear();
    Edition_ = -1;
    TBaseWord* current = nullptr;
    try {
        ReadRecordFile(
            fileName, [&](const TRecordHeader& header) { Edition_ = EditionOf(header); },
            [&](const TDataFromBuf& record) {
                switch (record.RecType) {
                case DBRecEnd:
                    break;
                case DBRecWord: {
                    // A word that comes again is one entry; its clues are added to the first.
                    const auto [it, added] = Positions.try_emplace(record.Data, Words.size());
                    if (added) {
                        Words.push_back(TBaseWord{record.Data, {}, {}, false, false, {}});
                        ShippedWords.insert(record.Data);
                    }
                    current = &Words[it->second];
                    break;
                }
                case DBRecExplanation:
                case DBRecAudio:
                case DBRecExcluded:
                    if (!current)
                        throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
                    if (record.RecType == DBRecExplanation)
                        current->Explanations.push_back(record.Data);
                    else if (record.RecType == DBRecAudio)
                        current->Audio = record.Data;
                    else
                        current->Excluded = true;
                    break;
                default:
                    if (current)
                        current->Other.push_back({record.RecType, record.Data});
                    break;
                }
            });
    } catch (const std::exception&) {
        Words.clear();
        Positions.clear();
        ShippedWords.clear();
        throw EDBInvalidOperation(FormatMessage(MsgDBLoadError, fileName));
    }
}

void TWordBase::LoadUserChanges(const std::string& fileName)
{
    std::vector<TUserEntry> entries;
    std::optional<TShippedStamp> stamp;
    try {
        ReadRecordFile(fileName, nullptr, [&](const TDataFromBuf& record) {
            switch (record.RecType) {
            case DBRecEnd:
                break;
            case DBRecShippedBase:
                stamp = TShippedStamp::Parse(record.Data);
                break;
            case DBRecRemoved:
                entries.push_back({true, TBaseWord{record.Data, {}, {}, false, false, {}}});
                break;
            case DBRecWord:
                if (record.Data.empty())
                    throw EDBInvalidOperation("puste hasło");
                entries.push_back({false, TBaseWord{record.Data, {}, {}, false, true, {}}});
                break;
            default: {
                if (entries.empty() || entries.back().Removal)
                    throw EDBInvalidOperation("rekord bez hasła");
                TBaseWord& word = entries.back().Word;
                if (record.RecType == DBRecExplanation)
                    word.Explanations.push_back(record.Data);
                else if (record.RecType == DBRecAudio)
                    word.Audio = record.Data;
                else if (record.RecType == DBRecExcluded)
                    word.Excluded = true;
                else
                    word.Other.push_back({record.RecType, record.Data});
                break;
            }
            }
        });
        // Composing loads these records as a database does; a change file that
        // load would refuse (a score that is no number, say) is damaged here
        // too, so it never reaches composing.
        TDBData check;
        for (const TUserEntry& entry : entries) {
            if (entry.Removal)
                continue;
            const TBaseWord& word = entry.Word;
            check.AddRecord(DBRecWord, word.PWord, fileName);
            for (const TDBFileRecord& other : word.Other)
                check.AddRecord(other.Kind, other.Text, fileName);
            for (const std::string& explanation : word.Explanations)
                check.AddRecord(DBRecExplanation, explanation, fileName);
            if (!word.Audio.empty())
                check.AddRecord(DBRecAudio, word.Audio, fileName);
            if (word.Excluded)
                check.AddRecord(DBRecExcluded, {}, fileName);
        }
    } catch (const std::exception&) {
        UserProblem = "Plik zmian w bazie haseł " + fileName
            + " jest uszkodzony i nie został użyty; używana jest baza dostarczona z programem.";
        if (FileExists(BackupName()))
            UserProblem += " Poprzednia wersja zmian jest w pliku " + BackupName() + ".";
        return;
    }
    // Removed words go in one pass at the end: taking them out one by one would
    // renumber the words behind each of them.
    std::unordered_set<std::string> removals;
    for (TUserEntry& entry : entries) {
        const std::string word = entry.Word.PWord;
        const auto it = Positions.find(word);
        if (entry.Removal) {
            if (it != Positions.end() && ShippedWords.count(word)) {
                removals.insert(word);
                Removed.insert(word);
            }
        } else if (it != Positions.end()) {
            removals.erase(word);
            Removed.erase(word);
            Words[it->second] = std::move(entry.Word);
        } else {
            Positions[word] = Words.size();
            Words.push_back(std::move(entry.Word));
        }
    }
    if (!removals.empty()) {
        std::erase_if(Words, [&](const TBaseWord& word) { return removals.count(word.PWord) > 0; });
        for (const std::string& word : removals)
            Positions.erase(word);
        Reindex(0);
    }
    UserFileUsed = true;
    ShippedChanged_ = stamp && !(*stamp == Stamp);
}

void TWordBase::Load(const std::string& shippedFile, const std::string& userFile)
{
    ShippedFile_ = shippedFile;
    UserFile_ = userFile;
    UserProblem.clear();
    ShippedChanged_ = false;
    UserFileUsed = false;
    LoadShipped(shippedFile);
    Stamp = StampOf(shippedFile, Edition_);
    if (!userFile.empty() && FileExists(userFile))
        LoadUserChanges(userFile);
}

std::vector<TDBFileRecord> TWordBase::Records() const
{
    std::vector<TDBFileRecord> records;
    for (const TBaseWord& word : Words) {
        records.push_back({DBRecWord, word.PWord});
        for (const TDBFileRecord& other : word.Other)
            records.push_back(other);
        for (const std::string& explanation : word.Explanations)
            records.push_back({DBRecExplanation, explanation});
        if (!word.Audio.empty())
            records.push_back({DBRecAudio, word.Audio});
        if (word.Excluded)
            records.push_back({DBRecExcluded, {}});
    }
    records.push_back({DBRecEnd, {}});
    return records;
}

void TWordBase::Save()
{
    const auto fail = [&](const std::string& why) {
        throw EDBInvalidOperation("Nie udało się zapisać zmian w bazie haseł do pliku " + UserFile_ + ": " + why);
    };
    if (UserFile_.empty())
        fail("nie wskazano pliku");
    for (const TBaseWord& word : Words) {
        if (!word.UserEdited)
            continue;
        for (const std::string& explanation : word.Explanations)
            if (explanation.size() > static_cast<size_t>(MaxRecordData))
                fail("objaśnienie hasła " + Utf8(word.PWord) + " jest dłuższe niż " + std::to_string(MaxRecordData)
                     + " znaków");
        if (word.Audio.size() > static_cast<size_t>(MaxRecordData))
            fail("nazwa pliku dźwięku hasła " + Utf8(word.PWord) + " jest za długa");
    }

    std::error_code ec;
    const fs::path target = PathOf(UserFile_);
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec)
            fail("nie można utworzyć katalogu " + target.parent_path().string() + " (" + ec.message() + ")");
    }
    // The previous file stays as the backup; a damaged one is kept apart so that
    // it does not replace the last good backup.
    if (FileExists(UserFile_)) {
        const std::string keep = UserProblem.empty() ? BackupName() : DamagedName();
        const std::string why = CopyReplacing(UserFile_, keep);
        if (!why.empty())
            fail("nie można zachować poprzedniej wersji jako " + keep + " (" + why + ")");
    }

    TRecordHeader header = MakeRecordHeader("Mirakolnik Zodevidar - zmiany bazy hasel");
    const auto edition = static_cast<uint32_t>(Edition_);
    for (int i = 0; i < 4; ++i)
        header[60 + i] = static_cast<uint8_t>(edition >> (8 * i));
    try {
        WriteRecordFile(UserFile_, header, [&](TDataAccess& out) {
            out.WriteRecord(DBRecShippedBase, Stamp.Text());
            for (const std::string& word : Removed)
                out.WriteRecord(DBRecRemoved, word);
            for (const TBaseWord& word : Words) {
                if (!word.UserEdited)
                    continue;
                out.WriteRecord(DBRecWord, word.PWord);
                for (const TDBFileRecord& other : word.Other)
                    out.WriteRecord(other.Kind, other.Text);
                for (const std::string& explanation : word.Explanations)
                    out.WriteRecord(DBRecExplanation, explanation);
                if (!word.Audio.empty())
                    out.WriteRecord(DBRecAudio, word.Audio);
                if (word.Excluded)
                    out.WriteRecord(DBRecExcluded, {});
            }
        });
    } catch (const std::exception& e) {
        fail(e.what());
    }
    UserProblem.clear();
    UserFileUsed = true;
    ShippedChanged_ = false;
}

void TWordBase::RestoreShipped()
{
    if (!UserFile_.empty() && FileExists(UserFile_)) {
        const std::string keep = UserProblem.empty() ? BackupName() : DamagedName();
        std::error_code ec;
        fs::rename(PathOf(UserFile_), PathOf(keep), ec);
        if (ec)
            throw EDBInvalidOperation("Nie udało się odłożyć pliku zmian " + UserFile_ + " jako " + keep + ": "
                                      + ec.message());
    }
    Load(ShippedFile_, UserFile_);
}

TOwnWordsAdded AddOwnWords(TWordBase& base, const std::vector<TOwnWord>& words)
{
    TOwnWordsAdded result;
    for (const TOwnWord& own : words) {
        const TWordCheck word = CheckWord(Cp1250ToUtf8(own.Word));
        const TClueCheck clue = CheckClue(Cp1250ToUtf8(own.Clue), word.Word);
        const std::string why = !word.Error.empty() ? word.Error : clue.Error;
        if (!why.empty()) {
            result.Refused.push_back(Cp1250ToUtf8(own.Word) + ": " + why);
            continue;
        }
        const auto listed = [&](const std::vector<std::string>& list) {
            return std::find(list.begin(), list.end(), word.Word) != list.end();
        };
        if (listed(result.Added) || listed(result.Present))
            continue;
        if (base.Find(word.Word)) {
            result.Present.push_back(word.Word);
            continue;
        }
        TWordChange change{std::nullopt, TBaseWord{word.Word, {clue.Clue}, {}, false, true, {}}, 0};
        base.Apply(change);
        result.Added.push_back(word.Word);
    }
    return result;
}

} // namespace mz
