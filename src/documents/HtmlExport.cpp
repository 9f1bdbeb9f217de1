#include "documents/HtmlExport.h"

#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"
#include "documents/CrosswordKind.h"
#include "documents/DataAccess.h"
#include "documents/FileReplacement.h"
#include "documents/HtmlPage.h"
#include "documents/Json.h"

#include <cstdio>
#include <map>
#include <string_view>

namespace mz {

namespace {

// The letters of the answer key, each written as its place here (1..45, 0 for
// none) added to a pseudo-random stream and taken modulo 64. The page's
// script undoes it with the same stream; it keeps the answers from showing in
// the source, nothing more.
constexpr std::u32string_view KeyAlphabet = U"AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ0123456789";
constexpr std::string_view Base64Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A sound file larger than this is not embedded: the page would grow past use.
constexpr size_t MaxSoundBytes = 16u << 20;
const char* const MsgSoundTooLarge = "Plik dźwiękowy %s jest za duży, by dołączyć go do strony";

uint32_t Fnv1a(std::string_view bytes, uint32_t hash = 2166136261u)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

uint32_t NextKeyStream(uint32_t& x)
{
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
}

std::string Base64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t chunk = uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            chunk |= uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size())
            chunk |= static_cast<unsigned char>(bytes[i + 2]);
        out.push_back(Base64Digits[(chunk >> 18) & 63]);
        out.push_back(Base64Digits[(chunk >> 12) & 63]);
        out.push_back(i + 1 < bytes.size() ? Base64Digits[(chunk >> 6) & 63] : '=');
        out.push_back(i + 2 < bytes.size() ? Base64Digits[chunk & 63] : '=');
    }
    return out;
}

uintmax_t Base64Size(uintmax_t bytes)
{
    return (bytes + 2) / 3 * 4;
}

std::string MediaType(const std::filesystem::path& file)
{
    const std::string extension = ExtensionOf(file.filename().string());
    static const std::map<std::string, std::string> types{{"mp3", "audio/mpeg"}, {"wav", "audio/wav"},
                                                          {"ogg", "audio/ogg"},  {"oga", "audio/ogg"},
                                                          {"opus", "audio/ogg"}, {"flac", "audio/flac"},
                                                          {"m4a", "audio/mp4"},  {"aac", "audio/aac"},
                                                          {"webm", "audio/webm"}};
    std::string lower;
    for (const char c : extension)
        lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    const auto type = types.find(lower);
    return type == types.end() ? "application/octet-stream" : type->second;
}

// Text for an HTML element or attribute.
std::string HtmlText(std::string_view utf8)
{
    std::string out;
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

// JSON inside a script element: no "<" (so no "</script>" or "<!--"), no ">"
// or "&", and no line separators that older scripts take for line ends. These
// occur only within strings, where the escapes mean the same characters.
std::string ScriptSafeJson(std::string_view json)
{
    std::string out;
    out.reserve(json.size());
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '<')
            out += "\\u003c";
        else if (c == '>')
            out += "\\u003e";
        else if (c == '&')
            out += "\\u0026";
        else if (json.substr(i, 3) == "\xE2\x80\xA8" || json.substr(i, 3) == "\xE2\x80\xA9") {
            out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else
            out.push_back(c);
    }
    return out;
}

std::string PageTitle(const TCrossTXT& doc)
{
    const std::string name = StemOf(doc.FileName, {"krz", "sz", "xwd", "ipuz"});
    return name.empty() ? "Krzyżówka" : name;
}

// Each sound file once, by its path; the index is its place in the page's list.
class TSoundList {
public:
    TSoundList(const TCrossTXT& doc, const TSoundFileOf& soundFile)
    {
        if (!soundFile)
            return;
        for (const TExplList& item : doc.ExplsInNumberOrder()) {
            const std::string& name = item.Expl.Audio;
            if (name.empty() || ByName.count(name))
                continue;
            const std::filesystem::path file = soundFile(name);
            if (file.empty()) {
                ByName.emplace(name, -1);
                continue;
            }
            const auto known = ByPath.find(file.string());
            if (known != ByPath.end()) {
                ByName.emplace(name, known->second);
                continue;
            }
            const int32_t index = int32_t(Files.size());
            Files.push_back(file);
            ByPath.emplace(file.string(), index);
            ByName.emplace(name, index);
        }
    }

    int32_t IndexOf(const std::string& name) const
    {
        const auto found = ByName.find(name);
        return found == ByName.end() ? -1 : found->second;
    }

    std::vector<std::filesystem::path> Files;

private:
    std::map<std::string, int32_t> ByName;
    std::map<std::string, int32_t> ByPath;
};

std::string SoundDataUrl(const std::filesystem::path& file)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > MaxSoundBytes)
        throw EInOutError(FormatMessage(MsgSoundTooLarge, file.string()));
    const std::string bytes = ReadFileStart(file.string(), MaxSoundBytes + 1);
    if (bytes.size() > MaxSoundBytes)
        throw EInOutError(FormatMessage(MsgSoundTooLarge, file.string()));
    return "data:" + MediaType(file) + ";base64," + Base64(bytes);
}

TJson::TArray WordList(const std::vector<TNumberedWord>& words, const TSoundList& sounds)
{
    TJson::TArray list;
    for (const TNumberedWord& word : words) {
        TJson::TArray item{word.Number, word.Word.Col, word.Word.Row, word.Length, Cp1250ToUtf8(word.Word.Explanation)};
        if (const int32_t sound = sounds.IndexOf(word.Word.Audio); sound >= 0)
            item.emplace_back(sound);
        list.emplace_back(std::move(item));
    }
    return list;
}

