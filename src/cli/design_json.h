// The current design as JSON for kuvelt-calc: every field of the design-field table (the four
// records and the three catalogues) in file order, numbers as doubles (whole-number fields as
// integers), texts UTF-8.
// Numbers are written as the shortest text that reads back to the same double, non-finite
// numbers as null. Texts are escaped as JSON requires (quote, backslash, control characters as
// \b \t \n \f \r or \u00xx), other characters stay UTF-8 as they are, and a byte sequence that is
// not UTF-8 becomes U+FFFD (one for each maximal ill-formed part).
//
// The text is written by JsonWriter straight into a buffer, without a tree of values: a batch
// of thousands of designs spends its time in the calculation, not in building and freeing JSON
// values. The tree forms (DesignJson, ResultsJson) are there for code that looks values up.
#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/numfmt.h"

namespace kuvelt::cli {

// A member name, prepared when it is made (at compile time for a literal): a short name that
// can be written as it is (printable ASCII but the quote and the backslash) is kept written
// out as "name": in a block of fixed size, which the writer copies in one move without looking
// at its bytes; any other name is escaped as it is written.
class JsonKey {
  public:
    static constexpr std::size_t kBlock = 24;

    consteval JsonKey(const char* literal) : JsonKey(std::string_view(literal), 0) {}
    constexpr JsonKey(std::string_view text) : JsonKey(text, 0) {}
    constexpr std::string_view text() const { return text_; }
    // "name": in the first quotedSize() bytes of a kBlock-byte block; 0 when not kept so (a
    // name to escape, or a long one).
    const char* quoted() const { return quoted_; }
    constexpr std::size_t quotedSize() const { return quotedSize_; }

  private:
    constexpr JsonKey(std::string_view text, int) : text_(text) {
        bool plain = true;
        for (char c : text_) {
            if (!(c >= 0x20 && c < 0x7F && c != '"' && c != '\\')) plain = false;
        }
        if (plain && text_.size() + 3 <= kBlock) {
            std::size_t n = 0;
            quoted_[n++] = '"';
            for (char c : text_) quoted_[n++] = c;
            quoted_[n++] = '"';
            quoted_[n++] = ':';
            quotedSize_ = static_cast<uint8_t>(n);
        }
    }
    std::string_view text_;
    uint8_t quotedSize_ = 0;
    char quoted_[kBlock] = {};
};

// The bytes a JsonWriter writes. Its storage grows as needed and is kept when the bytes are
// handed on (WriteTo, clear), so a buffer used for a whole batch allocates only at the start.
class JsonBuffer {
  public:
    std::size_t size() const { return len_; }
    std::string_view view() const { return {data_.data(), len_}; }
    void clear() { len_ = 0; }
    // The bytes as a string; the buffer is empty after.
    std::string Take();
    // Writes the bytes to `out` in one piece and empties the buffer.
    void WriteTo(std::ostream& out);

    // The end of the bytes, with room for at least n more; Commit(end) then takes what was
    // written there.
    char* Room(std::size_t n) {
        if (data_.size() - len_ < n) Grow(n);
        return data_.data() + len_;
    }
    void Commit(const char* end) { len_ = static_cast<std::size_t>(end - data_.data()); }
    void Append(std::string_view s) {
        char* p = Room(s.size());
        std::memcpy(p, s.data(), s.size());
        Commit(p + s.size());
    }
    void Append(char c) {
        char* p = Room(1);
        *p = c;
        Commit(p + 1);
    }

