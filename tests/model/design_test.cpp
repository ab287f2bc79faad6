#include "model/design.h"

#include <gtest/gtest.h>

namespace kuvelt {
namespace {

TEST(InitData, FreshDesignHasDefaultsAndBuiltInCatalogues) {
    gInpJyoken.Title = "changed";
    gInpSectC.Clear();
    InitData();
    EXPECT_EQ(gInpJyoken.Title, "(未定義)");
    EXPECT_EQ(gInpJyoken.Keijyo, 0);
    EXPECT_EQ(gInpJyoken.Nekiri, 1);
    EXPECT_FALSE(gInpJyoken.InpFlg);
    EXPECT_FALSE(gInpJiban.InpFlg);
    EXPECT_TRUE(gInpZairyo.InpFlg);
    EXPECT_FALSE(gInpYaita.InpFlg);
    EXPECT_EQ(gInpYaita.Sect, 0);
    EXPECT_EQ(gInpSectC.Count(), 3);
    EXPECT_EQ(gInpSectLS.Count(), 11);
    EXPECT_EQ(gInpSectS.Count(), 12);
    EXPECT_EQ(gInpSectLS.Item(5)->Name, "LSP-3D(t=5)");
    EXPECT_EQ(gInpSectS.Item(12)->Name, "SP-\xE2\x85\xA5L");  // U+2165, not a Latin "VI"
    EXPECT_EQ(gInpSectC.Item(1)->Ic, 1040);
    EXPECT_EQ(gInpSectC.Item(1)->Mc, 5.4);
}

TEST(Catalogue, ItemAndRemoveOutsideTheRangeGiveNothing) {
    colInpSectC c;
    EXPECT_EQ(c.Item(0), nullptr);
    EXPECT_EQ(c.Item(1), nullptr);
    EXPECT_FALSE(c.Remove(1));
    AddBuiltInConcrete(c);
    for (int32_t i : {-1, 0, 4, 1000}) {
        EXPECT_EQ(c.Item(i), nullptr) << i;
        EXPECT_FALSE(c.Remove(i)) << i;
    }
    EXPECT_EQ(c.Count(), 3);
}

TEST(Catalogue, AddInsertsBeforeOrAfterAPosition) {
    struct Case {
        int32_t index;
        bool before;
        int32_t expectedPos;
    };
    for (Case k : {Case{2, true, 2}, Case{2, false, 3}, Case{0, false, 4}, Case{1, true, 1},
                   Case{3, false, 4}}) {
        colInpSectC c;
        AddBuiltInConcrete(c);
        CInpSectC* added = c.Add("new", 1, 1, 1, 1, 1, k.index, k.before);
        ASSERT_EQ(c.Count(), 4);
        EXPECT_EQ(c.Item(k.expectedPos), added) << k.index << " " << k.before;
    }
}

TEST(Catalogue, ItemsStayValidWhenOthersAreInserted) {
    colInpSectS c;
    CInpSectS* first = c.Add("a", 1, 2, 3, 4);
    for (int i = 0; i < 29; ++i) c.Add("b", 1, 2, 3, 4, 1, true);
    EXPECT_EQ(first->Name, "a");
    EXPECT_EQ(c.Item(30), first);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
}

}  // namespace
}  // namespace kuvelt
