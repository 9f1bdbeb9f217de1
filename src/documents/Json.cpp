#include "documents/Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace mz {

bool TJson::IsInteger() const
{
    if (!IsNumber())
        return false;
    const double n = Number();
    return std::isfinite(n) && n == std::floor(n) && n >= -2147483648.0 && n <= 2147483647.0;
}

const TJson* TJson::Find(std::string_view name) const
{
    if (!IsObject())
        return nullptr;
    for (const auto& [key, value] : Object())
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

void WriteString(const std::string& text, std::string& out)
{
    out.push_back('"');
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out.push_back(ch);
            }
        }
    }
    out.push_back('"');
}

bool IsContainer(const TJson& value)
{
    return value.IsArray() || value.IsObject();
}

// The top level, a member holding containers, and a list of objects below
// that put one element a line; everything else stays on one line, so a grid
// comes out one row a line and a clue list one clue a line.
bool Breaks(const TJson& value, int level)
{
    if (level == 0)
        return IsContainer(value);
    if (level == 1 && value.IsArray())
        return std::any_of(value.Array().begin(), value.Array().end(), IsContainer);
    if (level == 1 && value.IsObject())
        return std::any_of(value.Object().begin(), value.Object().end(),
                           [](const auto& member) { return IsContainer(member.second); });
    if (level == 2 && value.IsArray())
        return std::any_of(value.Array().begin(), value.Array().end(),
                           [](const TJson& item) { return item.IsObject(); });
    return false;
}

void WriteValue(const TJson& value, std::string& out, int level)
{
    if (value.IsNull()) {
        out += "null";
    } else if (value.IsBool()) {
        out += value.Bool() ? "true" : "false";
    } else if (value.IsInteger()) {
        out += std::to_string(value.Integer());
    } else if (value.IsNumber()) {
        char number[32];
        std::snprintf(number, sizeof number, "%.17g", value.Number());
        out += number;
    } else if (value.IsString()) {
        WriteString(value.String(), out);
    } else {
        const bool breaks = Breaks(value, level);
        const std::string indent = breaks ? "\n" + std::string(size_t(level + 1) * 2, ' ') : std::string();
        const bool isArray = value.IsArray();
        out.push_back(isArray ? '[' : '{');
        bool first = true;
        auto separate = [&] {
            out += first ? "" : ",";
            out += breaks ? indent : (first ? "" : " ");
            first = false;
        };
        if (isArray) {
            for (const TJson& item : value.Array()) {
                separate();
                WriteValue(item, out, level + 1);
            }
        } else {
            for (const auto& [key, item] : value.Object()) {
                separate();
                WriteString(key, out);
                out += ": ";
                WriteValue(item, out, level + 1);
            }
        }
        if (breaks && !first)
            out += "\n" + std::string(size_t(level) * 2, ' ');
        out.push_back(isArray ? ']' : '}');
    }
}

class TParser {
public:
    explicit TParser(std::string_view text) : Text(text) { }

    TJson Document()
    {
        if (Text.substr(0, 3) == "\xEF\xBB\xBF")
            Pos = 3;
        TJson value = Value(0);
        SkipSpace();
        if (Pos != Text.size())
            Fail("nadmiarowe znaki po danych");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { throw EJsonError(what, Pos); }

    void SkipSpace()
    {
        while (Pos < Text.size() && (Text[Pos] == ' ' || Text[Pos] == '\t' || Text[Pos] == '\n' || Text[Pos] == '\r'))
            ++Pos;
    }

    bool Take(char c)
    {
        SkipSpace();
        if (Pos < Text.size() && Text[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }

    void Expect(char c)
    {
        if (!Take(c))
            Fail(std::string("oczekiwano „") + c + "”");
    }

    TJson Value(int depth)
    {
        if (depth > 64)
            Fail("za głębokie zagnieżdżenie");
        SkipSpace();
        if (Pos >= Text.size())
            Fail("nieoczekiwany koniec danych");
        const char c = Text[Pos];
        if (c == '{')
            return Object(depth);
        if (c == '[')
            return Array(depth);
        if (c == '"')
            return TJson(String());
        if (c == '-' || (c >= '0' && c <= '9'))
            return Number();
        for (const auto& [word, value] :
             {std::pair<std::string_view, TJson>{"true", TJson(true)}, {"false", TJson(false)}, {"null", TJson()}})
            if (Text.substr(Pos, word.size()) == word) {
                Pos += word.size();
                return value;
            }
        Fail("niepoprawna wartość");
    }

    TJson Object(int depth)
    {
        ++Pos;
        TJson::TObject members;
        if (Take('}'))
            return TJson(std::move(members));
        do {
            SkipSpace();
            if (Pos >= Text.size() || Text[Pos] != '"')
                Fail("oczekiwano nazwy pola");
            std::string key = String();
            Expect(':');
            members.emplace_back(std::move(key), Value(depth + 1));
        } while (Take(','));
        Expect('}');
        return TJson(std::move(members));
    }

    TJson Array(int depth)
    {
        ++Pos;
        TJson::TArray items;
        if (Take(']'))
            return TJson(std::move(items));
        do
            items.push_back(Value(depth + 1));
        while (Take(','));
        Expect(']');
        return TJson(std::move(items));
    }

    TJson Number()
    {
        const size_t start = Pos;
        if (Text[Pos] == '-')
            ++Pos;
        auto digits = [&] {
            const size_t from = Pos;
            while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9')
                ++Pos;
            if (Pos == from)
                Fail("niepoprawna liczba");
        };
        if (Pos < Text.size() && Text[Pos] == '0')
            ++Pos;
        else
            digits();
        if (Pos < Text.size() && Text[Pos] == '.') {
            ++Pos;
            digits();
        }
        if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
            ++Pos;
            if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-'))
                ++Pos;
            digits();
        }
        double value = 0;
        const auto [ptr, ec] = std::from_chars(Text.data() + start, Text.data() + Pos, value);
        if (ec != std::errc() && ec != std::errc::result_out_of_range)
            Fail("niepoprawna liczba");
        (void)ptr;
        return TJson(value);
    }

    uint32_t Hex4()
    {
        if (Pos + 4 > Text.size())
            Fail("niepełna sekwencja \\u");
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = Text[Pos++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= uint32_t(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= uint32_t(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= uint32_t(h - 'A' + 10);
            else
                Fail("niepoprawna sekwencja \\u");
        }
        return code;
    }

    static void AppendUtf8(uint32_t code, std::string& out)
    {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    std::string String()
    {
        ++Pos;
        std::string out;
        while (true) {
            if (Pos >= Text.size())
                Fail("niezakończony napis");
            const char c = Text[Pos++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("znak sterujący w napisie");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (Pos >= Text.size())
                Fail("niezakończony napis");
            const char e = Text[Pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out.push_back(e);
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                uint32_t code = Hex4();
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (Text.substr(Pos, 2) != "\\u")
                        Fail("niesparowany znak zastępczy");
                    Pos += 2;
                    const uint32_t low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("niesparowany znak zastępczy");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    Fail("niesparowany znak zastępczy");
                }
                AppendUtf8(code, out);
                break;
            }
            default:
                Fail("niepoprawna sekwencja ucieczki");
            }
        }
    }

    std::string_view Text;
    size_t Pos = 0;
};

} // namespace

std::string TJson::Write() const
{
    std::string out;
    WriteValue(*this, out, 0);
    out.push_back('\n');
    return out;
}

TJson ParseJson(std::string_view text)
{
    return TParser(text).Document();
}

} // namespace mz
