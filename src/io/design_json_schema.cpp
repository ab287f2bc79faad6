#include "io/design_json_schema.h"

#include <nlohmann/json.hpp>

#include "io/design_json_read.h"
#include "model/design.h"
#include "model/design_fields.h"
#include "model/ranges.h"

namespace kuvelt {

using nlohmann::ordered_json;

namespace {

bool IsRowField(const DesignField& f) {
    return f.record == Record::SectC || f.record == Record::SectS || f.record == Record::Layer;
}

ordered_json FieldSchema(const DesignField& f) {
    ordered_json s = ordered_json::object();
    if (!f.caption.empty()) s["description"] = std::string(f.caption);
    if (f.zeroIsUnset) s["description"] = std::string(f.caption) + "（0 または省略は値なし）";
    switch (f.type) {
        case FieldType::Bool:
            s["type"] = "boolean";
            return s;
        case FieldType::Text:
            s["type"] = "string";
            // Characters never take fewer bytes than one: the byte limit bounds the length too.
            // The byte count itself (code page 932) is checked by the reader.
            s["maxLength"] = f.maxBytes;
            s["pattern"] = "^[^\"\\r\\n]*$";
            s["description"] = std::string(f.caption) + "（" + std::to_string(f.maxBytes) +
                               "ﾊﾞｲﾄ以内, code page 932）";
            return s;
        case FieldType::Long:
            s["type"] = "integer";
            break;
        case FieldType::Double:
        case FieldType::Rows:
            s["type"] = "number";
            break;
    }
    if (f.HasInput() || IsRowField(f)) {
        ordered_json range = ordered_json::object();
        range[f.minOpen ? "exclusiveMinimum" : "minimum"] = f.min;
        range["maximum"] = f.max;
        const std::span<const double> shipped = NewDesignValuesOutsideRange(f);
        if (shipped.empty()) {
            s.update(range);
        } else {
            // What a new design holds outside the input range is taken as it is.
            ordered_json values = ordered_json::object();
            values["enum"] = std::vector<double>(shipped.begin(), shipped.end());
            s["anyOf"] = ordered_json::array({range, values});
        }
    }
    return s;
}

ordered_json ObjectSchema() {
    ordered_json o = ordered_json::object();
    o["type"] = "object";
    o["additionalProperties"] = false;
    o["properties"] = ordered_json::object();
    return o;
}

}  // namespace

std::string DesignJsonSchema() {
    ordered_json s = ordered_json::object();
    s["$schema"] = "https://json-schema.org/draft/2020-12/schema";
    s["$id"] = "kuvelt-design.schema.json";
    s["title"] = "Kuvelt design";
    s["description"] =
        "A design as kuvelt-calc reads it from a .json file and prints it under \"design\" of "
        "--json. Keys left out take the values of a new design; a catalogue given replaces the "
        "default one whole (a section's keys left out take what a new grid row holds). Ranges "
        "are those of the input windows. gInpJyoken.ELWF, gInpJiban.DeltaA, gInpJiban.DeltaP and "
        "gInpJiban.Layers are written only when they differ from a new design's, "
        "gInpHyoshi.SankoBunken only when the design has references of its own.";
    s.update(ObjectSchema());
    ordered_json& props = s["properties"];
    for (const DesignField& f : DesignFields()) {
        if (f.type == FieldType::Rows) {
            ordered_json row = ObjectSchema();
            for (const DesignField& rf : SectionFields(f.catalogue)) {
                row["properties"][std::string(rf.Member())] = FieldSchema(rf);
            }
            ordered_json a = ordered_json::object();
            a["type"] = "array";
            a["maxItems"] = kMaxSections;
            a["items"] = std::move(row);
            props[std::string(f.name)] = std::move(a);
            continue;
        }
        const std::string rec(RecordGlobal(f.record));
        if (!props.contains(rec)) props[rec] = ObjectSchema();
        props[rec]["properties"][std::string(f.Member())] = FieldSchema(f);
    }
    // The site beyond a homogeneous ground with the channel water at the design ground level and
    // wall friction of 15°: keys written only when they differ from a new design's.
    for (const DesignField& f : SiteFields()) {
        ordered_json field = FieldSchema(f);
        if (f.name == "CInpJyoken.ELWF") {
            field["description"] =
                std::string(f.caption) + "（設計地盤面以上。省略または -9999：設計地盤面と同じ）";
        } else {
            field["description"] =
                std::string(f.caption) + "（正の値。既定値 15 以外は砂質土の各層の φ 以下）";
        }
        props[std::string(RecordGlobal(f.record))]["properties"][std::string(f.Member())] =
            std::move(field);
    }
    ordered_json layer = ObjectSchema();
    for (const DesignField& f : LayerFields()) {
        layer["properties"][std::string(f.Member())] = FieldSchema(f);
    }
    ordered_json layers = ordered_json::object();
    layers["description"] =
        "地盤の第2層以下（上から順に。上端標高ELUは地表面より低く，上の層より低く，設計地盤面より"
        "検討する深さの下端より高い）";
    layers["type"] = "array";
    layers["maxItems"] = kMaxGroundLayers - 1;
    layers["items"] = std::move(layer);
    props["gInpJiban"]["properties"]["Layers"] = std::move(layers);
    ordered_json reference = FieldSchema(ReferenceField());
    reference["minLength"] = 1;
    ordered_json references = ordered_json::object();
    references["description"] =
        "設計の参考文献（1件に1つの文字列。印刷する順に。空のときは書式ﾌｧｲﾙの参考文献を印刷）";
    references["type"] = "array";
    references["maxItems"] = kMaxReferences;
    references["items"] = std::move(reference);
    props["gInpHyoshi"]["properties"]["SankoBunken"] = std::move(references);
    return s.dump(2) + "\n";
}

}  // namespace kuvelt
