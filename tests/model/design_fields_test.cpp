// The design-field table: names, members and the generic access the file, the JSON dump and
// the windows go through.
#include "model/design_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/ranges.h"

namespace kuvelt {
namespace {

template <class R>
void ExpectMembersDistinctAndInside(Record record, std::span<const DesignField> fields) {
    R r{};
    std::set<const void*> seen;
    for (const DesignField& f : fields) {
        if (f.type == FieldType::Rows || f.record != record) continue;
        const char* p = static_cast<const char*>(f.member(&r));
        EXPECT_GE(p, reinterpret_cast<const char*>(&r)) << f.name;
        EXPECT_LT(p, reinterpret_cast<const char*>(&r + 1)) << f.name;
        EXPECT_TRUE(seen.insert(p).second) << "two entries for one member: " << f.name;
    }
}

TEST(DesignFieldTable, NamesAndMembers) {
    std::set<std::string_view> names;
    int rows = 0;
    for (const DesignField& f : DesignFields()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        if (f.type == FieldType::Rows) {
            ++rows;
            continue;
        }
        EXPECT_EQ(std::string(RecordName(f.record)) + "." + std::string(f.Member()), f.name);
        EXPECT_EQ(FindDesignField(f.name), &f);
    }
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(RowFields(Catalogue::Concrete).size(), 6u);
    // Light steel has the steel row's fields, with its own lower limits.
    ASSERT_EQ(RowFields(Catalogue::LightSteel).size(), RowFields(Catalogue::Steel).size());
    for (std::size_t i = 0; i < RowFields(Catalogue::Steel).size(); ++i) {
        EXPECT_EQ(RowFields(Catalogue::LightSteel)[i].name, RowFields(Catalogue::Steel)[i].name);
    }
    EXPECT_EQ(FindDesignField("gInpSectC"), nullptr);
    EXPECT_EQ(FindDesignField("CInpSectS.Zd"), &RowFields(Catalogue::Steel)[2]);
    ExpectMembersDistinctAndInside<CInpJyoken>(Record::Jyoken, DesignFields());
    ExpectMembersDistinctAndInside<CInpJiban>(Record::Jiban, DesignFields());
    ExpectMembersDistinctAndInside<CInpZairyo>(Record::Zairyo, DesignFields());
    ExpectMembersDistinctAndInside<CInpYaita>(Record::Yaita, DesignFields());
    ExpectMembersDistinctAndInside<CInpHyoshi>(Record::Hyoshi, DesignFields());
    // A section's fields are the design file's row and then the mass, which the file does not
    // walk and the dumps leave out at 0.
    for (Catalogue c : {Catalogue::Concrete, Catalogue::LightSteel, Catalogue::Steel}) {
        const std::span<const DesignField> all = SectionFields(c), file = RowFields(c);
        ASSERT_EQ(all.size(), file.size() + 1);
        for (std::size_t i = 0; i < file.size(); ++i) EXPECT_EQ(all[i].name, file[i].name);
        EXPECT_EQ(all.back().Member(), "Mass");
        EXPECT_TRUE(all.back().zeroIsUnset);
        EXPECT_EQ(FindDesignField(all.back().name)->Member(), "Mass");
    }
    ExpectMembersDistinctAndInside<CInpSectC>(Record::SectC, SectionFields(Catalogue::Concrete));
    ExpectMembersDistinctAndInside<CInpSectS>(Record::SectS, SectionFields(Catalogue::Steel));
}

TEST(DesignFieldTable, AccessReachesTheNamedMember) {
    CInpJyoken j;
    CInpSectC c;
    const DesignField& elgl = *FindDesignField("CInpJyoken.ELGL");
    const DesignField& keijyo = *FindDesignField("CInpJyoken.Keijyo");
    const DesignField& flag = *FindDesignField("CInpJyoken.InpFlg");
    const DesignField& title = *FindDesignField("CInpJyoken.Title");
    EXPECT_EQ(elgl.member(&j), &j.ELGL);
    EXPECT_EQ(FindDesignField("CInpSectC.Lmax")->member(&c), &c.Lmax);
    SetNumber(elgl, &j, -1.25);
    SetNumber(keijyo, &j, 1.6);  // a whole-number field takes the nearest integer
    SetNumber(flag, &j, 2.0);
    SetNumber(title, &j, 5.0);  // texts take no number
    EXPECT_EQ(j.ELGL, -1.25);
    EXPECT_EQ(j.Keijyo, 2);
    EXPECT_TRUE(j.InpFlg);
    EXPECT_EQ(j.Title, "(未定義)");
    EXPECT_EQ(NumberOf(keijyo, &j), 2.0);
    EXPECT_EQ(NumberOf(flag, &j), 1.0);
    EXPECT_EQ(NumberOf(title, &j), 0.0);
    EXPECT_EQ(CurrentRecord(Record::Jiban), &gInpJiban);
    EXPECT_EQ(CurrentRecord(Record::SectC), nullptr);
}

// The classic layout ends with the chosen pile's length; the cover's block follows it, optional,
// and a new design holds every field at its default (which the writer leaves out at the end).
TEST(DesignFieldTable, ClassicLayoutIsEverythingBeforeTheCoverBlock) {
    const std::span<const DesignField> all = DesignFields();
    const std::span<const DesignField> classic = ClassicDesignFields();
    ASSERT_EQ(all.size(), classic.size() + 6);
    EXPECT_EQ(classic.data(), all.data());
    EXPECT_EQ(classic.back().name, "CInpYaita.L");
    for (const DesignField& f : classic) EXPECT_FALSE(f.optional) << f.name;
    for (const DesignField& f : all.subspan(classic.size())) {
        EXPECT_TRUE(f.optional) << f.name;
        EXPECT_EQ(f.record, Record::Hyoshi) << f.name;
        EXPECT_EQ(f.type, FieldType::Text) << f.name;
        EXPECT_EQ(f.maxBytes, f.Member() == "Hizuke" || f.Member() == "Han" ? 20 : 60) << f.name;
    }
    InitData();
    for (const DesignField& f : all) {
        if (f.type == FieldType::Rows) continue;
        EXPECT_TRUE(AtDefault(f, CurrentRecord(f.record))) << f.name;
    }
    gInpHyoshi.Han = "A";
    gInpJyoken.ELGL = 3.0;
    EXPECT_FALSE(AtDefault(*FindDesignField("CInpHyoshi.Han"), &gInpHyoshi));
    EXPECT_TRUE(AtDefault(*FindDesignField("CInpHyoshi.Hizuke"), &gInpHyoshi));
    EXPECT_FALSE(AtDefault(*FindDesignField("CInpJyoken.ELGL"), &gInpJyoken));
    EXPECT_EQ(CurrentRecord(Record::Hyoshi), &gInpHyoshi);
    InitData();
    EXPECT_EQ(gInpHyoshi, CInpHyoshi{});
}

// A fresh design passes its own windows: confirming them untouched is never refused.
TEST(DesignFieldTable, DefaultsPassTheInputChecks) {
    InitData();
    for (const DesignField& f : DesignFields()) {
        if (f.record == Record::Yaita || f.type == FieldType::Rows) continue;  // no choice yet
        const void* r = CurrentRecord(f.record);
        if (f.HasInput()) {
            EXPECT_TRUE(InRange(f, NumberOf(f, r))) << f.name;
        }
        if (f.type == FieldType::Text) {
            VisitField(f, r, [&](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    EXPECT_TRUE(TextFieldAcceptable(f, v)) << f.name;
                }
            });
        }
    }
    for (Catalogue c : {Catalogue::Concrete, Catalogue::Steel}) {
        for (const DesignField& f : RowFields(c)) {
            if (f.kind != CellKind::Text) {
                EXPECT_TRUE(CellAcceptable(f, f.newValue)) << f.name;
            }
        }
    }
}

}  // namespace
}  // namespace kuvelt
