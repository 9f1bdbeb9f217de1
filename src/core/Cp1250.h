#pragma once

#include <string>
#include <string_view>

namespace mz {

// Every text the documents, files and the word database hold stays Windows-1250
// bytes in a std::string. These convert at the edges (screen, terminal, file names).

// CP1250 bytes to UTF-8. Bytes that CP1250 leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// UTF-8 to CP1250 bytes. A character CP1250 cannot hold (or broken UTF-8)
// becomes `replacement`; `ok`, when given, is set false in that case.
std::string Utf8ToCp1250(std::string_view utf8, char replacement = '?', bool* ok = nullptr);

// CP1250 bytes to UTF-8 for a terminal: control characters (below 32 and 127)
// become their visible pictures (U+2400..U+241F, U+2421), so no byte of a file
// can act as a terminal escape sequence.
std::string Cp1250ToPrintableUtf8(std::string_view cp1250);

// Whether the text is well-formed UTF-8 (no cut, over-long or surrogate
// sequences); on failure `badOffset`, when given, is the offset of the first
// broken sequence.
bool IsValidUtf8(std::string_view utf8, size_t* badOffset = nullptr);

// The code point of one CP1250 byte (0xFFFD for the five undefined bytes).
char32_t Cp1250ToUnicode(unsigned char byte);
// The CP1250 byte of a code point; returns false when CP1250 has none.
bool UnicodeToCp1250(char32_t codePoint, unsigned char& byte);

// Upper-casing of a CP1250 byte for Latin and Polish letters (ą→Ą, a→A); other
// bytes are returned unchanged.
unsigned char Cp1250ToUpper(unsigned char byte);
// The text with its Latin and Polish capitals made small (Ą→ą, A→a).
std::string Cp1250ToLower(std::string_view cp1250);

// The CP1250 codes of the nine Polish capitals, in the order Ą Ć Ę Ł Ń Ó Ś Ź Ż.
inline constexpr unsigned char PolishCapitals[9] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
// Their small letters in the same order: ą ć ę ł ń ó ś ź ż.
inline constexpr unsigned char PolishSmall[9] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};

// The characters a grid cell may hold: space, '*', '?', '0'-'9', 'A'-'Z' and
// the nine Polish capitals.
bool IsCellChar(unsigned char c);
// A letter a word can be made of: 'A'-'Z' and the nine Polish capitals.
bool IsWordLetter(unsigned char c);
// A word whose every character a grid cell can show as a letter: not empty,
// only 'A'-'Z', '0'-'9' and the nine Polish capitals.
bool IsCellWord(std::string_view word);

} // namespace mz
