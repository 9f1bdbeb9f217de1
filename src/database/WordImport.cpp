#include "database/WordImport.h"

#include "core/Cp1250.h"
#include "core/FileIdentity.h"
#include "database/DBBuilder.h"
#include "database/SourceLines.h"
#include "database/WordCheck.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace mz {

namespace {

std::filesystem::path PathOf(const std::string& name)
{
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

} // namespace

namespace {

// Adds a word the builder produced to the preview, against the base and the
// words of the same list seen before.
class TPreviewCollector {
public:
    TPreviewCollector(const TWordBase& base, TImportPreview& preview) : Base(base), Preview(preview) { }

    void Add(const TDBWord& word, int line)
    {
        const auto seen = Seen.find(word.PWord);
        if (seen != Seen.end()) {
            TImportWord& entry =
                seen->second.first ? Preview.Added[seen->second.second] : Preview.Merged[seen->second.second];
            AddNew(entry, word, Base.Find(word.PWord));
            return;
        }
        const TBaseWord* existing = Base.Find(word.PWord);
        TImportWord entry{word.PWord, {}, {}, line};
        AddNew(entry, word, existing);
        const bool seenUnchanged = UnchangedSeen.count(word.PWord) > 0;
        if (!existing) {
            Seen[word.PWord] = {true, Preview.Added.size()};
            Preview.Added.push_back(std::move(entry));
        } else if (!entry.NewExplanations.empty() || !entry.SoundName.empty()) {
            if (seenUnchanged) {
                UnchangedSeen.erase(word.PWord);
                --Preview.Unchanged;
            }
            Seen[word.PWord] = {false, Preview.Merged.size()};
            Preview.Merged.push_back(std::move(entry));
        } else if (!seenUnchanged) {
            UnchangedSeen.insert(word.PWord);
            ++Preview.Unchanged;
        }
    }

private:
    static void AddNew(TImportWord& entry, const TDBWord& word, const TBaseWord* existing)
    {
        for (const std::string& clue : word.Explanations) {
            const bool known = existing
                && std::find(existing->Explanations.begin(), existing->Explanations.end(), clue)
                    != existing->Explanations.end();
            if (!known
                && std::find(entry.NewExplanations.begin(), entry.NewExplanations.end(), clue)
                    == entry.NewExplanations.end())
                entry.NewExplanations.push_back(clue);
        }
        if (entry.SoundName.empty() && !word.Audio.empty() && (!existing || existing->Audio.empty()))
            entry.SoundName = word.Audio;
    }

    const TWordBase& Base;
    TImportPreview& Preview;
    // word -> (added?, index in Added or Merged)
    std::unordered_map<std::string, std::pair<bool, size_t>> Seen;
    std::unordered_set<std::string> UnchangedSeen;
};

std::string LineReason(const std::string& line)
{
    const std::string word = line.substr(0, line.find('\t'));
    const TWordCheck check = CheckWord(word);
    return check.Error.empty() ? "Wiersz nie daje hasła." : check.Error;
}

} // namespace

std::vector<TWordChange> TImportPreview::Changes(const TWordBase& base) const
{
    std::vector<TWordChange> changes;
    for (const TImportWord& word : Merged) {
        const TBaseWord* existing = base.Find(word.PWord);
        if (!existing)
            continue;
        TBaseWord after = *existing;
        after.Explanations.insert(after.Explanations.end(), word.NewExplanations.begin(), word.NewExplanations.end());
        if (after.Audio.empty() && !word.SoundName.empty())
            after.SetSoundName(word.SoundName);
        after.UserEdited = true;
        changes.push_back({*existing, after, 0});
    }
    for (const TImportWord& word : Added) {
        if (base.Find(word.PWord))
            continue;
        TBaseWord after{word.PWord, word.NewExplanations, {}, false, true, {}};
        after.SetSoundName(word.SoundName);
        changes.push_back({std::nullopt, after, 0});
    }
    return changes;
}

TImportPreview PreviewTsvImport(const TWordBase& base, std::istream& in)
{
    TImportPreview preview;
    TPreviewCollector collector(base, preview);
    std::string line;
    TSourceLines lines(in, "lista haseł");
    const int& lineNo = lines.LineNo;
    while (lines.Next(line)) {
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (line.find_first_not_of(" \t") == std::string::npos || line.front() == '#')
            continue;
        // One line at a time through the builder, so that a bad line is refused
        // with its own number while the others go on.
        TDBBuilder builder;
        std::vector<std::string> warnings;
        std::istringstream one(line);
        try {
            builder.AddTsv(one, {}, warnings);
        } catch (const EDBInvalidOperation&) {
            // The builder refuses a source that gives no word at all, which for
            // one line means its word is no word.
            const std::string reason = LineReason(line);
            preview.Refused.push_back({lineNo, line,
                                       CheckWord(line.substr(0, line.find('\t'))).Error.empty()
                                           ? "Wiersz zawiera znak, którego baza haseł nie może zapisać."
                                           : reason});
            continue;
        }
        if (!warnings.empty()) {
            preview.Refused.push_back({lineNo, line, LineReason(line)});
            continue;
        }
        const std::vector<TDBWord> words = builder.Result();
        if (words.empty()) {
            preview.Refused.push_back({lineNo, line, "Brak objaśnienia."});
            continue;
        }
        std::string tooLong;
        for (const std::string& clue : words.front().Explanations)
            if (tooLong.empty())
                tooLong = CheckClue(Cp1250ToUtf8(clue), words.front().PWord).Error;
        if (!tooLong.empty()) {
            preview.Refused.push_back({lineNo, line, tooLong});
            continue;
        }
        collector.Add(words.front(), lineNo);
    }
    return preview;
}

TImportPreview PreviewThesaurusImport(const TWordBase& base, std::istream& in, const std::string& name)
{
    TDBBuilder builder;
    builder.AddThesaurus(in, name);
    TImportPreview preview;
    TPreviewCollector collector(base, preview);
    for (const TDBWord& word : builder.Result())
        collector.Add(word, 0);
    return preview;
}

void WriteTsv(std::ostream& out, const TWordBase& base, const std::vector<std::string>& words)
{
    const auto field = [](const std::string& cp1250) {
        std::string text = Cp1250ToUtf8(cp1250);
        for (char& c : text)
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        return text;
    };
    out << "# hasło\tobjaśnienie\tobjaśnienie…\t@plik dźwięku\n";
    for (const std::string& word : words) {
        const TBaseWord* entry = base.Find(word);
        if (!entry)
            continue;
        out << field(entry->PWord);
        for (const std::string& clue : entry->Explanations)
            out << '\t' << field(clue);
        if (!entry->SoundName().empty())
            out << "\t@" << field(entry->SoundName());
        out << '\n';
    }
}

void ExportTsvFile(const std::string& name, const TWordBase& base, const std::vector<std::string>& words)
{
    for (const std::string& input : {base.ShippedFile(), base.UserFile()})
        if (!input.empty() && IsSameFile(PathOf(name), PathOf(input)))
            throw EDBInvalidOperation("Plik " + name + " jest plikiem bazy haseł (" + input
                                      + "); wybierz inny plik dla listy haseł");
    std::ostringstream text;
    WriteTsv(text, base, words);
    WriteExportFile(name, [&] { return text.str(); });
}

} // namespace mz
