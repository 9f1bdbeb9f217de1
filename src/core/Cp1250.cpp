#include "Cp1250.h"
#include "PrintableText.h"

#include <algorithm>
#include <array>

namespace mz {

namespace {

// Code points of the upper half (0x80..0xFF); 0xFFFD marks the bytes CP1250 leaves undefined.
constexpr std::array<char16_t, 128> UpperHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns false (and skips one byte) on a
// broken one: a cut or malformed sequence, an over-long form (which could hide
// a '/' or a NUL), a surrogate or a code point beyond U+10FFFF.
bool DecodeUtf8(std::string_view s, size_t& pos, char32_t& cp)
{
    static constexpr char32_t Smallest[4] = {0, 0x80, 0x800, 0x10000};
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F;
        extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F;
        extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07;
        extra = 3;
    } else {
        ++pos;
        return false;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < Smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += extra + 1;
    return true;
}

} // namespace

char32_t Cp1250ToUnicode(unsigned char byte)
{
    return byte < 0x80 ? byte : UpperHalf[byte - 0x80];
}

bool UnicodeToCp1250(char32_t cp, unsigned char& byte)
{
    if (cp < 0x80) {
        byte = static_cast<unsigned char>(cp);
        return true;
    }
    if (cp == 0xFFFD)
        return false;
    const auto it = std::find(UpperHalf.begin(), UpperHalf.end(), static_cast<char16_t>(cp));
    if (cp > 0xFFFF || it == UpperHalf.end())
        return false;
    byte = static_cast<unsigned char>(0x80 + (it - UpperHalf.begin()));
    return true;
}

std::string Cp1250ToUtf8(std::string_view cp1250)
{
    std::string out;
    out.reserve(cp1250.size() + cp1250.size() / 4);
    for (char c : cp1250)
        AppendUtf8(out, Cp1250ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1250(std::string_view utf8, char replacement, bool* ok)
{
    std::string out;
    out.reserve(utf8.size());
    if (ok)
        *ok = true;
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        unsigned char byte = 0;
        if (DecodeUtf8(utf8, pos, cp) && UnicodeToCp1250(cp, byte)) {
            out += static_cast<char>(byte);
        } else {
            out += replacement;
            if (ok)
                *ok = false;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view utf8, size_t* badOffset)
{
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t at = pos;
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, pos, cp)) {
            if (badOffset)
                *badOffset = at;
            return false;
        }
    }
    return true;
}

std::string Cp1250ToPrintableUtf8(std::string_view cp1250)
{
    std::string out;
    out.reserve(cp1250.size() + cp1250.size() / 4);
    for (char c : cp1250) {
        const auto b = static_cast<unsigned char>(c);
        // The control pictures U+2400..U+241F and U+2421 stand for C0 and DEL.
        const char32_t cp = b < 0x20 ? 0x2400 + b : b == 0x7F ? 0x2421 : Cp1250ToUnicode(b);
        AppendUtf8(out, cp);
    }
    return out;
}

std::string PrintableUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            if (b == '\n')
                out.push_back('\n');
            else
                AppendUtf8(out, b < 0x20 ? 0x2400 + b : b == 0x7F ? 0x2421 : b);
            ++i;
            continue;
        }
        const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        size_t bad = 0;
        const std::string_view sequence = utf8.substr(i, length);
        const bool whole = length > 1 && sequence.size() == length && IsValidUtf8(sequence, &bad);
        // U+0080..U+009F, the C1 controls, are C2 80..C2 9F.
        const bool control = whole && b == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (whole && !control) {
            out.append(sequence);
            i += length;
        } else {
            AppendUtf8(out, 0xFFFD);
            i += whole ? length : 1;
        }
    }
    return out;
}

unsigned char Cp1250ToUpper(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    for (int i = 0; i < 9; ++i)
        if (PolishSmall[i] == c)
            return PolishCapitals[i];
    return c;
}

std::string Cp1250ToLower(std::string_view cp1250)
{
    std::string small(cp1250);
    for (char& c : small) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            c = static_cast<char>(b - 'A' + 'a');
        for (int i = 0; i < 9; ++i)
            if (PolishCapitals[i] == b)
                c = static_cast<char>(PolishSmall[i]);
    }
    return small;
}

bool IsWordLetter(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return true;
    return std::find(std::begin(PolishCapitals), std::end(PolishCapitals), c) != std::end(PolishCapitals);
}

bool IsCellChar(unsigned char c)
{
    return c == ' ' || c == '*' || c == '?' || (c >= '0' && c <= '9') || IsWordLetter(c);
}

bool IsCellWord(std::string_view word)
{
    if (word.empty())
        return false;
    for (const char ch : word) {
        const auto c = static_cast<unsigned char>(ch);
        if (!IsWordLetter(c) && !(c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

} // namespace mz
