#include "documents/Ipuz.h"

#include "documents/FileReplacement.h"

#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "core/SoundNames.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"
#include "documents/CrosswordKind.h"
#include "documents/FailureReason.h"
#include "documents/Json.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

namespace mz {

namespace {

// The reader takes every grid the writer writes, up to the largest a document holds.
constexpr int32_t MaxIpuzWidth = MaxGridCols;
constexpr int32_t MaxIpuzHeight = MaxGridRows;
constexpr int32_t MinIpuzWidth = 4;
constexpr int32_t MinIpuzHeight = 3;
// Plain direction names: some readers take no display name after a colon.
// The Polish headings go in an extension field.
const std::string AcrossKey = "Across";
const std::string DownKey = "Down";

std::string Utf8(std::string_view cp1250)
{
    return Cp1250ToUtf8(cp1250);
}

// Clue texts may hold HTML in ipuz: the three characters that would start
// markup are written as entities.
std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out.push_back(c);
    }
    return out;
}

// The key of a clue's sound: an across and a down clue may share a number.
std::string SoundKey(bool horizontal, const std::string& label)
{
    return (horizontal ? "Across:" : "Down:") + label;
}

TJson CellList(const std::vector<TCellPos>& cells)
{
    TJson::TArray list;
    for (const TCellPos& cell : cells)
        list.push_back(TJson(TJson::TArray{cell.Col, cell.Row}));
    return list;
}

std::string TitleOf(const TCrossTXT& doc)
{
    std::string name = FileNamePart(doc.FileName);
    const std::string extension = ExtensionOf(name);
    if (!extension.empty())
        name.resize(name.size() - extension.size() - 1);
    return name;
}

} // namespace

std::string IpuzText(const TCrossTXT& doc)
{
    const int32_t cols = doc.ColCount();
    const int32_t rows = doc.RowCount();
    const TCrosswordKind& kind = KindOf(doc);
    const TCellFaces faces = kind.Faces(doc);
    bool solutionKnown = true;
    bool anyTyped = false;
    TJson::TArray puzzle, solved, saved;
    for (int32_t r = 1; r <= rows; ++r) {
        TJson::TArray puzzleRow, solvedRow, savedRow;
        for (int32_t c = 1; c <= cols; ++c) {
            const TCellFace& face = faces.At(c, r);
            if (face.Shape != TCellShape::Letter) {
                puzzleRow.emplace_back("#");
                solvedRow.emplace_back("#");
                savedRow.emplace_back("#");
                continue;
            }
            puzzleRow.emplace_back(face.Number);
            solutionKnown = solutionKnown && face.Answer != 0;
            solvedRow.emplace_back(Utf8(std::string(1, static_cast<char>(face.Answer))));
            if (face.Letter != BlankCell && face.Letter != HiddenLetterCell) {
                anyTyped = true;
                savedRow.emplace_back(Utf8(std::string(1, static_cast<char>(face.Letter))));
            } else {
                savedRow.emplace_back(0);
            }
        }
        puzzle.emplace_back(std::move(puzzleRow));
        solved.emplace_back(std::move(solvedRow));
        saved.emplace_back(std::move(savedRow));
    }

    TJson::TArray across, down;
    TJson::TObject sounds;
    bool anyClue = false;
    // Every clue stands at its numbered cell; an explanation whose word starts
    // on a block or off the grid has no cell to stand at and is not written.
    for (const TClueSection& section : kind.Clues(doc)) {
        const bool horizontal = section.Direction == TDirection::Across;
        for (const TNumberedWord& item : section.Words) {
            const TExpl& expl = item.Word;
            TJson::TObject clue{{"number", item.Number}, {"clue", HtmlEscaped(Utf8(expl.Explanation))}};
            clue.emplace_back("cells", CellList(kind.WordCells(doc, expl)));
            if (!expl.Answer.empty())
                clue.emplace_back("answer", Utf8(expl.Answer));
            (horizontal ? across : down).emplace_back(std::move(clue));
            if (!expl.Audio.empty())
                sounds.emplace_back(SoundKey(horizontal, std::to_string(item.Number)), Utf8(expl.Audio));
            anyClue = true;
        }
    }

    TJson::TObject root{{"version", "http://ipuz.org/v2"},
                        {"kind", TJson::TArray{TJson(kind.IpuzKind())}},
                        {"origin", "Mirakolnik Zodevidar"}};
    if (const std::string title = TitleOf(doc); !title.empty())
        root.emplace_back("title", title);
    root.emplace_back("dimensions", TJson::TObject{{"width", cols}, {"height", rows}});
    root.emplace_back("block", "#");
    root.emplace_back("empty", "0");
    root.emplace_back("puzzle", std::move(puzzle));
    if (solutionKnown && anyClue)
        root.emplace_back("solution", std::move(solved));
    if (anyTyped)
        root.emplace_back("saved", std::move(saved));
    root.emplace_back("clues", TJson::TObject{{AcrossKey, std::move(across)}, {DownKey, std::move(down)}});
    root.emplace_back(IpuzExtensionHeadings,
                      TJson::TObject{{AcrossKey, Utf8(kind.Heading(TDirection::Across))},
                                     {DownKey, Utf8(kind.Heading(TDirection::Down))}});
    if (!sounds.empty())
        root.emplace_back(IpuzExtensionAudio, std::move(sounds));
    if (const TPhrase& phrase = doc.Phrase(); !phrase.Empty())
        root.emplace_back(IpuzExtensionPhrase,
                          TJson::TObject{{"phrase", Utf8(phrase.Text)}, {"cells", CellList(phrase.Cells)}});
    return TJson(std::move(root)).Write();
}