  private:
    void Grow(std::size_t n);
    std::string data_;  // all of it is room; the bytes are its first len_
    std::size_t len_ = 0;
};

// The JSON text of a number at p: the shortest decimal text that reads back to the same double,
// null when not finite (at most numfmt::kShortestTextMax bytes are used there); returns its
// end. The texts of recent numbers are kept and copied rather than made again.
char* JsonNumberText(char* p, double v);

// Appends JSON text to a buffer as values are given. Pretty: members and elements one per line,
// two blanks per level, "key": value, empty containers as {} and []. Line: no blanks at all
// (JSON Lines). The caller gives a well-formed sequence (a Key before every member value).
class JsonWriter {
  public:
    enum class Style { Pretty, Line };
    JsonWriter(JsonBuffer& out, Style style) : out_(out), pretty_(style == Style::Pretty) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(const JsonKey& key) {
        if (key.quotedSize() == 0) return EscapedKey(key.text());
        char* p = Start(JsonKey::kBlock + 1);
        p = Quoted(p, key);
        out_.Commit(p);
        afterKey_ = true;
    }
    // A member and its number in one go: Key(key) then Number(v).
    void Member(const JsonKey& key, double v) {
        if (key.quotedSize() == 0) {
            EscapedKey(key.text());
            return Number(v);
        }
        char* p = Start(JsonKey::kBlock + 1 + numfmt::kShortestTextMax);
        out_.Commit(NumberText(Quoted(p, key), v));
    }
    template <class T>
    void Member(const JsonKey& key, const T& v) {
        Key(key);
        Value(v);
    }

    void Number(double v) { out_.Commit(NumberText(Start(numfmt::kShortestTextMax), v)); }
    void Integer(int64_t v);
    void Unsigned(uint64_t v);
    void Bool(bool v);
    void Null();
    void Text(std::string_view s);
    // An array of numbers (a series of results, such as a distribution along the wall).
    void Numbers(std::span<const double> values);
    // The points of a curve, each to 0.0001 (numfmt::ToTenThousandths): values that will not come
    // again, so their texts are not kept for reuse, where they would crowd out those that do.
    void CurveNumbers(std::span<const double> values);

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
    // Room for the separator before a value and `n` bytes of it: the comma and line break
    // after the previous member, if any, are written; returns where the value goes.
    char* Start(std::size_t n) {
        char* p = out_.Room(n + 2 + 2 * static_cast<std::size_t>(depth_));
        if (afterKey_) {
            afterKey_ = false;
            return p;
        }
        if (depth_ == 0) return p;
        if (!empty_) *p++ = ',';
        empty_ = false;
        return pretty_ ? Indent(p) : p;
    }
    char* Indent(char* p) const {
        *p++ = '\n';
        std::memset(p, ' ', 2 * static_cast<std::size_t>(depth_));
        return p + 2 * depth_;
    }
    void Open(char c) {
        char* p = Start(1);
        *p++ = c;
        out_.Commit(p);
        ++depth_;
        empty_ = true;
    }
    void Close(char c) {
        --depth_;
        char* p = out_.Room(2 + 2 * static_cast<std::size_t>(depth_));
        if (!empty_ && pretty_) p = Indent(p);
        *p++ = c;
        out_.Commit(p);
        empty_ = false;  // the container is a member of the one around it
    }
    // "name": (and the blank of the pretty style) from the key's block.
    char* Quoted(char* p, const JsonKey& key) const {
        std::memcpy(p, key.quoted(), JsonKey::kBlock);
        p += key.quotedSize();
        if (pretty_) *p++ = ' ';
        return p;
    }
    void EscapedKey(std::string_view key);
    static char* NumberText(char* p, double v) { return JsonNumberText(p, v); }

    JsonBuffer& out_;
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
    void Key(const JsonKey& key) { key_ = key.text(); }  // used by the value that follows
    template <class T>
    void Member(const JsonKey& key, const T& v) {
        Key(key);
        Value(v);
    }
    void Number(double v) { Put(v); }
    void Integer(int64_t v) { Put(v); }
    void Unsigned(uint64_t v) { Put(v); }
    void Bool(bool v) { Put(v); }
    void Null() { Put(nullptr); }
    void Text(std::string_view s) { Put(std::string(s)); }
    void Numbers(std::span<const double> values) {
        BeginArray();
        for (double v : values) Number(v);
        EndArray();
    }
    void CurveNumbers(std::span<const double> values) {
        BeginArray();
        for (double v : values) Number(numfmt::ToTenThousandths(v));
        EndArray();
    }
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
