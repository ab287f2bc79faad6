#include "ui/field_specs.h"

#include <QWidget>

#include "ui/fields.h"

namespace kuvelt::ui {

namespace {

// min > max: no value is inside.
constexpr FieldRange kNoField{{}, "?", {}, 1.0, 0.0, "0", "0"};

template <class Fn>
void ForEachBound(const QWidget& window, Fn&& fn) {
    for (NumField* f : window.findChildren<NumField*>()) {
        const DesignField* d = FindDesignField(f->spec().name);
        if (d && d->record != Record::SectC && d->record != Record::SectS) fn(*d, f, nullptr);
    }
    for (TextField* t : window.findChildren<TextField*>()) {
        const DesignField* d = FindTextLimit(t->name());
        if (d && d->record != Record::SectC && d->record != Record::SectS) fn(*d, nullptr, t);
    }
}

}  // namespace

const FieldRange& FieldFor(std::string_view name) {
    const FieldRange* f = FindFieldRange(name);
    return f ? *f : kNoField;
}

int TextLimitBytes(const std::string& name) {
    const DesignField* t = FindTextLimit(name);
    return t ? t->maxBytes : 0;
}

void LoadDesignFields(QWidget& window) {
    ForEachBound(window, [](const DesignField& d, NumField* n, TextField* t) {
        const void* record = CurrentRecord(d.record);
        if (n) n->setValue(NumberOf(d, record));
        if (t) {
            VisitField(d, record, [t](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    t->setText(v);
                }
            });
        }
    });
}

void SaveDesignFields(const QWidget& window) {
    ForEachBound(window, [](const DesignField& d, NumField* n, TextField* t) {
        void* record = CurrentRecord(d.record);
        if (n) SetNumber(d, record, n->value());
        if (t) {
            VisitField(d, record, [t](auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    v = t->text8();
                }
            });
        }
    });
}

}  // namespace kuvelt::ui