std::string IpuzProblem(const TCrossTXT& doc)
{
    const int32_t cols = doc.ColCount();
    const int32_t rows = doc.RowCount();
    if (cols < MinIpuzWidth || rows < MinIpuzHeight || cols > MaxIpuzWidth || rows > MaxIpuzHeight)
        return "siatka " + std::to_string(cols) + " × " + std::to_string(rows) + " (ipuz przyjmuje od "
            + std::to_string(MinIpuzWidth) + " × " + std::to_string(MinIpuzHeight) + " do "
            + std::to_string(MaxIpuzWidth) + " × " + std::to_string(MaxIpuzHeight) + ")";
    // A letter the reader takes back: one a cell can hold, in either case.
    const auto readable = [](unsigned char c) {
        const unsigned char upper = Cp1250ToUpper(c);
        return IsCellChar(upper) && upper != '*' && upper != '?' && upper != ' ';
    };
    for (int32_t r = 1; r <= rows; ++r)
        for (int32_t c = 1; c <= cols; ++c) {
            const unsigned char cell = doc.HasCell(c, r) ? doc.GetCell(c, r) : '*';
            if (cell != '*' && cell != ' ' && cell != '?' && !readable(cell))
                return "pole (" + std::to_string(c) + "," + std::to_string(r) + ") zawiera znak spoza liter siatki";
        }
    if (const TPhrase& phrase = doc.Phrase(); !phrase.Empty()) {
        for (const TCellPos& cell : phrase.Cells)
            if (cell.Col < 1 || cell.Row < 1 || cell.Col > cols || cell.Row > rows)
                return "pole rozwiązania (" + std::to_string(cell.Col) + "," + std::to_string(cell.Row)
                    + ") leży poza siatką";
        std::string normalized;
        try {
            normalized = NormalizePhrase(phrase.Text);
        } catch (const EIOOperation&) {
        }
        if (std::count_if(normalized.begin(), normalized.end(), [](char c) { return c != ' '; })
            != static_cast<std::ptrdiff_t>(phrase.Cells.size()))
            return "hasło rozwiązania ma znaki spoza liter siatki";
    }
    for (const TExplList& item : doc.ExplsInNumberOrder()) {
        const TExpl& expl = item.Expl;
        const std::string where = "hasło " + std::to_string(item.Number) + " (" + std::to_string(expl.Col) + ","
            + std::to_string(expl.Row) + ")";
        if (!std::all_of(expl.Answer.begin(), expl.Answer.end(),
                         [&](char c) { return readable(static_cast<unsigned char>(c)); }))
            return where + " ma odpowiedź ze znakiem spoza liter siatki";
        if (expl.Col < 1 || expl.Row < 1 || expl.Col > cols || expl.Row > rows)
            return where + " leży poza siatką";
        if (!doc.HasCell(expl.Col, expl.Row) || doc.GetCell(expl.Col, expl.Row) == '*')
            return where + " zaczyna się na zaczernionym polu";
    }
    return {};
}

