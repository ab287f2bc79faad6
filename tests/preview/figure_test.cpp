// The preview's style tables and their built-in defaults (the figure and style file readers are
// tested in tests/formats).
#include "preview/document/figure.h"

#include <gtest/gtest.h>

namespace kuvelt::preview {
namespace {

TEST(StyleTables, StylesOutsideTheTableUseDefaults) {
    StyleTables t;
    t.lines = {{2, 7}};
    t.texts = {{400, "X", 300, 0, 0, 0}};
    EXPECT_EQ(t.Line(1).width, 7);
    EXPECT_EQ(t.Line(3).width, DefaultStyles().Line(3).width);
    EXPECT_EQ(t.Line(0).type, 0);
    EXPECT_EQ(t.Text(2).sizeTwips, 300) << "the last text style stands in for a missing one";
}

}  // namespace
}  // namespace kuvelt::preview
