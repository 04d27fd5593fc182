// Net pay in Arabic words: the number words with their agreement rules
// (units, the teens, tens, hundreds, the counted forms of the thousands and
// millions), the dinars and centimes, zero and negative amounts.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "paydata/arabic_words.h"

namespace {

struct NumberCase {
    std::uint64_t number;
    const char *words;
};

// Masculine counting (the dinar, the centime): one and two agree, three to
// ten take the feminine-looking form; a scale word after its count is
// singular (1, round hundreds), dual (2), plural (3-10) or accusative
// singular (11-99).
const NumberCase kNumbers[] = {
    {0, "صفر"},
    {1, "واحد"},
    {2, "اثنان"},
    {3, "ثلاثة"},
    {7, "سبعة"},
    {8, "ثمانية"},
    {10, "عشرة"},
    {11, "أحد عشر"},
    {12, "اثنا عشر"},
    {13, "ثلاثة عشر"},
    {19, "تسعة عشر"},
    {20, "عشرون"},
    {21, "واحد وعشرون"},
    {22, "اثنان وعشرون"},
    {35, "خمسة وثلاثون"},
    {60, "ستون"},
    {99, "تسعة وتسعون"},
    {100, "مائة"},
    {101, "مائة وواحد"},
    {110, "مائة وعشرة"},
    {200, "مائتان"},
    {211, "مائتان وأحد عشر"},
    {300, "ثلاثمائة"},
    {480, "أربعمائة وثمانون"},
    {999, "تسعمائة وتسعة وتسعون"},
    {1000, "ألف"},
    {1001, "ألف وواحد"},
    {1500, "ألف وخمسمائة"},
    {2000, "ألفان"},
    {2500, "ألفان وخمسمائة"},
    {3000, "ثلاثة آلاف"},
    {7830, "سبعة آلاف وثمانمائة وثلاثون"},
    {10000, "عشرة آلاف"},
    {11000, "أحد عشر ألفا"},
    {12000, "اثنا عشر ألفا"},
    {20000, "عشرون ألفا"},
    {22410, "اثنان وعشرون ألفا وأربعمائة وعشرة"},
    {43432, "ثلاثة وأربعون ألفا وأربعمائة واثنان وثلاثون"},
    {99999, "تسعة وتسعون ألفا وتسعمائة وتسعة وتسعون"},
    {100000, "مائة ألف"},
    {101000, "مائة وألف"},
    {102000, "مائة وألفان"},
    {103000, "مائة وثلاثة آلاف"},
    {111000, "مائة وأحد عشر ألفا"},
    {250000, "مائتان وخمسون ألفا"},
    {1000000, "مليون"},
    {2000000, "مليونان"},
    {5000000, "خمسة ملايين"},
    {11000000, "أحد عشر مليونا"},
    {300000000, "ثلاثمائة مليون"},
    {1234567, "مليون ومائتان وأربعة وثلاثون ألفا وخمسمائة وسبعة وستون"},
    {2002002, "مليونان وألفان واثنان"},
    {1000000000, "مليار"},
    {3000000000, "ثلاثة مليارات"},
    {45000000000, "خمسة وأربعون مليارا"},
    {2000000000000, "تريليونان"},
    {1000000000000000, "كوادريليون"},
    {1000000000000001, "كوادريليون وواحد"},
    {999000000000000000, "تسعمائة وتسعة وتسعون كوادريليونا"},
};

class NumberWords : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberWords, FollowsTheAgreementRules)
{
    EXPECT_EQ(paydata::NumberInArabicWords(GetParam().number), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberWords, ::testing::ValuesIn(kNumbers));

struct AmountCase {
    const char *shown;
    const char *words;
};

const AmountCase kAmounts[] = {
    // The start-up slip's net pay, with and without the mutual insurance.
    {"43432.12", "ثلاثة وأربعون ألفا وأربعمائة واثنان وثلاثون دينار جزائري واثنا عشر سنتيم"},
    {"44003.59", "أربعة وأربعون ألفا وثلاثة دينار جزائري وتسعة وخمسون سنتيم"},
    {"29719.87", "تسعة وعشرون ألفا وسبعمائة وتسعة عشر دينار جزائري وسبعة وثمانون سنتيم"},
    {"0.00", "صفر دينار جزائري"},
    {"-0.00", "صفر دينار جزائري"},
    {"0.50", "صفر دينار جزائري وخمسون سنتيم"},
    {"0.05", "صفر دينار جزائري وخمسة سنتيم"},
    {"1.01", "واحد دينار جزائري وواحد سنتيم"},
    {"2.02", "اثنان دينار جزائري واثنان سنتيم"},
    {"1100.00", "ألف ومائة دينار جزائري"},
    {"-1520.75", "ناقص ألف وخمسمائة وعشرون دينار جزائري وخمسة وسبعون سنتيم"},
    {"-0.10", "ناقص صفر دينار جزائري وعشرة سنتيم"},
    {"0001.00", "واحد دينار جزائري"},
    {"1000000000000000.00", "كوادريليون دينار جزائري"},
};

class AmountWords : public ::testing::TestWithParam<AmountCase> {};

TEST_P(AmountWords, DinarsAndCentimes) { EXPECT_EQ(paydata::AmountInArabicWords(GetParam().shown), GetParam().words); }

INSTANTIATE_TEST_SUITE_P(Table, AmountWords, ::testing::ValuesIn(kAmounts));

// Only texts of the form ShowAmount writes are amounts.
class NotAnAmount : public ::testing::TestWithParam<const char *> {};

TEST_P(NotAnAmount, IsRefused) { EXPECT_THROW(paydata::AmountInArabicWords(GetParam()), std::invalid_argument); }

INSTANTIATE_TEST_SUITE_P(Table, NotAnAmount,
                         ::testing::Values("", "12", "12.5", "12.345", "1,00", "abc", "--1.00", "+1.00", "1.0a",
                                           " 1.00", ".50", "-", "1e3.00"));

TEST(AmountWords, TooLargeForWordsIsOutOfRange)
{
    EXPECT_THROW(paydata::AmountInArabicWords("1000000000000000000.00"), std::out_of_range);
    EXPECT_THROW(paydata::NumberInArabicWords(paydata::kLargestNumberInWords + 1), std::out_of_range);
    EXPECT_NO_THROW(paydata::NumberInArabicWords(paydata::kLargestNumberInWords));
}

// Every number up to a hundred thousand: words separated by single blanks,
// the conjunction always joined to a word, and the plural of the thousands
// exactly for three to ten thousand (and their hundreds).
TEST(NumberWordsProperty, WellFormedUpToAHundredThousand)
{
    for (std::uint64_t n = 0; n < 100000; ++n) {
        const std::string words = paydata::NumberInArabicWords(n);
        ASSERT_FALSE(words.empty()) << n;
        ASSERT_EQ(words.find("  "), std::string::npos) << n;
        ASSERT_NE(words.front(), ' ') << n;
        ASSERT_NE(words.back(), ' ') << n;
        ASSERT_EQ(words.find("و "), std::string::npos) << n << ": " << words; // a lone conjunction
        const std::uint64_t thousands = n / 1000 % 100;
        const bool plural = thousands >= 3 && thousands <= 10;
        ASSERT_EQ(words.find("آلاف") != std::string::npos, plural) << n << ": " << words;
        ASSERT_EQ(words.find("صفر") != std::string::npos, n == 0) << n;
    }
}

} // namespace