void ExportAsIpuz(const TCrossTXT& doc, const std::string& name)
{
    // Nothing is written that the reader would refuse.
    const auto refuse = [&](const std::string& reason) {
        return EFailureWithReason(FormatMessage(MsgWriteError, name), reason);
    };
    if (const std::string problem = IpuzProblem(doc); !problem.empty())
        throw refuse("w formacie ipuz nie da się zapisać: " + problem);
    WriteExportFile(name, [&] {
        std::string text = IpuzText(doc);
        if (text.size() > MaxIpuzFileSize)
            throw refuse("plik ipuz byłby większy niż " + std::to_string(MaxIpuzFileSize >> 20) + " MiB");
        return text;
    });
}

namespace {

// Reading. Two kinds of failure: a file that is not valid ipuz, and a valid
// one holding something this program cannot show; each message names the file.
class TIpuzReader {
public:
    TIpuzReader(const std::string& name, TCrossTXT& doc) : Name(name), Doc(doc) { }

    void Read(std::string_view bytes);
    // What the read left out or changed (styles, linked clues), UTF-8; empty for nothing.
    const std::string& Note() const { return FNote; }

private:
    struct TCellData {
        bool Block = false;
        std::string Label; // the clue number or label printed in the cell
        unsigned char Given = 0;
    };
    struct TClue {
        bool Horizontal = true;
        std::string Label;
        std::optional<int64_t> Number;
        std::string Text;   // CP1250
        std::string Answer; // CP1250, as the file gave it
        std::vector<TCellPos> Cells;
        std::string Continued; // the other parts of a linked clue ("5 pionowo"), when it has them
    };

    [[noreturn]] void Invalid(const std::string& why) const
    {
        throw EIOOperation("Plik " + Name + " nie jest poprawnym plikiem ipuz: " + why + ".");
    }
    [[noreturn]] void Unsupported(const std::string& what) const
    {
        throw EIOOperation("Plik " + Name + " zawiera coś, czego Mirakolnik Zodevidar nie potrafi pokazać: " + what
                           + ".");
    }

    const TJson& Member(const TJson& root, const char* name) const
    {
        const TJson* value = root.Find(name);
        if (!value)
            Invalid(std::string("brak pola „") + name + "”");
        return *value;
    }

    void CheckKind(const TJson& root) const;
    void ReadDimensions(const TJson& root);
    void ReadPuzzle(const TJson& root);
    unsigned char LetterOf(const TJson& value, const char* field, int32_t row, int32_t col) const;
    std::vector<std::vector<unsigned char>> ReadLetters(const TJson& grid, const char* field) const;
    void ReadClues(const TJson& root);
    TClue ClueOf(const TJson& item, bool horizontal) const;
    std::vector<TCellPos> CellsOf(const TJson& list, const std::string& what) const;
    void Build(const TJson& root);

    bool IsBlockValue(const TJson& value) const { return value.IsString() && value.String() == BlockText; }
    bool IsEmptyValue(const TJson& value) const
    {
        return (value.IsString() && value.String() == EmptyText)
            || (value.IsInteger() && std::to_string(value.Integer()) == EmptyText)
            || (value.IsInteger() && value.Integer() == 0);
    }