// The phrase's word lengths, or nothing when its cells do not match its letters.
TJson PhraseData(const TCrossTXT& doc)
{
    const TPhrase& phrase = doc.Phrase();
    if (phrase.Empty())
        return {};
    TJson::TArray words;
    int32_t letters = 0, run = 0;
    for (const char c : phrase.Text + ' ') {
        if (c != ' ') {
            ++run;
            continue;
        }
        if (run > 0)
            words.emplace_back(run);
        letters += run;
        run = 0;
    }
    if (size_t(letters) != phrase.Cells.size())
        return {};
    TJson::TArray cells;
    for (const TCellPos& cell : phrase.Cells) {
        if (cell.Col < 1 || cell.Row < 1 || cell.Col > doc.ColCount() || cell.Row > doc.RowCount())
            return {};
        cells.emplace_back(TJson::TArray{cell.Col, cell.Row});
    }
    return TJson::TObject{{"words", std::move(words)}, {"cells", std::move(cells)}};
}

} // namespace

THtmlSounds HtmlSounds(const TCrossTXT& doc, const TSoundFileOf& soundFile)
{
    THtmlSounds result;
    for (const std::filesystem::path& file : TSoundList(doc, soundFile).Files) {
        std::error_code error;
        const uintmax_t size = std::filesystem::file_size(file, error);
        ++result.Files;
        if (!error)
            result.PageBytes += Base64Size(size) + 40;
    }
    return result;
}

std::string HtmlPageText(const TCrossTXT& doc, const THtmlOptions& options)
{
    const int32_t cols = doc.ColCount();
    const int32_t rows = doc.RowCount();
    const TCrosswordKind& kind = KindOf(doc);
    const TCellFaces faces = kind.Faces(doc);
    const TSolutionGrid solution(doc);
    const TSoundList sounds(doc, options.SoundFile);

    // Cells in reading order: '#' a block, '.' a cell of some word, ':' an open cell outside every word.
    std::string cells;
    for (int32_t r = 1; r <= rows; ++r)
        for (int32_t c = 1; c <= cols; ++c) {
            const TCellFace& face = faces.At(c, r);
            cells.push_back(face.Shape != TCellShape::Letter ? '#' : face.InWord ? '.' : ':');
        }

    TJson::TArray across, down;
    const std::string title = PageTitle(doc);

    // The page's own name for its progress: the grid and the clues.
    uint32_t id = Fnv1a(std::to_string(cols) + "x" + std::to_string(rows) + cells);
    for (const TClueSection& section : kind.Clues(doc)) {
        (section.Direction == TDirection::Across ? across : down) = WordList(section.Words, sounds);
        for (const TNumberedWord& word : section.Words)
            id = Fnv1a(std::to_string(word.Number) + word.Word.Explanation + '\n', id);
    }
    char idText[9];
    std::snprintf(idText, sizeof idText, "%08x", id);

    TJson::TObject data{{"v", 1},
                        {"id", std::string(idText)},
                        {"w", cols},
                        {"h", rows},
                        {"cells", cells},
                        {"across", std::move(across)},
                        {"down", std::move(down)}};
    if (solution.Any()) {
        const uint32_t seed = id | 1u;
        uint32_t stream = seed;
        std::string key;
        for (int32_t r = 1; r <= rows; ++r)
            for (int32_t c = 1; c <= cols; ++c) {
                const size_t place = KeyAlphabet.find(Cp1250ToUnicode(faces.At(c, r).Answer));
                const uint32_t value = place == std::u32string_view::npos ? 0 : uint32_t(place) + 1;
                key.push_back(Base64Digits[(value + NextKeyStream(stream) % 64) % 64]);
            }
        data.emplace_back("seed", int64_t(seed));
        data.emplace_back("key", key);
        data.emplace_back("complete", solution.Complete());
    }
    if (TJson phrase = PhraseData(doc); !phrase.IsNull())
        data.emplace_back("phrase", std::move(phrase));
    if (!sounds.Files.empty()) {
        TJson::TArray urls;
        for (const std::filesystem::path& file : sounds.Files)
            urls.emplace_back(SoundDataUrl(file));
        data.emplace_back("sounds", std::move(urls));
    }
    const std::string json = ScriptSafeJson(TJson(std::move(data)).Write());

    // One pass over the template, so nothing put in is read as a placeholder again.
    const std::string escapedTitle = HtmlText(title);
    const std::pair<std::string_view, std::string_view> placeholders[] = {{"@TITLE@", escapedTitle}, {"@DATA@", json}};
    const std::string_view page = HtmlPageTemplate;
    std::string out;
    out.reserve(page.size() + json.size() + 4 * escapedTitle.size());
    size_t from = 0;
    for (size_t at = page.find('@'); at != std::string_view::npos; at = page.find('@', at + 1))
        for (const auto& [placeholder, value] : placeholders)
            if (page.substr(at, placeholder.size()) == placeholder) {
                out.append(page.substr(from, at - from));
                out.append(value);
                from = at + placeholder.size();
                at = from - 1;
                break;
            }
    out.append(page.substr(from));
    return out;
}

void ExportAsHtml(const TCrossTXT& doc, const std::string& name, const THtmlOptions& options)
{
    WriteExportFile(name, [&] { return HtmlPageText(doc, options); });
}

} // namespace mz
