// Crossword and template files: record files whose stream holds one row record
// per grid row, then per explanation its place, clue, optional sound and
// optional answer, then the optional "rozwiązanie", then the end record.
#include "documents/CrossTXT.h"

#include "core/FileNames.h"
#include "core/Random.h"
#include "core/SoundNames.h"
#include "documents/FailureReason.h"

#include <algorithm>
#include <charconv>

namespace mz {

namespace {

constexpr const char* MsgOpenError = "Wystąpił błąd podczas otwarcia pliku %s";
constexpr const char* MsgBadOrientation = "Błąd orientacji hasła";
constexpr const char* MsgRowTooLong = "Za długi wiersz";
constexpr const char* MsgTooManyRows = "Za dużo wierszy";
constexpr const char* MsgOtherFormat =
    "Plik %s ma format, którego Mirakolnik Zodevidar nie zapisuje w ten sposób; zapisz krzyżówkę jako .krz";

// A whole decimal integer, optionally signed; anything else fails the load.
int32_t DecimalOf(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        throw EIOOperation("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

// "PHRASE;col,row;col,row;..." with one cell per letter of the phrase.
std::string PhraseRecord(const TPhrase& phrase)
{
    std::string data = phrase.Text;
    for (const TCellPos& cell : phrase.Cells)
        data += ";" + std::to_string(cell.Col) + "," + std::to_string(cell.Row);
    return data;
}

TPhrase PhraseOfRecord(std::string_view data, const std::string& fileName)
{
    TPhrase phrase;
    size_t at = data.find(';');
    phrase.Text = std::string(data.substr(0, at));
    while (at != std::string_view::npos) {
        const size_t next = data.find(';', at + 1);
        const std::string_view cell = data.substr(at + 1, next == std::string_view::npos ? next : next - at - 1);
        const size_t comma = cell.find(',');
        if (comma == std::string_view::npos)
            throw EIOOperation(FormatMessage(MsgInconsistent, fileName));
        phrase.Cells.push_back({DecimalOf(cell.substr(0, comma)), DecimalOf(cell.substr(comma + 1))});
        at = next;
    }
    const auto letters = std::count_if(phrase.Text.begin(), phrase.Text.end(), [](char c) { return c != ' '; });
    if (phrase.Text.empty() || static_cast<size_t>(letters) != phrase.Cells.size())
        throw EIOOperation(FormatMessage(MsgInconsistent, fileName));
    return phrase;
}

// "H|V,col,row,length" of a word that lies inside the grid read so far.
TLockedWord LockedOfRecord(std::string_view data, int32_t cols, int32_t rows, const std::string& fileName)
{
    std::vector<std::string_view> parts;
    for (size_t from = 0;;) {
        const size_t comma = data.find(',', from);
        parts.push_back(data.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
    if (parts.size() != 4 || (parts[0] != "H" && parts[0] != "V"))
        throw EIOOperation(FormatMessage(MsgInconsistent, fileName));
    const TLockedWord word{DecimalOf(parts[1]), DecimalOf(parts[2]), parts[0] == "H", DecimalOf(parts[3])};
    const int32_t endCol = word.Horizontal ? word.Col + word.Length - 1 : word.Col;
    const int32_t endRow = word.Horizontal ? word.Row : word.Row + word.Length - 1;
    if (word.Col < 1 || word.Row < 1 || word.Length < 1 || endCol > cols || endRow > rows)
        throw EIOOperation(FormatMessage(MsgInconsistent, fileName));
    return word;
}

} // namespace

void TCrossTXT::LoadRecordFile(const std::string& name, std::string_view* bytes)
{
    Clear();
    FileName = name;
    try {
        const TRecordHandler onRecord = [this](const TDataFromBuf& record) { ReadRecord(record); };
        if (bytes)
            ReadRecordData(*bytes, name, {}, onRecord);
        else
            ReadRecordFile(name, {}, onRecord);
    } catch (const std::exception& e) {
        // Whatever went wrong inside, the user learns that this file did not
        // open; when the system refused it (no such file, no access), also why.
        throw EFailureWithReason(FormatMessage(MsgOpenError, name), ReasonOf(e));
    }
    Modified = false;
}

void TCrossTXT::ReadRecord(const TDataFromBuf& record)
{
    const std::string& data = record.Data;
    switch (record.RecType) {
    case rtRow:
        // Checked before any cell is made, so that a file claiming a huge grid
        // costs no more memory than a valid one.
        if (FRowCount >= MaxGridRows || data.size() > static_cast<size_t>(MaxGridCols))
            throw EIOOperation(FormatMessage(MsgInconsistent, FileName));
        ++FRowCount;
        FColCount = std::max<int32_t>(FColCount, static_cast<int32_t>(data.size()));
        for (size_t i = 0; i < data.size(); ++i)
            AddCell(static_cast<int32_t>(i + 1), FRowCount, static_cast<unsigned char>(data[i]));
        break;
    case rtPlace: {
        if (data.size() < 5 || static_cast<int64_t>(Expls.size()) >= MaxExplsOf(FColCount, FRowCount))
            throw EIOOperation(FormatMessage(MsgInconsistent, FileName));
        Expls.push_back({});
        TExpl& expl = Expls.back().Expl;
        if (data[0] == 'H')
            expl.Horizontal = true;
        else if (data[0] == 'V')
            expl.Horizontal = false;
        else
            throw EIOOperation(MsgBadOrientation);
        const std::string_view rest = std::string_view(data).substr(2);
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos)
            throw EIOOperation("'" + std::string(rest) + "' is not a valid integer value");
        expl.Col = DecimalOf(rest.substr(0, comma));
        expl.Row = DecimalOf(rest.substr(comma + 1));
        break;
    }
    case rtExpl:
    case rtAudio:
    case rtAnswer:
        // The writer never puts a clue, a sound or an answer before the first
        // place record; such a file has nothing to attach them to.
        if (Expls.empty())
            throw EIOOperation(FormatMessage(MsgInconsistent, FileName));
        if (record.RecType == rtExpl) {
            Expls.back().Expl.Explanation = data;
            NumberBack();
        } else if (record.RecType == rtAudio) {
            if (data.empty() || IsPlainSoundName(data)) {
                Expls.back().Expl.Audio = data;
            } else {
                // A name that could reach outside the audio directory: the clue
                // stays, the sound goes, and the caller can tell the user.
                ++RefusedSounds;
            }
        } else {
            Expls.back().Expl.Answer = data;
        }
        break;
    case rtPhrase:
        FPhrase = PhraseOfRecord(data, FileName);
        break;
    case rtLocked:
        FLocked.push_back(LockedOfRecord(data, FColCount, FRowCount, FileName));
        break;
    default:
        break;
    }
}

void TCrossTXT::SaveToFile(const std::string& name)
{
    // The clock seed comes first, so a save that fails before the file is
    // touched has reseeded the generator all the same.
    GlobalRandom().Reseed();
    // A file read from another format is never overwritten with a record file:
    // the reader of its own extension could no longer open it.
    const std::string ext = OpenExtensionOf(name);
    if (ext == "xwd" || ext == "ipuz")
        throw EIOOperation(FormatMessage(MsgOtherFormat, name));
    FileName = name;
    // All row texts are built before anything touches the disk, so a missing
    // cell or an over-long row leaves the previous file as it was.
    // Nothing larger than the readers take is written.
    if (FColCount > MaxGridCols)
        throw EIOOperation(MsgRowTooLong);
    if (FRowCount > MaxGridRows)
        throw EIOOperation(MsgTooManyRows);
    std::vector<std::string> rows;
    rows.reserve(static_cast<size_t>(std::max(FRowCount, 0)));
    for (int32_t r = 1; r <= FRowCount; ++r) {
        std::string row;
        row.reserve(static_cast<size_t>(std::max(FColCount, 0)));
        for (int32_t c = 1; c <= FColCount; ++c)
            row.push_back(static_cast<char>(GetCell(c, r)));
        rows.push_back(std::move(row));
    }
    WriteRecordFile(name, MakeRecordHeader(Kind == 1 ? PatternHeader : CrossWordHeader), [&](TDataAccess& access) {
        for (const auto& row : rows)
            access.WriteRecord(rtRow, row);
        for (auto it = Expls.rbegin(); it != Expls.rend(); ++it) {
            const TExpl& expl = it->Expl;
            access.WriteRecord(rtPlace,
                               std::string(expl.Horizontal ? "H" : "V") + "," + std::to_string(expl.Col) + ","
                                   + std::to_string(expl.Row));
            access.WriteRecord(rtExpl, expl.Explanation);
            if (!expl.Audio.empty())
                access.WriteRecord(rtAudio, expl.Audio);
            if (!expl.Answer.empty())
                access.WriteRecord(rtAnswer, expl.Answer);
        }
        if (!FPhrase.Empty())
            access.WriteRecord(rtPhrase, PhraseRecord(FPhrase));
        for (const TLockedWord& word : FLocked)
            access.WriteRecord(rtLocked,
                               std::string(word.Horizontal ? "H" : "V") + "," + std::to_string(word.Col) + ","
                                   + std::to_string(word.Row) + "," + std::to_string(word.Length));
    });
    Modified = false;
}

} // namespace mz
