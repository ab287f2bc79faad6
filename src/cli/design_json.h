// The current design as JSON for kuvelt-calc: every field of the design-field table (the four
// records and the three catalogues) in file order, numbers as doubles (whole-number fields as
// integers), texts UTF-8.
// Numbers are written as the shortest text that reads back to the same double, non-finite
// numbers as null. Texts are escaped as JSON requires (quote, backslash, control characters as
// \b \t \n \f \r or \u00xx), other characters stay UTF-8 as they are, and a byte sequence that is
// not UTF-8 becomes U+FFFD (one for each maximal ill-formed part).
//
// The text is written by JsonWriter straight into a string, without a tree of values: a batch
// of thousands of designs spends its time in the calculation, not in building and freeing JSON
// values. The tree forms (DesignJson, ResultsJson) are there for code that looks values up.
#pragma once

#include <nlohmann/json.hpp>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kuvelt::cli {

// Appends JSON text to a string as values are given. Pretty: members and elements one per line,
// two blanks per level, "key": value, empty containers as {} and []. Line: no blanks at all
// (JSON Lines). The caller gives a well-formed sequence (a Key before every member value).
class JsonWriter {
  public:
    enum class Style { Pretty, Line };
    JsonWriter(std::string& out, Style style) : out_(out), pretty_(style == Style::Pretty) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);

    void Number(double v);
    void Integer(int64_t v);
    void Unsigned(uint64_t v);
    void Bool(bool v);
    void Null();
    void Text(std::string_view s);

    // The JSON form of a field's C++ type: bool, integers, floating point, texts.
    template <class T>
    void Value(const T& v) {
        if constexpr (std::is_same_v<T, bool>) {
            Bool(v);
        } else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T>) {
            Unsigned(static_cast<uint64_t>(v));
        } else if constexpr (std::is_integral_v<T>) {
            Integer(static_cast<int64_t>(v));
        } else if constexpr (std::is_floating_point_v<T>) {
            Number(static_cast<double>(v));
        } else {
            Text(std::string_view(v));
        }
    }

  private:
    // Before a value: the comma and line break after the previous member, if any.
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (depth_ == 0) return;
        if (!empty_) out_ += ',';
        if (pretty_) Indent();
        empty_ = false;
    }
    void Indent();
    void Open(char c);
    void Close(char c);

    std::string& out_;
    bool pretty_;
    int depth_ = 0;
    bool empty_ = true;      // the innermost open container has no member yet
    bool afterKey_ = false;  // a key was written, its value follows on the same line
};

class JsonTreeBuilder;

// Writes the current design as one object value.
void WriteDesignJson(JsonWriter& w);
void WriteDesignJson(JsonTreeBuilder& b);

// The current design pretty-printed at top level, ending with a line feed: the same bytes as
// DumpJson(DesignJson()).
std::string DesignJsonText();

// {"gInpJyoken": {...}, "gInpJiban": {...}, ..., "gInpYaita": {...}} of the current design.
nlohmann::ordered_json DesignJson();

// Pretty-printed JSON text of a tree (two-blank indentation, ending with a line feed).
std::string DumpJson(const nlohmann::ordered_json& j);

// Writes a tree through a JsonWriter (numbers, texts and layout as JsonWriter writes them).
void WriteTree(JsonWriter& w, const nlohmann::ordered_json& j);

// The shortest decimal text of `v` that reads back to the same double; "null" when not finite.
std::string JsonNumber(double v);

// Builds a tree from the same calls as JsonWriter, so that one function writing a structure
// gives both the text and the tree.
class JsonTreeBuilder {
  public:
    void BeginObject() { Open(nlohmann::ordered_json::object()); }
    void EndObject() { stack_.pop_back(); }
    void BeginArray() { Open(nlohmann::ordered_json::array()); }
    void EndArray() { stack_.pop_back(); }
    void Key(std::string_view key) { key_ = key; }  // used by the value that follows
    void Number(double v) { Put(v); }
    void Integer(int64_t v) { Put(v); }
    void Unsigned(uint64_t v) { Put(v); }
    void Bool(bool v) { Put(v); }
    void Null() { Put(nullptr); }
    void Text(std::string_view s) { Put(std::string(s)); }
    template <class T>
    void Value(const T& v) {
        if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>) {
            Put(static_cast<uint64_t>(v));
        } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
            Put(static_cast<int64_t>(v));
        } else if constexpr (std::is_floating_point_v<T>) {
            Put(static_cast<double>(v));
        } else if constexpr (std::is_same_v<T, bool>) {
            Put(v);
        } else {
            Put(std::string(v));
        }
    }
    nlohmann::ordered_json Take() { return std::move(root_); }

  private:
    nlohmann::ordered_json* Put(nlohmann::ordered_json v);
    void Open(nlohmann::ordered_json v) { stack_.push_back(Put(std::move(v))); }

    nlohmann::ordered_json root_;
    std::vector<nlohmann::ordered_json*> stack_;
    std::string_view key_;
};

}  // namespace kuvelt::cli
