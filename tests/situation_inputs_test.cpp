// The table of the situation's inputs: every list input's range is its
// list's entries, its default is a fresh situation's, every typed input
// names its field, every input has its caption, and the batch's columns are
// labelled with those captions trimmed.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "batch/columns.h"
#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"

namespace {

using paycalc::SituationInput;

TEST(SituationInputs, ListRangesAreTheListsEntries)
{
    int lists = 0;
    for (const SituationInput &in : paycalc::kSituationInputs) {
        SCOPED_TRACE(std::string(in.name));
        EXPECT_EQ(&paycalc::InputOf(in.input), &in);
        if (in.list < 0) continue;
        ++lists;
        EXPECT_EQ(&paycalc::InputOfList(in.list), &in);
        const auto entries = paycalc::ComboEntries(in.list);
        EXPECT_EQ(in.high - in.low + 1, static_cast<int>(entries.size()));
        if (in.list == paycalc::kCategoryList) {
            EXPECT_EQ(entries.front(), std::to_string(in.low));
        }
    }
    EXPECT_EQ(lists, paycalc::kComboCount);
}

TEST(SituationInputs, DefaultsAreAFreshSituations)
{
    const paycalc::Situation fresh;
    for (const SituationInput &in : paycalc::kSituationInputs) {
        if (in.list < 0) continue;
        SCOPED_TRACE(std::string(in.name));
        EXPECT_GE(paycalc::ListValue(fresh, in), in.low);
        EXPECT_LE(paycalc::ListValue(fresh, in), in.high);
        // Out of its range, a situation cannot be shown.
        paycalc::Situation s;
        if (in.list == paycalc::kCategoryList) s.category = in.high + 1;
        else s.SetListPosition(in.list, in.high + 1);
        EXPECT_EQ(s.Problem(), std::string(in.name) + " must be from " + std::to_string(in.low) + " to " +
                                   std::to_string(in.high) + ", not " + std::to_string(in.high + 1));
    }
}

TEST(SituationInputs, TypedInputsNameTheirFields)
{
    for (const SituationInput &in : paycalc::kSituationInputs) {
        if (in.list >= 0 || in.input == paycalc::Input::Mutual) continue;
        SCOPED_TRACE(std::string(in.name));
        EXPECT_TRUE(paycalc::IsTypedField(in.field));
        EXPECT_EQ(paycalc::Situation{}.Typed(in.field), std::string(paycalc::InitialText(in.field)));
    }
}

bool EdgeOfCaption(char c) { return c == ' ' || c == '\t' || c == ':'; }

bool OnlyEdges(std::string_view text)
{
    for (char c : text)
        if (!EdgeOfCaption(c)) return false;
    return true;
}

TEST(SituationInputs, EveryInputHasItsCaption)
{
    std::vector<std::string_view> seen;
    for (const SituationInput &in : paycalc::kSituationInputs) {
        SCOPED_TRACE(std::string(in.name));
        const std::string_view caption = paycalc::CaptionOf(in);
        if (in.list >= 0 || in.input == paycalc::Input::Mutual) {
            // The lists and the box: the table's own caption.
            EXPECT_FALSE(in.caption.empty());
            EXPECT_EQ(caption, in.caption);
        } else {
            // A typed input: its field's caption, written once, in the fields' table.
            EXPECT_TRUE(in.caption.empty());
            EXPECT_EQ(caption, paycalc::FieldCaption(in.field));
        }
        EXPECT_FALSE(OnlyEdges(caption)) << "a caption of blanks and ':' only";
        for (std::string_view other : seen) EXPECT_NE(caption, other);
        seen.push_back(caption);
    }
}

TEST(SituationInputs, BatchLabelsAreTheCaptionsTrimmed)
{
    for (const SituationInput &in : paycalc::kSituationInputs) {
        SCOPED_TRACE(std::string(in.name));
        const paycalc::Input column = in.input;
        // The columns are the inputs, in the same order.
        std::string name(batch::ColumnName(column));
        for (char &c : name)
            if (c == '_') c = '-';
        EXPECT_EQ(name, in.name);

        // The label is the caption without the blanks and ':' at its ends.
        const std::string_view caption = paycalc::CaptionOf(in);
        const std::string_view label = batch::ColumnLabel(column);
        ASSERT_FALSE(label.empty());
        EXPECT_FALSE(EdgeOfCaption(label.front()));
        EXPECT_FALSE(EdgeOfCaption(label.back()));
        const std::size_t at = caption.find(label);
        ASSERT_NE(at, std::string_view::npos);
        EXPECT_TRUE(OnlyEdges(caption.substr(0, at)));
        EXPECT_TRUE(OnlyEdges(caption.substr(at + label.size())));

        // A header written as the window shows the caption names the column.
        batch::Layout layout;
        const batch::Message problem = batch::MakeLayout({std::string(caption)}, layout);
        ASSERT_TRUE(problem.empty()) << problem.english;
        EXPECT_EQ(layout.where[static_cast<std::size_t>(column)], 0);
        EXPECT_EQ(batch::ArabicRole(layout, 0), label);
    }
}

} // namespace