    std::string Name;
    TCrossTXT& Doc;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string BlockText = "#";
    std::string EmptyText = "0";
    std::vector<std::vector<TCellData>> Cells; // [row][col], from 0
    std::vector<TClue> Clues;
    int32_t StyledCells = 0;
    std::string FNote;
};

// Kinds are URIs; "http://ipuz.org/crossword#1" and its https form are crosswords.
bool IsCrosswordKind(const std::string& kind)
{
    for (const char* prefix : {"http://ipuz.org/crossword", "https://ipuz.org/crossword"})
        if (kind.rfind(prefix, 0) == 0)
            return true;
    return false;
}

void TIpuzReader::CheckKind(const TJson& root) const
{
    const TJson& kind = Member(root, "kind");
    if (!kind.IsArray() || kind.Array().empty())
        Invalid("pole „kind” nie jest listą rodzajów");
    for (const TJson& item : kind.Array()) {
        if (!item.IsString())
            Invalid("pole „kind” nie jest listą rodzajów");
        if (item.String().find("barred") != std::string::npos)
            Unsupported("krzyżówka z kreskami między polami zamiast zaczernień (" + item.String() + ")");
        if (!IsCrosswordKind(item.String()))
            Unsupported("łamigłówka rodzaju „" + item.String() + "” (obsługiwane są tylko krzyżówki)");
    }
}

void TIpuzReader::ReadDimensions(const TJson& root)
{
    const TJson& dimensions = Member(root, "dimensions");
    const TJson* width = dimensions.Find("width");
    const TJson* height = dimensions.Find("height");
    if (!width || !height || !width->IsInteger() || !height->IsInteger() || width->Integer() < 1
        || height->Integer() < 1)
        Invalid("pole „dimensions” nie podaje szerokości i wysokości siatki");
    Width = width->Integer();
    Height = height->Integer();
    if (Width < MinIpuzWidth || Height < MinIpuzHeight)
        Unsupported("siatka " + std::to_string(Width) + " × " + std::to_string(Height) + " (najmniejsza to "
                    + std::to_string(MinIpuzWidth) + " × " + std::to_string(MinIpuzHeight) + ")");
    if (Width > MaxIpuzWidth || Height > MaxIpuzHeight)
        Unsupported("siatka " + std::to_string(Width) + " × " + std::to_string(Height) + " (największa to "
                    + std::to_string(MaxIpuzWidth) + " × " + std::to_string(MaxIpuzHeight) + ")");
}

std::string LabelOf(const TJson& value)
{
    if (value.IsInteger())
        return std::to_string(value.Integer());
    if (value.IsString())
        return value.String();
    return {};
}

void TIpuzReader::ReadPuzzle(const TJson& root)
{
    if (const TJson* block = root.Find("block"); block && (block->IsString() || block->IsInteger()))
        BlockText = LabelOf(*block);
    if (const TJson* empty = root.Find("empty"); empty && (empty->IsString() || empty->IsInteger()))
        EmptyText = LabelOf(*empty);
    const TJson& puzzle = Member(root, "puzzle");
    if (!puzzle.IsArray() || static_cast<int32_t>(puzzle.Array().size()) != Height)
        Invalid("pole „puzzle” nie ma " + std::to_string(Height) + " wierszy");
    Cells.assign(size_t(Height), std::vector<TCellData>(size_t(Width)));
    for (int32_t r = 0; r < Height; ++r) {
        const TJson& row = puzzle.Array()[size_t(r)];
        if (!row.IsArray() || static_cast<int32_t>(row.Array().size()) != Width)
            Invalid("wiersz " + std::to_string(r + 1) + " pola „puzzle” nie ma " + std::to_string(Width) + " pól");
        for (int32_t c = 0; c < Width; ++c) {
            const TJson* value = &row.Array()[size_t(c)];
            TCellData& cell = Cells[size_t(r)][size_t(c)];
            if (value->IsObject()) {
                // Bars change where words end, so such a grid is refused;
                // circles, colours and borders only decorate and are dropped.
                if (const TJson* style = value->Find("style"); style && !style->IsNull()) {
                    if (style->IsObject() && style->Find("barred"))
                        Unsupported("kreski między polami (barred)");
                    if (!style->IsObject() || !style->Object().empty())
                        ++StyledCells;
                }
                if (const TJson* given = value->Find("value"); given && !given->IsNull())
                    cell.Given = LetterOf(*given, "puzzle", r, c);
                const TJson* inner = value->Find("cell");
                static const TJson emptyCell;
                value = inner ? inner : &emptyCell;
            }
            // An omitted cell (null) is not part of the crossword; it is shown as a block.
            if (value->IsNull() || IsBlockValue(*value)) {
                cell.Block = true;
            } else if (!IsEmptyValue(*value)) {
                if (!value->IsInteger() && !value->IsString())
                    Invalid("niepoprawne pole w wierszu " + std::to_string(r + 1) + " pola „puzzle”");
                cell.Label = LabelOf(*value);
            }
        }
    }
}

// row and col count from 0; messages name them from 1.
unsigned char TIpuzReader::LetterOf(const TJson& value, const char* field, int32_t row, int32_t col) const
{
    const std::string where = " (wiersz " + std::to_string(row + 1) + ", kolumna " + std::to_string(col + 1)
        + " pola „" + field + "”)";
    const TJson* letter = &value;
    if (value.IsObject())
        letter = value.Find("value");
    if (!letter || letter->IsNull() || IsEmptyValue(*letter))
        return 0;
    if (!letter->IsString())
        Invalid("niepoprawna litera" + where);
    bool ok = true;
    const std::string cp1250 = Utf8ToCp1250(letter->String(), '?', &ok);
    if (cp1250.size() > 1)
        Unsupported("pole z kilkoma literami („" + letter->String() + "”" + where + ")");
    if (cp1250.empty())
        return 0;
    const unsigned char c = Cp1250ToUpper(static_cast<unsigned char>(cp1250[0]));
    if (!ok || !IsCellChar(c) || c == '*' || c == '?')
        Unsupported("znak „" + letter->String() + "” spoza liter, które mieszczą się w polu" + where);
    return c == ' ' ? 0 : c;
}

std::vector<std::vector<unsigned char>> TIpuzReader::ReadLetters(const TJson& grid, const char* field) const
{
    if (!grid.IsArray() || static_cast<int32_t>(grid.Array().size()) != Height)
        Invalid(std::string("pole „") + field + "” nie ma " + std::to_string(Height) + " wierszy");
    std::vector<std::vector<unsigned char>> letters(size_t(Height), std::vector<unsigned char>(size_t(Width), 0));
    for (int32_t r = 0; r < Height; ++r) {
        const TJson& row = grid.Array()[size_t(r)];
        if (!row.IsArray() || static_cast<int32_t>(row.Array().size()) != Width)
            Invalid("wiersz " + std::to_string(r + 1) + " pola „" + field + "” nie ma " + std::to_string(Width)
                    + " pól");
        for (int32_t c = 0; c < Width; ++c) {
            const TJson& value = row.Array()[size_t(c)];
            if (Cells[size_t(r)][size_t(c)].Block || IsBlockValue(value))
                continue;
            letters[size_t(r)][size_t(c)] = LetterOf(value, field, r, c);
        }
    }
    return letters;
}

std::vector<TCellPos> TIpuzReader::CellsOf(const TJson& list, const std::string& what) const
{
    if (!list.IsArray())
        Invalid("niepoprawna lista pól " + what);
    std::vector<TCellPos> cells;
    bool fitsZeroBased = true;
    bool fitsOneBased = true;
    for (const TJson& item : list.Array()) {
        if (!item.IsArray() || item.Array().size() != 2 || !item.Array()[0].IsInteger() || !item.Array()[1].IsInteger())
            Invalid("niepoprawna lista pól " + what);
        const TCellPos cell{item.Array()[0].Integer(), item.Array()[1].Integer()};
        fitsOneBased = fitsOneBased && cell.Col >= 1 && cell.Row >= 1 && cell.Col <= Width && cell.Row <= Height;
        fitsZeroBased = fitsZeroBased && cell.Col >= 0 && cell.Row >= 0 && cell.Col < Width && cell.Row < Height;
        cells.push_back(cell);
    }
    // Positions count from 1; some writers count from 0, which shows as a
    // list that only fits the grid that way.
    if (!fitsOneBased && !fitsZeroBased)
        Invalid("pola " + what + " leżą poza siatką");
    if (!fitsOneBased)
        for (TCellPos& cell : cells) {
            ++cell.Col;
            ++cell.Row;
        }
    return cells;
}

std::string WithoutMarkup(const std::string& html)
{
    std::string text;
    for (size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const size_t end = html.find('>', i);
            if (end != std::string::npos) {
                const std::string tag = AsciiLower(html.substr(i, end - i + 1));
                text += tag.rfind("<br", 0) == 0 ? " " : "";
                i = end + 1;
                continue;
            }
        }
        if (html[i] == '&') {
            static const std::pair<const char*, const char*> entities[] = {{"&amp;", "&"}, {"&lt;", "<"},
                                                                           {"&gt;", ">"},  {"&quot;", "\""},
                                                                           {"&#39;", "'"}, {"&apos;", "'"},
                                                                           {"&nbsp;", " "}};
            bool replaced = false;
            for (const auto& [entity, character] : entities)
                if (html.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
                    text += character;
                    i += std::char_traits<char>::length(entity);
                    replaced = true;
                    break;
                }
            if (replaced)
                continue;
        }
        text.push_back(html[i++]);
    }
    return text;
}

