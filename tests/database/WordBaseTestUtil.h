#pragma once

#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/WordBase.h"
#include "documents/DataAccess.h"

#include <string>
#include <vector>

namespace mz::test {

inline std::string Cp(const std::string& utf8)
{
    return Utf8ToCp1250(utf8);
}

// A word of a test database file, texts in UTF-8.
struct TTestWord {
    std::string Word;
    std::vector<std::string> Explanations;
    std::string Audio; // sound-file name, empty for none
    std::string Score; // text of a kind-4 record after the word, empty for none
};

inline void WriteWords(const std::string& fileName, int32_t edition, const std::vector<TTestWord>& words)
{
    TRecordHeader header = MakeRecordHeader("test");
    for (int i = 0; i < 4; ++i)
        header[60 + i] = static_cast<uint8_t>(static_cast<uint32_t>(edition) >> (8 * i));
    WriteRecordFile(fileName, header, [&](TDataAccess& out) {
        for (const TTestWord& word : words) {
            out.WriteRecord(DBRecWord, Cp(word.Word));
            if (!word.Score.empty())
                out.WriteRecord(4, word.Score);
            for (const std::string& clue : word.Explanations)
                out.WriteRecord(DBRecExplanation, Cp(clue));
            if (!word.Audio.empty())
                out.WriteRecord(DBRecAudio, Cp(word.Audio) + "\r\n");
        }
    });
}

// "WORD: clue | clue [sound] {kind:text} excluded edited", one line a word in the base's order.
inline std::vector<std::string> Describe(const TWordBase& base)
{
    std::vector<std::string> lines;
    for (const TBaseWord& word : base.Entries()) {
        std::string line = Cp1250ToUtf8(word.PWord) + ":";
        for (size_t i = 0; i < word.Explanations.size(); ++i)
            line += (i ? " | " : " ") + Cp1250ToUtf8(word.Explanations[i]);
        if (!word.Audio.empty())
            line += " [" + Cp1250ToUtf8(word.SoundName()) + "]";
        for (const TDBFileRecord& other : word.Other)
            line += " {" + std::to_string(other.Kind) + ":" + other.Text + "}";
        if (word.Excluded)
            line += " excluded";
        if (word.UserEdited)
            line += " edited";
        lines.push_back(line);
    }
    return lines;
}

} // namespace mz::test
