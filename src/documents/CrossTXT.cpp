#include "documents/CrossTXT.h"

#include "core/FileNames.h"
#include "documents/Ipuz.h"

#include <algorithm>

namespace mz {

namespace {

constexpr const char* MsgNoCell = "Nie odnaleziono żądanej komórki";
constexpr const char* MsgNoExpl = "Nie odnaleziono objaśnienia o żądanym numerze";
constexpr const char* MsgBadColCount = "Niewłaściwa liczba kolumn";
constexpr const char* MsgBadRowCount = "Niewłaściwa liczba wierszy";
constexpr const char* MsgUnsupported = "%s - nie jest obsługiwany przez Mirakolnika Zodevidar.";

} // namespace

TCrossTXT::TCrossTXT()
{
    AddCell(1, 1, ' ');
    FColCount = 1;
    FRowCount = 1;
    Modified = false;
}

void TCrossTXT::Clear()
{
    Cells.clear();
    Expls.clear();
    NumberPositions.clear();
    RefusedSounds = 0;
    FColCount = 0;
    FRowCount = 0;
    FExplCount = 0;
    FPhrase = {};
    FLocked.clear();
    FRevealed.clear();
    FileName.clear();
    Modified = false;
}

bool TCrossTXT::IsLocked(const TLockedWord& word) const
{
    return std::find(FLocked.begin(), FLocked.end(), word) != FLocked.end();
}

void TCrossTXT::SetLocked(const TLockedWord& word, bool locked)
{
    const auto at = std::find(FLocked.begin(), FLocked.end(), word);
    if ((at != FLocked.end()) == locked)
        return;
    if (locked)
        FLocked.push_back(word);
    else
        FLocked.erase(at);
    Modified = true;
}

bool TCrossTXT::HasCell(int32_t col, int32_t row) const
{
    return Cells.find({col, row}) != Cells.end();
}

unsigned char TCrossTXT::GetCell(int32_t col, int32_t row) const
{
    const auto it = Cells.find({col, row});
    if (it == Cells.end())
        throw EIOOperation(MsgNoCell);
    return it->second.back();
}

void TCrossTXT::SetCell(int32_t col, int32_t row, unsigned char letter)
{
    const auto it = Cells.find({col, row});
    if (it == Cells.end())
        throw EIOOperation(MsgNoCell);
    if (it->second.back() != letter) {
        it->second.back() = letter;
        FRevealed.erase({col, row});
        Modified = true;
    }
}

void TCrossTXT::AddCell(int32_t col, int32_t row, unsigned char letter)
{
    Cells[{col, row}].push_back(letter);
    Modified = true;
}

void TCrossTXT::DeleteCell(int32_t col, int32_t row)
{
    const auto it = Cells.find({col, row});
    if (it == Cells.end())
        throw EIOOperation(MsgNoCell);
    it->second.pop_back();
    if (it->second.empty()) {
        Cells.erase(it);
        FRevealed.erase({col, row});
    }
    Modified = true;
}

void TCrossTXT::SetColCount(int32_t count)
{
    if (count < 4)
        throw EIOOperation(MsgBadColCount);
    if (count == FColCount)
        return;
    if (count > FColCount) {
        for (int32_t c = FColCount + 1; c <= count; ++c)
            for (int32_t r = 1; r <= FRowCount; ++r)
                AddCell(c, r, ' ');
    } else {
        for (int32_t c = count + 1; c <= FColCount; ++c)
            for (int32_t r = 1; r <= FRowCount; ++r)
                DeleteCell(c, r);
    }
    FColCount = count;
}

void TCrossTXT::SetRowCount(int32_t count)
{
    if (count < 3)
        throw EIOOperation(MsgBadRowCount);
    if (count == FRowCount)
        return;
    if (count > FRowCount) {
        for (int32_t r = FRowCount + 1; r <= count; ++r)
            for (int32_t c = 1; c <= FColCount; ++c)
                AddCell(c, r, ' ');
    } else {
        for (int32_t c = 1; c <= FColCount; ++c)
            for (int32_t r = count + 1; r <= FRowCount; ++r)
                DeleteCell(c, r);
    }
    FRowCount = count;
}

bool TCrossTXT::IsComplete() const
{
    for (int32_t c = 1; c <= FColCount; ++c)
        for (int32_t r = 1; r <= FRowCount; ++r)
            if (!HasCell(c, r))
                return false;
    return true;
}

const TExplList& TCrossTXT::FindExpl(int32_t number) const
{
    if (number < 1 || static_cast<size_t>(number) >= NumberPositions.size() || NumberPositions[number] < 0)
        throw EIOOperation(MsgNoExpl);
    return Expls[static_cast<size_t>(NumberPositions[number])];
}

TExplList& TCrossTXT::FindExpl(int32_t number)
{
    return const_cast<TExplList&>(static_cast<const TCrossTXT&>(*this).FindExpl(number));
}

TExpl TCrossTXT::GetExpl(int32_t number) const
{
    return FindExpl(number).Expl;
}

void TCrossTXT::SetExpl(int32_t number, const TExpl& expl)
{
    TExplList& cell = FindExpl(number);
    if (!(cell.Expl == expl)) {
        cell.Expl = expl;
        Modified = true;
    }
}

void TCrossTXT::AddExpl(const TExpl& expl)
{
    Expls.push_back({expl, 0});
    NumberBack();
}

void TCrossTXT::NumberBack()
{
    TExplList& back = Expls.back();
    if (back.Number > 0)
        NumberPositions[static_cast<size_t>(back.Number)] = -1;
    back.Number = ++FExplCount;
    NumberPositions.resize(static_cast<size_t>(FExplCount) + 1, -1);
    NumberPositions[static_cast<size_t>(FExplCount)] = static_cast<int32_t>(Expls.size() - 1);
}

void TCrossTXT::SetPhrase(const TPhrase& phrase)
{
    if (!(FPhrase == phrase)) {
        FPhrase = phrase;
        Modified = true;
    }
}

void TCrossTXT::MarkRevealed(int32_t col, int32_t row)
{
    if (!HasCell(col, row))
        throw EIOOperation(MsgNoCell);
    FRevealed.insert({col, row});
}

std::vector<TExplList> TCrossTXT::ExplsInChainOrder() const
{
    return {Expls.rbegin(), Expls.rend()};
}

std::vector<TExplList> TCrossTXT::ExplsInNumberOrder() const
{
    std::vector<TExplList> result;
    for (size_t n = 1; n < NumberPositions.size(); ++n)
        if (NumberPositions[n] >= 0)
            result.push_back(Expls[static_cast<size_t>(NumberPositions[n])]);
    return result;
}

void TCrossTXT::LoadFromFile(const std::string& name)
{
    const std::string ext = OpenExtensionOf(name);
    if (ext == "krz" || ext == "sz") {
        LoadRecordFile(name, nullptr);
    } else if (ext == "xwd") {
        LoadXwdFile(name);
    } else if (ext == "ipuz") {
        Clear();
        FileName = name;
        ReadIpuz(ReadFileStart(name, MaxIpuzFileSize), name, *this);
    } else {
        throw EIOOperation(FormatMessage(MsgUnsupported, name));
    }
}

void TCrossTXT::LoadFromData(std::string_view bytes, const std::string& name)
{
    const std::string ext = OpenExtensionOf(name);
    if (ext == "krz" || ext == "sz") {
        LoadRecordFile(name, &bytes);
    } else if (ext == "xwd") {
        Clear();
        FileName = name;
        LoadXwd(bytes);
    } else if (ext == "ipuz") {
        ReadIpuz(bytes, name, *this);
    } else {
        throw EIOOperation(FormatMessage(MsgUnsupported, name));
    }
}

} // namespace mz