// A clue label as the note quotes it: no markup or control characters (the
// window may take the note for rich text), at most 20 bytes.
std::string NoteLabel(const std::string& label)
{
    std::string text;
    for (const char c : label.substr(0, 20))
        if (c != '<' && c != '>' && c != '&' && static_cast<unsigned char>(c) >= ' ')
            text.push_back(c);
    return text;
}

// The other parts of a linked clue: "continued" lists them by direction and
// number, "numbers" names every part, the first being the clue's own.
std::string OtherPartsOf(const TJson& clue)
{
    std::string parts;
    const auto add = [&](const std::string& part) {
        if (!part.empty())
            parts += (parts.empty() ? "" : ", ") + part;
    };
    if (const TJson* continued = clue.Find("continued"); continued && continued->IsArray())
        for (const TJson& part : continued->Array()) {
            const TJson* number = part.IsObject() ? part.Find("number") : &part;
            const TJson* direction = part.IsObject() ? part.Find("direction") : nullptr;
            std::string text = number ? NoteLabel(LabelOf(*number)) : std::string();
            if (direction && direction->IsString()) {
                const std::string name = direction->String().substr(0, direction->String().find(':'));
                text += name == "Across" ? " poziomo" : name == "Down" ? " pionowo" : " " + NoteLabel(name);
            }
            add(text);
        }
    if (const TJson* numbers = clue.Find("numbers"); numbers && numbers->IsArray())
        for (size_t i = 1; i < numbers->Array().size(); ++i)
            add(NoteLabel(LabelOf(numbers->Array()[i])));
    return parts;
}

