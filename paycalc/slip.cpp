#include "paycalc/slip.h"

#include <stdexcept>

#include "paydata/amount.h"
#include "paydata/arabic_words.h"

namespace paycalc {

namespace {

// The form of one slip: its text boxes are the slip's own texts, so the
// recalculation writes every line straight into the slip, and its lists and
// box are the situation's.
class SlipForm final : public PayForm {
public:
    SlipForm(std::array<std::string, kFieldCount> &texts, const Situation &situation)
        : texts_(texts), situation_(situation)
    {
    }
    std::string Text(Field field) const override { return texts_[static_cast<std::size_t>(field)]; }
    void SetText(Field field, const std::string &text) override { texts_[static_cast<std::size_t>(field)] = text; }
    std::string ListText(int list) const override
    {
        return ComboEntries(list)[static_cast<std::size_t>(situation_.ListPosition(list))];
    }
    int ListIndex(int list) const override { return situation_.ListPosition(list); }
    CheckState Check() const override { return situation_.mutual ? CheckState::Checked : CheckState::Unchecked; }

private:
    std::array<std::string, kFieldCount> &texts_;
    const Situation &situation_;
};

} // namespace

void ComputeSlip(const Situation &situation, Slip &out, bool explain)
{
    if (std::string problem = situation.Problem(); !problem.empty()) throw std::invalid_argument(problem);
    out.situation = situation;
    out.error.reset();
    // A slip computed without explanations has none to clear; clearing an
    // empty trace anyway costs a tenth of a recalculation.
    bool traced = false;
    for (int f = 0; f < kFieldCount && !traced; ++f) traced = out.trace.Find(static_cast<Field>(f)) != nullptr;
    if (traced) out.trace.Clear();
    // Every computed line starts empty: a run that stops leaves the lines it
    // did not reach empty, with nothing of the slip computed before. (Each
    // line is written before any later line reads it.)
    for (Field f : kComputedFields) out.texts[static_cast<std::size_t>(Index(f))].clear();
    for (Field typed : kTypedFields) out.texts[static_cast<std::size_t>(Index(typed))] = situation.Typed(typed);
    SlipForm form(out.texts, out.situation);
    try {
        RecalculateAll(form, explain ? &out.trace : nullptr);
    } catch (const RecalcError &e) {
        out.error = e;
    }
}

Slip ComputeSlip(const Situation &situation, bool explain)
{
    Slip slip;
    ComputeSlip(situation, slip, explain);
    return slip;
}

SlipLine Slip::Line(Field f) const
{
    SlipLine line{f, KindOf(f), LineName(f), LineLabel(f), Text(f), {}, {}, trace.Find(f)};
    if (IsTypedField(f)) {
        try {
            line.amount = paydata::ShowAmount(paydata::ReadAmount(line.amount));
        } catch (const paydata::ConversionError &) {
            // shown as typed: a run that read it never got past it
        }
    }
    if (line.explanation) line.base = line.explanation->base, line.rate = line.explanation->rate;
    return line;
}

SlipTotals Slip::Totals() const
{
    using paydata::ReadAmount;
    using paydata::ShowAmount;
    SlipTotals totals;
    totals.netPay = Text(Field::Text21);
    try {
        double earnings = 0;
        double deductions = 0;
        for (Field f : PrintedLines()) {
            const LineKind kind = KindOf(f);
            if (kind != LineKind::Earning && kind != LineKind::Deduction) continue;
            double &column = kind == LineKind::Earning ? earnings : deductions;
            column = paydata::Add(column, ReadAmount(Line(f).amount));
        }
        totals.earnings = ShowAmount(earnings);
        totals.deductions = ShowAmount(deductions);
        totals.difference = ShowAmount(paydata::Sub(ReadAmount(totals.earnings), ReadAmount(totals.deductions)));
        if (totals.difference != totals.netPay)
            totals.rounding = ShowAmount(paydata::Sub(ReadAmount(totals.netPay), ReadAmount(totals.difference)));
        totals.computed = true;
    } catch (const paydata::ConversionError &) {
        totals = SlipTotals{};
        totals.netPay = Text(Field::Text21);
    }
    return totals;
}

std::string Slip::NetPayInWords() const
{
    try {
        return paydata::AmountInArabicWords(Text(Field::Text21));
    } catch (const std::exception &) {
        return {}; // beyond the words a slip writes (10^18 dinars and more), or no net pay
    }
}

namespace {

// Whether the situation's slip computes once `cleared` is emptied, its other
// inputs staying as they are.
bool ComputesWithout(Situation situation, Field cleared)
{
    situation.Typed(cleared).clear();
    try {
        return ComputeSlip(situation).ok();
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

Wording StoppedMessage(const RecalcError &error, const Situation &situation)
{
    std::vector<Field> inputs;
    if (error.source() && IsTypedField(*error.source())) {
        inputs = {*error.source()};
    } else {
        inputs = error.TypedInputs();
        std::vector<Field> culprits;
        for (Field input : inputs)
            if (ComputesWithout(situation, input)) culprits.push_back(input);
        if (!culprits.empty()) inputs = culprits;
    }
    if (inputs.empty()) {
        const Field line = ShownLine(error.step());
        return {"the " + std::string(FieldTerm(line)) + " cannot be computed: check the choices in the lists.",
                "تعذر حساب «" + FieldTitle(line) + "»: راجع الاختيارات في القوائم.",
                "impossible de calculer « " + std::string(LineLabel(line).french) + " » : vérifiez les choix des listes."};
    }
    Wording names;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        names.english += (i ? " or the " : "the ") + std::string(FieldTerm(inputs[i]));
        names.arabic += (i ? " أو «" : "«") + FieldTitle(inputs[i]) + "»";
        names.french += (i ? " » ou « " : "« ") + std::string(LineLabel(inputs[i]).french);
    }
    // What is wrong with the value: too large, not in the tables, or else no valid result.
    constexpr std::array<std::array<const char *, 3>, 3> kWhy{{
        {" is too large", " كبيرة جدا", " » est trop grande"},
        {" is not in the tables", " غير موجودة في الجداول", " » n'est pas dans les tables"},
        {" gives no valid result", " لا تعطي نتيجة صحيحة", " » ne donne pas de résultat valable"},
    }};
    using paydata::FailureKind;
    const auto &why = kWhy[error.kind() == FailureKind::Overflow ? 0 : error.kind() == FailureKind::NoSuchRow ? 1 : 2];
    const bool one = inputs.size() == 1;
    return {std::string(one ? "the value typed in " : "one of the values typed in ") + names.english + why[0] +
                ": correct it.",
            std::string(one ? "القيمة المكتوبة في " : "إحدى القيم المكتوبة في ") + names.arabic + why[1] + "، صححها.",
            std::string(one ? "la valeur saisie dans " : "l'une des valeurs saisies dans ") + names.french + why[2] +
                " : corrigez-la."};
}

Situation SituationOf(const PayForm &form)
{
    Situation s;
    for (int list = 0; list < kComboCount; ++list) s.SetListPosition(list, form.ListIndex(list));
    s.mutual = form.Check() == CheckState::Checked;
    for (Field typed : kTypedFields) s.Typed(typed) = form.Text(typed);
    return s;
}

void ReadForm(const PayForm &form, Slip &slip)
{
    slip.situation = SituationOf(form);
    for (int f = 0; f < kFieldCount; ++f) slip.texts[static_cast<std::size_t>(f)] = form.Text(static_cast<Field>(f));
}

} // namespace paycalc
