// Which typed inputs each line depends on, against what a change of each
// input does to the lines.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>

#include "paycalc/line_inputs.h"
#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/situation.h"
#include "situation_gen.h"

using paycalc::Field;

namespace {

paycalc::MemoryForm Recalculated(const paycalc::Situation& s)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, s);
    paycalc::RecalculateAll(form);
    return form;
}

bool Lists(Field line, Field input)
{
    for (Field f : paycalc::TypedInputsBehind(line))
        if (f == input) return true;
    return false;
}

} // namespace

// A line changes with a typed input only if the input is listed behind it,
// and every input listed behind a line changes it for some situation.
TEST(LineInputs, AreTheInputsWhoseChangeMovesTheLine)
{
    std::mt19937 random(20160115);
    std::set<std::pair<Field, Field>> seen;
    for (int i = 0; i < 300; ++i) {
        paycalc::Situation s = testdata::RandomSituation(random);
        s.mutual = i % 2 == 0;
        const paycalc::MemoryForm before = Recalculated(s);
        for (Field input : paycalc::kTypedFields) {
            paycalc::Situation changed = s;
            std::string& typed = changed.Typed(input);
            typed = input == Field::Text23 ? std::to_string((std::stoi(s.mark) + 7) % 41)
                  : input == Field::Text20 ? std::to_string(std::stod(s.absence) + 1.5)
                                           : testdata::TypedAmount(random, 20000);
            const paycalc::MemoryForm after = Recalculated(changed);
            for (Field line : paycalc::kComputedFields) {
                if (before.Text(line) == after.Text(line)) continue;
                EXPECT_TRUE(Lists(line, input)) << paycalc::FieldName(line) << " moves with " << paycalc::FieldName(input);
                seen.insert({line, input});
            }
        }
    }
    for (Field line : paycalc::kComputedFields)
        for (Field input : paycalc::TypedInputsBehind(line))
            EXPECT_TRUE(seen.count({line, input})) << paycalc::FieldName(line) << " never moved with " << paycalc::FieldName(input);
}

// The inputs themselves and the lines of the lists alone have none behind them.
TEST(LineInputs, ListLinesReadNoTypedInput)
{
    for (Field f : {Field::Text1, Field::Text3, Field::Text9, Field::Text17, Field::Text18, Field::Text2000})
        EXPECT_TRUE(paycalc::TypedInputsBehind(f).empty()) << paycalc::FieldName(f);
    EXPECT_EQ(paycalc::TypedInputsBehind(Field::Text22), std::vector<Field>{Field::Text23});
}
