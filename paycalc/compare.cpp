#include "paycalc/compare.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "paydata/amount.h"
#include "paydata/tables.h"
#include "paycalc/rules_2016.h"

namespace paycalc {

using paydata::ReadAmount;
using paydata::ShowAmount;

std::string Difference(const std::string &before, const std::string &after)
{
    return ShowAmount(paydata::Sub(ReadAmount(after), ReadAmount(before)));
}

std::string LineDifferenceOf(const std::string &before, const std::string &after)
{
    if (before.empty() || after.empty()) return {};
    try {
        return Difference(before, after);
    } catch (const paydata::ConversionError &) {
        return {};
    }
}

const LineDifference &Comparison::Line(Field f) const
{
    auto it = std::find_if(lines.begin(), lines.end(), [f](const LineDifference &d) { return d.field == f; });
    if (it == lines.end()) throw std::out_of_range("not a computed line");
    return *it;
}

Comparison Compare(const Situation &before, const Situation &after, bool explain)
{
    Comparison c;
    c.before = ComputeSlip(before, explain);
    c.after = ComputeSlip(after, explain);
    c.lines.reserve(kComputedFields.size());
    for (Field f : kComputedFields)
        c.lines.push_back({f, c.before.Text(f), c.after.Text(f), LineDifferenceOf(c.before.Text(f), c.after.Text(f))});
    return c;
}

BackPay ComputeBackPay(const Comparison &comparison, int months)
{
    if (months < kMinBackPayMonths || months > kMaxBackPayMonths)
        throw std::invalid_argument("months must be from " + std::to_string(kMinBackPayMonths) + " to " +
                                    std::to_string(kMaxBackPayMonths));
    if (!comparison.ok()) throw std::invalid_argument("a slip of the comparison could not be computed");
    BackPay pay;
    pay.months = months;
    // A bonus covers a quarter's months: each whole one of them is owed one.
    pay.quarters = months / static_cast<int>(kJanuary2016.bonusMonths);
    pay.netDifference = Difference(comparison.before.Text(Field::Text21), comparison.after.Text(Field::Text21));
    pay.bonusDifference = Difference(comparison.before.Text(Field::Text22), comparison.after.Text(Field::Text22));
    pay.monthly = ShowAmount(paydata::Mul(ReadAmount(pay.netDifference), months));
    pay.bonus = ShowAmount(paydata::Mul(ReadAmount(pay.bonusDifference), pay.quarters));
    pay.total = ShowAmount(paydata::Add(ReadAmount(pay.monthly), ReadAmount(pay.bonus)));
    return pay;
}

std::optional<int> ReadBackPayMonths(std::string_view text)
{
    int months = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, months);
    if (text.empty() || text.front() == '-' || ec != std::errc() || ptr != end) return std::nullopt;
    if (months < kMinBackPayMonths || months > kMaxBackPayMonths) return std::nullopt;
    return months;
}

Wording MonthsRefusal(std::string_view text)
{
    const Wording rule = RuleOf(kWholeRule, kMinBackPayMonths, kMaxBackPayMonths);
    const std::string quoted = "'" + std::string(text) + "'";
    return {"the months of back pay are " + rule.english + ", not " + quoted,
            "عدد أشهر المخلفات " + rule.arabic + "، لا " + quoted,
            "les mois de rappel : " + rule.french + ", pas " + quoted};
}

Ladder ComputeLadder(const Situation &situation, bool withCategoryAbove)
{
    Ladder ladder;
    ladder.situation = situation;
    ladder.steps.resize(paydata::kEchelonCount);
    Situation rung = situation;
    for (int e = 0; e < paydata::kEchelonCount; ++e) {
        LadderStep &step = ladder.steps[static_cast<std::size_t>(e)];
        step.echelon = e;
        rung.echelon = e;
        ComputeSlip(rung, step.slip);
        if (e > 0)
            step.netStep = LineDifferenceOf(ladder.steps[static_cast<std::size_t>(e - 1)].slip.Text(Field::Text21),
                                            step.slip.Text(Field::Text21));
    }
    if (withCategoryAbove && situation.category < paydata::kCategoryCount) {
        Situation above = situation;
        ++above.category;
        ladder.categoryAbove = ComputeSlip(above);
    }
    return ladder;
}