TIpuzReader::TClue TIpuzReader::ClueOf(const TJson& item, bool horizontal) const
{
    TClue clue;
    clue.Horizontal = horizontal;
    const TJson* number = nullptr;
    const TJson* text = nullptr;
    if (item.IsArray() && item.Array().size() >= 2) {
        number = &item.Array()[0];
        text = &item.Array()[1];
    } else if (item.IsObject()) {
        number = item.Find("number");
        if (const TJson* numbers = item.Find("numbers"); !number && numbers && numbers->IsArray()
                                                         && !numbers->Array().empty())
            number = &numbers->Array()[0];
        if (!number)
            number = item.Find("label");
        text = item.Find("clue");
        if (const TJson* answer = item.Find("answer"); answer && answer->IsString())
            clue.Answer = Utf8ToCp1250(answer->String());
    } else if (item.IsString()) {
        Unsupported("hasło bez numeru („" + item.String() + "”)");
    } else {
        Invalid("niepoprawne hasło");
    }
    if (!number || (!number->IsInteger() && !number->IsString()) || LabelOf(*number).empty())
        Invalid("hasło bez numeru");
    clue.Label = LabelOf(*number);
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(clue.Label.data(), clue.Label.data() + clue.Label.size(), value);
    if (ec == std::errc() && ptr == clue.Label.data() + clue.Label.size())
        clue.Number = value;
    if (text && !text->IsNull() && !text->IsString())
        Invalid("hasło " + clue.Label + " nie ma tekstu");
    // A clue must fit a record of the crossword file.
    if (text && text->IsString())
        clue.Text = Utf8ToCp1250(WithoutMarkup(text->String())).substr(0, size_t(MaxRecordData));
    if (item.IsObject()) {
        if (const TJson* cells = item.Find("cells"))
            clue.Cells = CellsOf(*cells, "hasła " + clue.Label);
        clue.Continued = OtherPartsOf(item);
    }
    return clue;
}

