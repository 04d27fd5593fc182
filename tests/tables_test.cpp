// The reference tables: shape, the documented exception, and checked lookups.
#include <gtest/gtest.h>

#include <cmath>

#include "paycalc/fields.h"
#include "paydata/amount.h"
#include "paydata/tables.h"

using namespace paydata;

namespace {

TEST(IndexPointGrid, RisesWithCategoryAndEchelon)
{
    for (int row = 0; row < kCategoryCount; ++row) {
        for (int e = 1; e < kEchelonCount; ++e) {
            EXPECT_LT(e > 1 ? EchelonPoints(e - 1, row) : 0, EchelonPoints(e, row)) << row << ',' << e;
            if (row > 0) {
                EXPECT_LT(EchelonPoints(e, row - 1), EchelonPoints(e, row)) << row << ',' << e;
            }
        }
        if (row > 0) {
            EXPECT_LT(BasePoints(row - 1), BasePoints(row));
        }
    }
}

TEST(IndexPointGrid, EchelonsAddFivePercentOfBasePerStepExceptOneCell)
{
    for (int row = 0; row < kCategoryCount; ++row) {
        for (int e = 1; e < kEchelonCount; ++e) {
            // Base x e x 5 %, halves rounded up, in whole arithmetic: (base * e * 5 + 50) / 100.
            int rule = (BasePoints(row) * e * 5 + 50) / 100;
            if (row == 7 && e == 12) EXPECT_EQ(EchelonPoints(e, row), 225) << "category 8, echelon 12 is stored as 225";
            else EXPECT_EQ(EchelonPoints(e, row), rule) << "category " << row + 1 << ", echelon " << e;
        }
    }
}

TEST(IndexPointGrid, LookupsOfTheWorkedSelections)
{
    EXPECT_EQ(BasePoints(10), 498);
    EXPECT_EQ(EchelonPoints(7, 10), 174);
    EXPECT_EQ(BasePoints(0), 200);
    EXPECT_EQ(EchelonPoints(12, 0), 120);
    EXPECT_EQ(BasePoints(16), 762);
    EXPECT_EQ(EchelonPoints(12, 16), 457);
}

TEST(FlatAllowance, FallsWithCategoryToAFloorOf1500)
{
    EXPECT_EQ(FlatAllowance(0), 7700);
    EXPECT_EQ(FlatAllowance(6), FlatAllowance(7));
    EXPECT_EQ(FlatAllowance(8), FlatAllowance(9));
    for (int row = 1; row < kCategoryCount; ++row) EXPECT_LE(FlatAllowance(row), FlatAllowance(row - 1));
    for (int row = 10; row < kCategoryCount; ++row) EXPECT_EQ(FlatAllowance(row), 1500);
}

TEST(SpecificPosts, AmountsAreStoredNotDerived)
{
    EXPECT_EQ(PostAmount(0), 0);
    EXPECT_TRUE(kSpecificPosts[0].title.empty());
    EXPECT_EQ(PostAmount(6), 5000);
    EXPECT_EQ(kSpecificPosts[6].title, "مدير ثانوية");
    EXPECT_EQ(PostAmount(10), 11475);
    for (int row : {1, 2, 3, 7, 8, 9, 10})
        EXPECT_EQ(PostAmount(row), 45 * kSpecificPosts[static_cast<std::size_t>(row)].points);
    for (int row : {4, 5, 6}) EXPECT_NE(PostAmount(row), 45 * kSpecificPosts[static_cast<std::size_t>(row)].points);
}

TEST(Lookups, RowsATableDoesNotHaveAreRefused)
{
    auto refused = [](auto &&f) {
        try {
            f();
        } catch (const ConversionError &e) {
            return e.kind() == FailureKind::NoSuchRow;
        }
        return false;
    };
    EXPECT_TRUE(refused([] { BasePoints(-1); }));
    EXPECT_TRUE(refused([] { BasePoints(17); }));
    EXPECT_TRUE(refused([] { EchelonPoints(0, 10); })); // the base column is no echelon
    EXPECT_TRUE(refused([] { EchelonPoints(13, 10); }));
    EXPECT_TRUE(refused([] { FlatAllowance(17); }));
    EXPECT_TRUE(refused([] { PostAmount(11); }));
    EXPECT_TRUE(refused([] { PostAmount(-2); }));
}

TEST(Lists, EntriesInListOrder)
{
    auto categories = paycalc::ComboEntries(paycalc::kCategoryList);
    ASSERT_EQ(categories.size(), 17u);
    EXPECT_EQ(categories[9], "10"); // not sorted as text: "10" follows "9"
    for (int list : {paycalc::kEchelonList, paycalc::kChildrenList, paycalc::kOverTenList}) {
        auto numbers = paycalc::ComboEntries(list);
        ASSERT_EQ(numbers.size(), 13u);
        for (std::size_t n = 0; n < numbers.size(); ++n) EXPECT_EQ(ReadAmount(numbers[n]), static_cast<double>(n));
    }
    auto posts = paycalc::ComboEntries(paycalc::kPostList);
    ASSERT_EQ(posts.size(), 11u);
    EXPECT_EQ(posts[0], "");
    EXPECT_EQ(posts[10], "مفتش التربية الوطنية");
    EXPECT_EQ(paycalc::ComboEntries(paycalc::kFamilyStatusList), (std::vector<std::string>{"عازب", "متزوج"}));
    EXPECT_EQ(paycalc::ComboEntries(paycalc::kSpouseList), (std::vector<std::string>{"ماكثة", "عاملة"}));
}

TEST(Fields, NamesCaptionsAndTitles)
{
    using paycalc::Field;
    for (int i = 0; i < paycalc::kFieldCount; ++i) {
        auto f = static_cast<Field>(i);
        Field parsed{};
        ASSERT_TRUE(paycalc::ParseFieldName(paycalc::FieldName(f), parsed));
        EXPECT_EQ(parsed, f);
    }
    EXPECT_EQ(paycalc::FieldTitle(Field::Text21), "الراتب الصافي");
    EXPECT_EQ(paycalc::FieldTitle(Field::Text22), "مبلغ المردودية");
    EXPECT_EQ(paycalc::FieldTitle(Field::Text9), "تعويض تسيير مؤسسة تعليمية / أو منحة المنصب النوعي");
    EXPECT_EQ(paycalc::InitialText(Field::Text23), "40");
    for (Field f : {Field::Text10, Field::Text11, Field::Text20, Field::Text13, Field::Text14, Field::Text15})
        EXPECT_EQ(paycalc::InitialText(f), "0");
    EXPECT_EQ(paycalc::InitialText(Field::Text21), "");
}

} // namespace