namespace {

// Digits, optionally a point and more digits, optionally a minus sign before.
bool IsPlainAmount(std::string_view text)
{
    std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i > start;
    };
    if (!digits()) return false;
    if (i < text.size() && text[i] == '.' && (++i, !digits())) return false;
    if (i != text.size()) return false;
    try {
        (void)ShowAmount(ReadAmount(text));
        return true;
    } catch (const paydata::ConversionError &) {
        return false; // beyond any amount a slip can show
    }
}

} // namespace

OfficialProblem ReadOfficialAmount(std::string_view line, std::string_view amount, std::vector<OfficialAmount> &official)
{
    Field field{};
    if (!ParseLineName(line, field) || LineName(field).empty() ||
        std::find(kComputedFields.begin(), kComputedFields.end(), field) == kComputedFields.end())
        return OfficialProblem::NotALine;
    if (!IsPlainAmount(amount)) return OfficialProblem::NotAnAmount;
    for (const OfficialAmount &o : official)
        if (o.field == field) return OfficialProblem::Twice;
    official.push_back({field, std::string(amount)});
    return OfficialProblem::None;
}

Wording OfficialRefusal(OfficialProblem problem, std::string_view amount)
{
    const std::string quoted = "'" + std::string(amount) + "'";
    switch (problem) {
    case OfficialProblem::NotALine:
        return {"not a computed line of the slip (a field name such as Text21 or a readable name such as net_pay)",
                "ليس سطرا محسوبا من الكشف (اسم حقل مثل Text21 أو اسم مقروء مثل net_pay)",
                "pas une ligne calculée de la fiche (un nom de champ comme Text21 ou un nom lisible comme net_pay)"};
    case OfficialProblem::NotAnAmount:
        return {"an amount such as 43432.12 (digits and a point, no thousands separator), not " + quoted,
                "مبلغ مثل 43432.12 (أرقام ونقطة، دون فاصل الآلاف)، لا " + quoted,
                "un montant comme 43432.12 (des chiffres et un point, sans séparateur de milliers), pas " + quoted};
    case OfficialProblem::Twice:
        return {"the line is given twice", "السطر مكتوب مرتين", "la ligne est donnée deux fois"};
    case OfficialProblem::None: break;
    }
    return {};
}

bool CheckReport::allAgree() const
{
    return std::all_of(lines.begin(), lines.end(), [](const CheckedLine &l) { return l.agrees; });
}

CheckReport CheckOfficial(const Situation &situation, const std::vector<OfficialAmount> &official)
{
    for (const OfficialAmount &o : official)
        if (std::find(kComputedFields.begin(), kComputedFields.end(), o.field) == kComputedFields.end())
            throw std::invalid_argument(std::string(FieldName(o.field)) + " is not a computed line");
    CheckReport report;
    report.slip = ComputeSlip(situation, true);
    for (const OfficialAmount &o : official) {
        CheckedLine line;
        line.field = o.field;
        line.ours = report.slip.Text(o.field);
        line.theirs = o.amount;
        if (const Explanation *e = report.slip.trace.Find(o.field)) line.explanation = ExplanationText(*e);
        try {
            const std::string theirs = ShowAmount(ReadAmount(o.amount));
            line.agrees = !line.ours.empty() && theirs == line.ours;
            if (!line.ours.empty()) line.difference = Difference(line.ours, theirs);
        } catch (const paydata::ConversionError &) {
            line.agrees = false; // an amount beyond any pay agrees with nothing
        }
        report.lines.push_back(std::move(line));
    }
    return report;
}

} // namespace paycalc
