// The fields of each typed result row, in the one order kuvelt-calc writes them: a row of the
// JSON dump's section tables and result lists is the array of its fields in this order (a check
// as 1 when it fails and 0 when it passes, as the calculation keeps it); the CSV summary's
// columns of the chosen pile and the text summary's list tables are the fields that name a
// column or a caption here. A field added to a row and to its table below reaches every writer.
#pragma once

#include <span>
#include <string_view>

#include "calc/results.h"

namespace kuvelt::cli {

template <class Row>
struct ResultField {
    double Row::*number = nullptr;  // a value, or
    bool Row::*fails = nullptr;     // a check, failed when true
    std::string_view column = {};   // its column of the CSV summary ("" for none)
    std::string_view caption = {};  // its heading in the text summary's list table ("" for none)
    const char* picture = nullptr;  // the number format there (values only)

    bool IsCheck() const { return fails != nullptr; }
    bool Fails(const Row& r) const { return fails != nullptr && r.*fails; }
    // The value as the JSON arrays hold it.
    double Value(const Row& r) const {
        if (number != nullptr) return r.*number;
        return Fails(r) ? 1.0 : 0.0;
    }
};

namespace fields {

using C = ConcreteRow;
using S = SteelRow;

inline constexpr ResultField<ChangRow> kChang[] = {{.number = &ChangRow::mmax},
                                                   {.number = &ChangRow::lm},
                                                   {.number = &ChangRow::beta},
                                                   {.number = &ChangRow::e1000},
                                                   {.number = &ChangRow::i}};

inline constexpr ResultField<StressRow> kStress[] = {
    {.number = &StressRow::value}, {.number = &StressRow::modulus}, {.fails = &StressRow::exceeds}};

inline constexpr ResultField<EmbedRow> kEmbed[] = {{.number = &EmbedRow::ell},
                                                   {.number = &EmbedRow::lreq},
                                                   {.number = &EmbedRow::beta},
                                                   {.number = &EmbedRow::e1000},
                                                   {.number = &EmbedRow::i}};

inline constexpr ResultField<DispRow> kDisp[] = {
    {.number = &DispRow::delta1}, {.number = &DispRow::delta2}, {.number = &DispRow::delta3},
    {.number = &DispRow::delta},  {.number = &DispRow::e},      {.number = &DispRow::i},
    {.number = &DispRow::beta}};

inline constexpr ResultField<ConcreteRow> kConcrete[] = {
    {.number = &C::moment, .column = "Mmax (kN*m/m)", .caption = "Mmax(kN･m/m)", .picture = "0.0"},
    {.number = &C::mc, .column = "Mc (kN*m/m)", .caption = "Mc(kN･m/m)", .picture = "0.0##"},
    {.fails = &C::momentFails, .column = "strength", .caption = "判定"},
    {.number = &C::lreq, .column = "Lreq (m)", .caption = "必要矢板長(m)", .picture = "0.00"},
    {.number = &C::lmin, .column = "Lmin (m)", .caption = "Lmin(m)", .picture = "0.00"},
    {.number = &C::lmax, .column = "Lmax (m)", .caption = "Lmax(m)", .picture = "0.00"},
    {.fails = &C::lengthFails, .column = "length", .caption = "判定"},
    {.number = &C::delta, .column = "delta (m)", .caption = "δ(m)", .picture = "0.000"},
    {.number = &C::deltaA, .column = "delta_a (m)", .caption = "δa(m)", .picture = "0.000"},
    {.fails = &C::deltaFails, .column = "displacement", .caption = "判定"}};

// Light steel and steel alike.
inline constexpr ResultField<SteelRow> kSteel[] = {
    {.number = &S::sigma, .column = "sigma (N/mm2)", .caption = "σ(N/mm2)", .picture = "0.0"},
    {.number = &S::sigmaA, .column = "sigma_a (N/mm2)", .caption = "σa(N/mm2)", .picture = "0.0"},
    {.fails = &S::sigmaFails, .column = "strength", .caption = "判定"},
    {.number = &S::lreq, .column = "Lreq (m)", .caption = "必要矢板長(m)", .picture = "0.00"},
    {.number = &S::delta, .column = "delta (m)", .caption = "δ(m)", .picture = "0.000"},
    {.number = &S::deltaA, .column = "delta_a (m)", .caption = "δa(m)", .picture = "0.000"},
    {.fails = &S::deltaFails, .column = "displacement", .caption = "判定"}};

}  // namespace fields

// The fields of a row type, in their order.
template <class Row>
constexpr std::span<const ResultField<Row>> FieldsOf();
template <>
constexpr std::span<const ResultField<ChangRow>> FieldsOf() {
    return fields::kChang;
}
template <>
constexpr std::span<const ResultField<StressRow>> FieldsOf() {
    return fields::kStress;
}
template <>
constexpr std::span<const ResultField<EmbedRow>> FieldsOf() {
    return fields::kEmbed;
}
template <>
constexpr std::span<const ResultField<DispRow>> FieldsOf() {
    return fields::kDisp;
}
template <>
constexpr std::span<const ResultField<ConcreteRow>> FieldsOf() {
    return fields::kConcrete;
}
template <>
constexpr std::span<const ResultField<SteelRow>> FieldsOf() {
    return fields::kSteel;
}

}  // namespace kuvelt::cli
