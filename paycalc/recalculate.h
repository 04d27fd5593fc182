// The pay computation.
//
// RecalculateAll derives every line of the slip from the inputs of a PayForm,
// in a fixed order, each line written before the next one reads it back:
//   ComputeBasePay          Text1, Text2    base pay, professional experience
//   ComputeAllowances       Text3..Text9    main pay and six allowances
//   ComputeSocialSecurity   Text12..Text15  subject pay, contribution, taxable, IRG
//   ComputeNetPay           Text16..Text22  mutual, family, absences, net, bonus
// A failure (an overflow, an invalid operation, a row a table lacks) stops the
// run at its line with RecalcError; the lines written before keep their new
// texts, the others their previous ones.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "paycalc/pay_form.h"
#include "paycalc/rules_2016.h"
#include "paycalc/trace.h"
#include "paydata/amount.h"

namespace paycalc {

class RecalcError : public std::runtime_error {
public:
    // step: the field whose line could not be computed; source: the field
    // whose text could not be read, when a read failed.
    RecalcError(Field step, paydata::FailureKind kind, std::optional<Field> source);

    Field step() const noexcept { return step_; }
    paydata::FailureKind kind() const noexcept { return kind_; }
    std::optional<Field> source() const noexcept { return source_; }

private:
    Field step_;
    paydata::FailureKind kind_;
    std::optional<Field> source_;
};

// "cannot compute the pay subject to social security (Text12): overflow
// reading Text10 (zone allowance)": the line that stopped and why, in words.
std::string Describe(const RecalcError& e);

// With a trace, every line also leaves its explanation there.
void RecalculateAll(PayForm& form, Trace* trace = nullptr);

// The groups of steps, in the order RecalculateAll runs them. Each reads what
// the earlier groups wrote from the form.
void ComputeBasePay(PayForm& form, Trace* trace = nullptr);
void ComputeAllowances(PayForm& form, Trace* trace = nullptr);
void ComputeSocialSecurity(PayForm& form, Trace* trace = nullptr);
void ComputeNetPay(PayForm& form, Trace* trace = nullptr);

// The bracket of the income-tax scale (rules_2016.h) a scale base falls in.
const IrgBracket& IrgBracketOf(double scaleBase);

// Monthly income tax (IRG) of a taxable amount, rounded to cents.
float ComputeIrg(float taxable);
// The scale base: the amount taken to seven significant digits, then cut down
// to a whole multiple of the scale's step.
double IrgScaleBase(float taxable);

} // namespace paycalc
