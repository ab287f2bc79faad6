#include "ui/field_specs.h"

#include <map>

#include "model/ranges.h"

namespace kuvelt::ui {

namespace {

const std::map<std::string, NumSpec>& Specs() {
    static const std::map<std::string, NumSpec> specs = [] {
        std::map<std::string, NumSpec> m;
        for (const FieldRange& r : AllFieldRanges()) {
            m.emplace(std::string(r.name),
                      NumSpec{r.min, r.max, std::string(r.displayFormat), std::string(r.editFormat),
                              std::string(r.caption), std::string(r.name)});
        }
        return m;
    }();
    return specs;
}

}  // namespace

const NumSpec* FindFieldSpec(const std::string& name) {
    const auto it = Specs().find(name);
    return it == Specs().end() ? nullptr : &it->second;
}

int TextLimitBytes(const std::string& name) {
    const TextLimit* t = FindTextLimit(name);
    return t ? t->maxBytes : 0;
}

}  // namespace kuvelt::ui
