// The slip's structure: which lines it has and in what order, what kind each
// line is (an earning, a deduction, a subtotal that later lines take as their
// base, or information beside the pay), the base and rate it states beside a
// line, and its totals: earnings - deductions = net pay. Every front end that
// prints, copies or saves a slip reads it from here; none decides a line's
// kind or adds the columns up again.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "paycalc/fields.h"
#include "paycalc/pay_form.h"
#include "paycalc/rules_2016.h"

namespace paycalc {

enum class LineKind : std::uint8_t {
    Earning,     // added to the earnings column
    Deduction,   // added to the deductions column
    Subtotal,    // a base of the lines after it, not added again
    Information, // beside the pay, not part of the net (the quarterly bonus)
};

// The lines of a printed slip in their order, each with its kind (the window
// shows the same lines in its own reading order, kSlipLines).
inline constexpr std::array<std::pair<Field, LineKind>, 20> kLineKinds{{
    {Field::Text1, LineKind::Earning},     {Field::Text2, LineKind::Earning},
    {Field::Text3, LineKind::Subtotal},    {Field::Text4, LineKind::Earning},
    {Field::Text5, LineKind::Earning},     {Field::Text6, LineKind::Earning},
    {Field::Text7, LineKind::Earning},     {Field::Text8, LineKind::Earning},
    {Field::Text9, LineKind::Earning},     {Field::Text10, LineKind::Earning},
    {Field::Text11, LineKind::Earning},    {Field::Text12, LineKind::Subtotal},
    {Field::Text13, LineKind::Deduction},  {Field::Text14, LineKind::Subtotal},
    {Field::Text15, LineKind::Deduction},  {Field::Text16, LineKind::Deduction},
    {Field::Text17, LineKind::Earning},    {Field::Text18, LineKind::Earning},
    {Field::Text19, LineKind::Deduction},  {Field::Text22, LineKind::Information},
}};

struct SlipLine {
    Field field;
    LineKind kind;
    std::string amount; // as shown; a typed allowance as ReadAmount reads it, shown to the cent
    std::string base;   // what the rate applies to, when the slip states one ("498 نقطة")
    std::string rate;   // the rate ("× 45", "9%"), or the rule's name ("السلم الشهري")
};

// The columns added up with ReadAmount / Add / Sub and shown with ShowAmount.
struct SlipTotals {
    bool computed = false;  // false only when a sum overflows
    std::string earnings;   // sum of the earning lines
    std::string deductions; // sum of the deduction lines
    std::string difference; // earnings - deductions
    std::string netPay;     // Text21, the slip's net pay
    // netPay - difference when they differ, else empty: a typed allowance
    // with more than two decimals counts as typed in the pay and shows
    // rounded to the cent on its line.
    std::string rounding;
};

// The index points of the grid behind base pay and the experience allowance.
struct GridPoints {
    int base = 0;
    int echelon = 0;
    bool known = false; // false when the category or echelon has no row in the grid
};

struct SlipTable {
    const Rules* rules = &kJanuary2016; // the rules the slip was computed with
    std::vector<SlipLine> lines;        // kLineKinds' lines, in that order
    SlipTotals totals;
    GridPoints points;

    const SlipLine& Line(Field field) const;
};

// The slip of a recalculated form: the amounts are the form's, the bases and
// rates those its recalculation states (the inputs are recalculated on a copy
// with a trace; the form is not touched).
SlipTable TableOf(const PayForm& form);

// A number of the rules as a slip writes it: 45, 9, 0.819.
std::string RuleNumber(double value);

} // namespace paycalc
