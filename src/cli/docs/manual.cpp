#include "cli/docs/manual.h"

#include <string_view>

#include "cli/command_line.h"
#include "io/design_json_read.h"
#include "model/design_fields.h"

namespace kuvelt::cli::docs {
namespace {

// Text as roff prints it: a backslash and a minus stay themselves, a line never starts a request.
std::string Roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

void Item(std::string& out, const OptionSpec& o) {
    out += ".TP\n";
    std::string tail;
    if (!o.value.empty()) tail += std::string(o.value);
    if (o.mode) tail += o.manyFiles ? (tail.empty() ? "FILE..." : " FILE...") : " FILE";
    const std::string name = Roff(o.name);
    if (!o.alias.empty()) {
        out += ".BR " + Roff(o.alias) + " \", \" " + name + "\n";
    } else if (tail.empty()) {
        out += ".B " + name + "\n";
    } else {
        out += ".BI \"" + name + " \" \"" + Roff(tail) + "\"\n";
    }
    out += Roff(o.help) + "\n";
}

const char* TypeWords(FieldType t) {
    switch (t) {
        case FieldType::Bool:
            return "true or false";
        case FieldType::Long:
            return "whole number";
        case FieldType::Text:
            return "text";
        case FieldType::Double:
        case FieldType::Rows:
            break;
    }
    return "number";
}

// The window each record and catalogue is entered in.
std::string_view Window(const DesignField& f) {
    if (f.type == FieldType::Rows) {
        switch (f.catalogue) {
            case Catalogue::Concrete:
                return "コンクリート矢板断面の登録";
            case Catalogue::LightSteel:
                return "軽量鋼矢板断面の登録";
            case Catalogue::Steel:
                return "鋼矢板断面の登録";
        }
    }
    switch (f.record) {
        case Record::Jyoken:
            return "設計条件の入力";
        case Record::Jiban:
            return "地盤条件の入力";
        case Record::Zairyo:
            return "材料条件の入力";
        case Record::Yaita:
            return "使用断面の決定";
        case Record::Hyoshi:
            return "表紙の設定";
        case Record::Layer:
            return "地盤条件の入力";
        case Record::SectC:
        case Record::SectS:
            break;
    }
    return "";
}

void FieldItem(std::string& out, const std::string& path, const DesignField& f) {
    out += ".TP\n.B " + Roff(path) + "\n";
    std::string words = TypeWords(f.type);
    if (!f.caption.empty()) {
        words += ": ";
        if (!f.group.empty()) words += std::string(f.group) + " ";
        words += f.caption;
    }
    const std::string range = FieldRangeWords(f);
    if (!range.empty()) words += "; " + range;
    out += Roff(words) + "\n";
}

// Every field --set takes, by the record, catalogue or layers it belongs to: fn(head, row, window,
// field) with head "gInpJyoken", "gInpSectS" or "gInpJiban.Layers", row whether the path holds a
// row. A record's site fields follow its own, the layers below the first the ground's record.
template <class Fn>
void ForEachField(Fn&& fn) {
    const std::span<const DesignField> all = DesignFields();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const DesignField& f = all[i];
        if (f.type == FieldType::Rows) {
            for (const DesignField& r : SectionFields(f.catalogue))
                fn(std::string(f.name), true, Window(f), r);
            continue;
        }
        fn(std::string(RecordGlobal(f.record)), false, Window(f), f);
        if (i + 1 < all.size() && all[i + 1].record == f.record) continue;
        // The record's last field: its site fields and layers after it.
        for (const DesignField& s : SiteFields()) {
            if (s.record == f.record) fn(std::string(RecordGlobal(f.record)), false, Window(f), s);
        }
        if (f.record == Record::Jiban) {
            for (const DesignField& l : LayerFields())
                fn(std::string(RecordGlobal(Record::Layer)), true, Window(l), l);
        }
    }
}

// How the completion treats a field's value: "n" a number, "b" true or false, "t" a text.
char KindLetter(FieldType t) {
    return t == FieldType::Text ? 't' : t == FieldType::Bool ? 'b' : 'n';
}

const char* ValueWord(ValueKind k) {
    switch (k) {
        case ValueKind::Output:
            return "output";
        case ValueKind::Folder:
            return "folder";
        case ValueKind::Pick:
            return "pick";
        case ValueKind::Change:
            return "change";
        case ValueKind::Sweep:
            return "sweep";
        case ValueKind::Columns:
            return "columns";
        case ValueKind::Count:
            return "count";
        case ValueKind::None:
            break;
    }
    return "";
}

}  // namespace

std::string ManualModesAndOptions() {
    std::string out = ".SH MODES\nOne mode at most; without one, \\-\\-summary.\n";
    for (const OptionSpec& o : CommandLineOptions())
        if (o.mode) Item(out, o);
    out += ".SH OPTIONS\n";
    for (const OptionSpec& o : CommandLineOptions())
        if (!o.mode) Item(out, o);
    return out;
}

std::string ManualDesignFields() {
    std::string out, heading;
    ForEachField([&](const std::string& head, bool row, std::string_view window,
                     const DesignField& f) {
        if (head != heading) {
            heading = head;
            out += ".SS " + Roff(head) + (row ? "[ROW]" : "") + " (" + std::string(window) + ")\n";
        }
        FieldItem(out, head + (row ? "[ROW]." : ".") + std::string(f.Member()), f);
    });
    return out;
}

std::string CompletionTables() {
    std::string modes, options, values, fields;
    auto add = [](std::string& list, std::string_view word) {
        if (!list.empty() && list.back() != '\n') list += ' ';
        list += word;
    };
    for (const OptionSpec& o : CommandLineOptions()) {
        add(o.mode ? modes : options, o.name);
        if (!o.alias.empty()) add(options, o.alias);
        if (o.kind != ValueKind::None) add(values, std::string(o.name) + ":" + ValueWord(o.kind));
    }
    // A section row's path holds "[]" where its row index goes; a line per record.
    std::string heading;
    ForEachField([&](const std::string& head, bool row, std::string_view, const DesignField& f) {
        if (!heading.empty() && head != heading) fields += '\n';
        heading = head;
        add(fields,
            head + (row ? "[]." : ".") + std::string(f.Member()) + ":" + KindLetter(f.type));
    });
    return "_kuvelt_calc_modes='" + modes + "'\n_kuvelt_calc_options='" + options +
           "'\n_kuvelt_calc_values='" + values + "'\n_kuvelt_calc_fields='" + fields + "'\n";
}

}  // namespace kuvelt::cli::docs