void TIpuzReader::ReadClues(const TJson& root)
{
    const TJson* clues = root.Find("clues");
    if (!clues)
        return;
    if (!clues->IsObject())
        Invalid("pole „clues” nie jest słownikiem kierunków");
    for (const auto& [key, list] : clues->Object()) {
        const std::string direction = key.substr(0, key.find(':'));
        if (direction != "Across" && direction != "Down")
            Unsupported("hasła w kierunku „" + key + "” (obsługiwane są tylko Across i Down)");
        if (!list.IsArray())
            Invalid("lista haseł „" + key + "” nie jest listą");
        for (const TJson& item : list.Array()) {
            if (static_cast<int64_t>(Clues.size()) >= MaxExplsOf(Width, Height))
                Invalid("więcej haseł, niż siatka " + std::to_string(Width) + " × " + std::to_string(Height)
                        + " może mieć");
            Clues.push_back(ClueOf(item, direction == "Across"));
        }
    }
}

void TIpuzReader::Build(const TJson& root)
{
    std::vector<std::vector<unsigned char>> solution;
    if (const TJson* grid = root.Find("solution"); grid && !grid->IsNull())
        solution = ReadLetters(*grid, "solution");
    std::vector<std::vector<unsigned char>> saved;
    if (const TJson* grid = root.Find("saved"); grid && !grid->IsNull())
        saved = ReadLetters(*grid, "saved");

    Doc.SetColCount(Width);
    Doc.SetRowCount(Height);
    for (int32_t r = 0; r < Height; ++r)
        for (int32_t c = 0; c < Width; ++c) {
            const TCellData& cell = Cells[size_t(r)][size_t(c)];
            unsigned char letter = ' ';
            if (cell.Block)
                letter = '*';
            else if (!saved.empty() && saved[size_t(r)][size_t(c)] != 0)
                letter = saved[size_t(r)][size_t(c)];
            else if (cell.Given != 0)
                letter = cell.Given;
            Doc.SetCell(c + 1, r + 1, letter);
        }

    // Numbered as the file numbers them: by number, the across clue before the
    // down clue of the same number, labels that are no numbers last.
    std::stable_sort(Clues.begin(), Clues.end(), [](const TClue& a, const TClue& b) {
        if (a.Number.has_value() != b.Number.has_value())
            return a.Number.has_value();
        if (a.Number && *a.Number != *b.Number)
            return *a.Number < *b.Number;
        return a.Horizontal && !b.Horizontal;
    });
    std::vector<std::string> linked;
    const TJson* sounds = root.Find(IpuzExtensionAudio);
    // Files of earlier versions key the sounds by the number alone, which was
    // then unique in both directions.
    const bool numberKeys = sounds && sounds->IsObject()
                            && std::none_of(sounds->Object().begin(), sounds->Object().end(),
                                            [](const auto& entry) { return entry.first.find(':') != std::string::npos; });
    for (const TClue& clue : Clues) {
        TExpl expl;
        expl.Horizontal = clue.Horizontal;
        expl.Explanation = clue.Text;
        TCellPos start{};
        if (!clue.Cells.empty()) {
            start = clue.Cells.front();
        } else {
            for (int32_t r = 0; r < Height && start.Col == 0; ++r)
                for (int32_t c = 0; c < Width && start.Col == 0; ++c)
                    if (Cells[size_t(r)][size_t(c)].Label == clue.Label)
                        start = {c + 1, r + 1};
            if (start.Col == 0)
                Invalid("hasło " + clue.Label + " nie ma swojego pola w siatce");
        }
        expl.Col = start.Col;
        expl.Row = start.Row;
        const std::vector<TCellPos> word = WordCells(Doc, expl);
        // A clue over several words keeps its text on the first one; the
        // note names the parts that got no clue of their own.
        if (!clue.Continued.empty() || clue.Cells.size() > word.size())
            linked.push_back(NoteLabel(clue.Label) + (clue.Horizontal ? " poziomo" : " pionowo")
                             + (clue.Continued.empty() ? "" : " (z dalszym ciągiem " + clue.Continued + ")"));
        if (!solution.empty() && !word.empty()) {
            std::string answer;
            for (const TCellPos& cell : word)
                if (const unsigned char letter = solution[size_t(cell.Row - 1)][size_t(cell.Col - 1)]; letter != 0)
                    answer.push_back(static_cast<char>(letter));
            if (answer.size() == word.size())
                expl.Answer = answer;
        }
        if (expl.Answer.empty() && !clue.Answer.empty()) {
            std::string answer;
            for (const char ch : clue.Answer)
                if (IsWordLetter(Cp1250ToUpper(static_cast<unsigned char>(ch))))
                    answer.push_back(static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(ch))));
            if (answer.size() == word.size())
                expl.Answer = answer;
        }
        const TJson* sound = !sounds ? nullptr
                                     : sounds->Find(numberKeys ? clue.Label : SoundKey(clue.Horizontal, clue.Label));
        if (sound && sound->IsString()) {
            // Joined to the audio directory: a name that could reach
            // outside it is dropped, the clue stays, the caller tells.
            const std::string name = Utf8ToCp1250(sound->String());
            if (name.size() <= size_t(MaxRecordData) && IsPlainSoundName(name))
                expl.Audio = name;
            else if (!name.empty())
                ++Doc.RefusedSounds;
        }
        Doc.AddExpl(expl);
    }

    if (const TJson* phrase = root.Find(IpuzExtensionPhrase); phrase && !phrase->IsNull()) {
        const TJson* text = phrase->Find("phrase");
        const TJson* cells = phrase->Find("cells");
        if (!text || !text->IsString() || !cells)
            Invalid(std::string("niepoprawne pole „") + IpuzExtensionPhrase + "”");
        TPhrase result;
        try {
            result.Text = NormalizePhrase(Utf8ToCp1250(text->String()));
        } catch (const EIOOperation&) {
            Invalid(std::string("niepoprawne pole „") + IpuzExtensionPhrase + "”");
        }
        result.Cells = CellsOf(*cells, "rozwiązania");
        if (result.Cells.size()
            != size_t(std::count_if(result.Text.begin(), result.Text.end(), [](char c) { return c != ' '; })))
            Invalid(std::string("niepoprawne pole „") + IpuzExtensionPhrase + "”");
        Doc.SetPhrase(result);
    }
    std::string note;
    if (StyledCells > 0)
        note += "Pominięto wygląd " + std::to_string(StyledCells) + (StyledCells == 1 ? " pola" : " pól")
            + " (kółka, kolory, obramowania): tu pola są zwykłe.\n";
    if (!linked.empty()) {
        note += "Hasła połączone z kilku słów zostały przy swoim pierwszym słowie:";
        for (size_t i = 0; i < linked.size(); ++i)
            note += (i ? ", " : " ") + linked[i];
        note += ".\n";
    }
    FNote = note;
    Doc.Modified = false;
}

