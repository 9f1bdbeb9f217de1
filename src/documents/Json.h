#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace mz {

// A small JSON value for the ipuz exchange files: strings are UTF-8, objects
// keep their members in file order (a repeated name: the first one counts).
class TJson {
public:
    using TArray = std::vector<TJson>;
    using TObject = std::vector<std::pair<std::string, TJson>>;

    TJson() = default; // null
    TJson(std::nullptr_t) { }
    TJson(bool value) : FValue(value) { }
    TJson(int64_t value) : FValue(static_cast<double>(value)) { }
    TJson(int32_t value) : FValue(static_cast<double>(value)) { }
    TJson(double value) : FValue(value) { }
    TJson(std::string value) : FValue(std::move(value)) { }
    TJson(const char* value) : FValue(std::string(value)) { }
    TJson(TArray value) : FValue(std::make_shared<TArray>(std::move(value))) { }
    TJson(TObject value) : FValue(std::make_shared<TObject>(std::move(value))) { }

    bool IsNull() const { return std::holds_alternative<std::monostate>(FValue); }
    bool IsBool() const { return std::holds_alternative<bool>(FValue); }
    bool IsNumber() const { return std::holds_alternative<double>(FValue); }
    bool IsString() const { return std::holds_alternative<std::string>(FValue); }
    bool IsArray() const { return std::holds_alternative<std::shared_ptr<TArray>>(FValue); }
    bool IsObject() const { return std::holds_alternative<std::shared_ptr<TObject>>(FValue); }
    // A number without a fractional part within the 32-bit range.
    bool IsInteger() const;

    bool Bool() const { return std::get<bool>(FValue); }
    double Number() const { return std::get<double>(FValue); }
    int32_t Integer() const { return static_cast<int32_t>(Number()); }
    const std::string& String() const { return std::get<std::string>(FValue); }
    const TArray& Array() const { return *std::get<std::shared_ptr<TArray>>(FValue); }
    const TObject& Object() const { return *std::get<std::shared_ptr<TObject>>(FValue); }

    // The member of an object, nullptr when absent or when this is no object.
    const TJson* Find(std::string_view name) const;

    // The text, ending in a line break: the top level one member a line, nested
    // lists of lists one element a line, the rest on one line. Non-ASCII
    // characters are written as they are (UTF-8), control characters escaped.
    std::string Write() const;

private:
    std::variant<std::monostate, bool, double, std::string, std::shared_ptr<TArray>, std::shared_ptr<TObject>> FValue;
};

// Parses a whole JSON text (a UTF-8 byte-order mark is skipped). Raises
// EJsonError with the byte offset of the first fault; nesting deeper than
// 64 levels is refused.
class EJsonError : public std::exception {
public:
    EJsonError(std::string what, size_t offset) : What(std::move(what)), Offset(offset) { }
    const char* what() const noexcept override { return What.c_str(); }
    std::string What;
    size_t Offset;
};
TJson ParseJson(std::string_view text);

} // namespace mz
