// The pay computation: RecalculateAll derives every line of the slip from the
// inputs of a PayForm, in a fixed order, each line written before the next one
// reads it back and, asked for a trace, explained right after it is computed,
// in four groups of steps:
//   ComputeBasePay          Text1, Text2    base pay, professional experience
//   ComputeAllowances       Text3..Text9    main pay and six allowances
//   ComputeSocialSecurity   Text12..Text15  subject pay, contribution, taxable, IRG
//   ComputeNetPay           Text16..Text22  mutual, family, absences, net, bonus
// Each group reads what the earlier ones wrote from the form. A failure (an
// overflow, an invalid operation, a row a table lacks) stops the run at its
// line with RecalcError; the lines written before keep their new texts, the
// others their previous ones.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "paycalc/pay_form.h"
#include "paycalc/rules_2016.h"
#include "paycalc/trace.h"
#include "paydata/amount.h"

namespace paycalc {

class RecalcError : public std::runtime_error {
public:
    // step: the field whose line could not be computed; source: the field
    // whose text could not be read, when a read failed.
    // typed: the typed fields the line was computed from, directly or through
    // earlier lines, one bit each in the order of kTypedFields.
    RecalcError(Field step, paydata::FailureKind kind, std::optional<Field> source, std::uint8_t typed = 0);

    Field step() const noexcept { return step_; }
    paydata::FailureKind kind() const noexcept { return kind_; }
    std::optional<Field> source() const noexcept { return source_; }
    // The typed fields (Text10, Text11, Text20, Text23) the line was computed
    // from, in that order: the inputs that may have to be corrected.
    std::vector<Field> TypedInputs() const;

private:
    Field step_;
    paydata::FailureKind kind_;
    std::optional<Field> source_;
    std::uint8_t typed_;
};

// "cannot compute the pay subject to social security (Text12): overflow
// reading Text10 (zone allowance)": the line that stopped and why, in words.
std::string Describe(const RecalcError &e);

// With a trace, every line also leaves its explanation there.
void RecalculateAll(PayForm &form, Trace *trace = nullptr);

void ComputeBasePay(PayForm &form, Trace *trace = nullptr);
void ComputeAllowances(PayForm &form, Trace *trace = nullptr);
void ComputeSocialSecurity(PayForm &form, Trace *trace = nullptr);
void ComputeNetPay(PayForm &form, Trace *trace = nullptr);

// A number of the rules as a slip writes it: 45, 9, 0.819.
std::string RuleNumber(double value);

// The bracket of the income-tax scale (rules_2016.h) a scale base falls in.
const IrgBracket &IrgBracketOf(double scaleBase);

// Monthly income tax (IRG) of a taxable amount, rounded to cents.
float ComputeIrg(float taxable);
// The scale base: the amount taken to seven significant digits, then cut down
// to a whole multiple of the scale's step.
double IrgScaleBase(float taxable);

} // namespace paycalc