void TIpuzReader::Read(std::string_view bytes)
{
    Doc.Clear();
    Doc.FileName = Name;
    // Some sites wrap the JSON as ipuz( ... ).
    std::string_view text = bytes;
    while (!text.empty()
           && (text.front() == ' ' || text.front() == '\n' || text.front() == '\r' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.substr(0, 5) == "ipuz(" && text.back() == ')')
        text = text.substr(5, text.size() - 6);
    TJson root;
    try {
        root = ParseJson(text);
    } catch (const EJsonError& error) {
        Invalid("błąd składni JSON w bajcie " + std::to_string(error.Offset + 1) + " (" + error.What + ")");
    }
    if (!root.IsObject())
        Invalid("to nie jest obiekt JSON");
    CheckKind(root);
    ReadDimensions(root);
    ReadPuzzle(root);
    ReadClues(root);
    Build(root);
}

} // namespace

void ReadIpuz(std::string_view bytes, const std::string& name, TCrossTXT& doc)
{
    TIpuzReader(name, doc).Read(bytes);
}

std::string IpuzImportNote(std::string_view bytes, const std::string& name)
{
    TCrossTXT scratch;
    TIpuzReader reader(name, scratch);
    try {
        reader.Read(bytes);
    } catch (const EIOOperation&) {
        return {};
    }
    return reader.Note();
}

std::string IpuzImportNoteOfFile(const std::string& name)
{
    if (OpenExtensionOf(name) != "ipuz")
        return {};
    try {
        return IpuzImportNote(ReadFileStart(name, MaxIpuzFileSize), name);
    } catch (const EIOOperation&) {
        return {};
    }
}

} // namespace mz
