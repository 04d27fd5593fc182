// Which typed inputs each line depends on, against what a change of each
// input does to the lines.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>

#include "paydata/amount.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/situation.h"
#include "situation_gen.h"

using paycalc::Field;

namespace {

paycalc::MemoryForm Recalculated(const paycalc::Situation &s)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, s);
    paycalc::RecalculateAll(form);
    return form;
}

// A form whose recalculation stops when it writes `line`: the error then
// names the typed inputs the line was computed from.
class StopsAt final : public paycalc::PayForm {
public:
    StopsAt(paycalc::MemoryForm &form, Field line) : form_(form), line_(line) {}
    std::string Text(Field f) const override { return form_.Text(f); }
    void SetText(Field f, const std::string &text) override
    {
        if (f == line_) throw paydata::ConversionError(paydata::FailureKind::Overflow);
        form_.SetText(f, text);
    }
    std::string ListText(int list) const override { return form_.ListText(list); }
    int ListIndex(int list) const override { return form_.ListIndex(list); }
    paycalc::CheckState Check() const override { return form_.Check(); }

private:
    paycalc::MemoryForm &form_;
    Field line_;
};

std::vector<Field> TypedInputsBehind(Field line, bool member = true)
{
    paycalc::MemoryForm form;
    form.SetCheck(member ? paycalc::CheckState::Checked : paycalc::CheckState::Unchecked);
    StopsAt stopping(form, line);
    try {
        paycalc::RecalculateAll(stopping);
    } catch (const paycalc::RecalcError &e) {
        EXPECT_EQ(e.step(), line);
        return e.TypedInputs();
    } catch (const paydata::ConversionError &) {
        // Base pay and the experience allowance are written together once
        // both are computed from the lists: no line is being computed then.
        EXPECT_TRUE(line == Field::Text1 || line == Field::Text2) << paycalc::FieldName(line);
        return {};
    }
    ADD_FAILURE() << paycalc::FieldName(line) << " did not stop";
    return {};
}

bool Lists(Field line, Field input)
{
    for (Field f : TypedInputsBehind(line))
        if (f == input) return true;
    return false;
}

} // namespace

// A line changes with a typed input only if the error of a run stopped at
// the line lists the input, and every input listed behind a line changes it
// for some situation.
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
            std::string &typed = changed.Typed(input);
            typed = input == Field::Text23   ? std::to_string((std::stoi(s.mark) + 7) % 41)
                    : input == Field::Text20 ? std::to_string(std::stod(s.absence) + 1.5)
                                             : testdata::TypedAmount(random, 20000);
            const paycalc::MemoryForm after = Recalculated(changed);
            for (Field line : paycalc::kComputedFields) {
                if (before.Text(line) == after.Text(line)) continue;
                EXPECT_TRUE(Lists(line, input))
                    << paycalc::FieldName(line) << " moves with " << paycalc::FieldName(input);
                seen.insert({line, input});
            }
        }
    }
    for (Field line : paycalc::kComputedFields)
        for (Field input : TypedInputsBehind(line))
            EXPECT_TRUE(seen.count({line, input}))
                << paycalc::FieldName(line) << " never moved with " << paycalc::FieldName(input);
}

// The lines of the lists alone have none behind them; a line not read in a
// situation is not behind one computed from it.
TEST(LineInputs, ListLinesReadNoTypedInput)
{
    for (Field f : {Field::Text1, Field::Text3, Field::Text9, Field::Text17, Field::Text18, Field::Text2000})
        EXPECT_TRUE(TypedInputsBehind(f).empty()) << paycalc::FieldName(f);
    EXPECT_EQ(TypedInputsBehind(Field::Text22), std::vector<Field>{Field::Text23});
    EXPECT_EQ(TypedInputsBehind(Field::Text16), (std::vector<Field>{Field::Text10, Field::Text11}));
    EXPECT_TRUE(TypedInputsBehind(Field::Text16, false).empty()); // not a member: the subject pay is not read
}
