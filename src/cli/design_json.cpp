#include "cli/design_json.h"

#include <charconv>
#include <cmath>

#include "model/design.h"
#include "model/design_fields.h"

namespace kuvelt::cli {

using nlohmann::ordered_json;

namespace {

ordered_json FieldJson(const DesignField& f, const void* record) {
    return VisitField(f, record, [](const auto& v) { return ordered_json(v); });
}

}  // namespace

ordered_json DesignJson() {
    // The records and catalogues in design-file order, each record's fields in table order;
    // ordered_json keeps the order in which the keys first appear.
    ordered_json d = ordered_json::object();
    for (const DesignField& f : DesignFields()) {
        if (f.type == FieldType::Rows) {
            ordered_json rows = ordered_json::array();
            VisitCatalogue(f.catalogue, [&](const auto& c) {
                for (const auto& row : c) {
                    ordered_json o = ordered_json::object();
                    for (const DesignField& rf : RowFields(f.catalogue)) {
                        o[std::string(rf.Member())] = FieldJson(rf, &row);
                    }
                    rows.push_back(std::move(o));
                }
            });
            d[std::string(f.name)] = std::move(rows);
        } else {
            d[std::string(RecordGlobal(f.record))][std::string(f.Member())] =
                FieldJson(f, CurrentRecord(f.record));
        }
    }
    return d;
}

std::string JsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    // Shortest round-trip digits; plain decimal notation in the range people read without an
    // exponent (35000000, not 3.5e+07), as a script language would print it.
    char buf[400];
    const double a = std::fabs(v);
    const auto r = (a == 0.0 || (a >= 1e-6 && a < 1e21))
                       ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                       : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

namespace {

void Dump(const ordered_json& j, int indent, std::string& out) {
    const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
    const std::string inner(static_cast<std::size_t>(indent + 1) * 2, ' ');
    switch (j.type()) {
        case ordered_json::value_t::object: {
            if (j.empty()) {
                out += "{}";
                return;
            }
            out += "{\n";
            bool first = true;
            for (auto it = j.begin(); it != j.end(); ++it) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                out += ordered_json(it.key()).dump(-1, ' ', false,
                                                   ordered_json::error_handler_t::replace);
                out += ": ";
                Dump(it.value(), indent + 1, out);
            }
            out += "\n" + pad + "}";
            return;
        }
        case ordered_json::value_t::array: {
            if (j.empty()) {
                out += "[]";
                return;
            }
            out += "[\n";
            bool first = true;
            for (const auto& e : j) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                Dump(e, indent + 1, out);
            }
            out += "\n" + pad + "]";
            return;
        }
        case ordered_json::value_t::number_float:
            out += JsonNumber(j.get<double>());
            return;
        default:
            // Texts (escaped, invalid UTF-8 replaced), integers, Booleans and null.
            out += j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
            return;
    }
}

}  // namespace

std::string DumpJson(const ordered_json& j) {
    std::string out;
    Dump(j, 0, out);
    out += '\n';
    return out;
}

}  // namespace kuvelt::cli
