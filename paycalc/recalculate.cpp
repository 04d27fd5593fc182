#include "paycalc/recalculate.h"

#include <array>
#include <charconv>

#include "paycalc/rules_2016.h"
#include "paycalc/slip_table.h"
#include "paydata/number_text.h"
#include "paydata/tables.h"

namespace paycalc {

using namespace paydata;

RecalcError::RecalcError(Field step, FailureKind kind, std::optional<Field> source)
    : std::runtime_error(std::string(FieldTerm(step)) + " (" + std::string(FieldName(step)) + "): " +
                         std::string(FailureName(kind)) +
                         (source ? " reading " + std::string(FieldName(*source)) : std::string())),
      step_(step), kind_(kind), source_(source)
{
}

std::string Describe(const RecalcError& e)
{
    std::string text = "cannot compute the " + std::string(FieldTerm(e.step())) + " (" +
                       std::string(FieldName(e.step())) + "): " + std::string(FailureName(e.kind()));
    if (auto source = e.source())
        text += " reading " + std::string(FieldName(*source)) + " (" + std::string(FieldTerm(*source)) + ")";
    return text;
}

std::string ExplanationText(const Explanation& e)
{
    std::string text = e.rule;
    text += '\n';
    if (!e.formula.empty()) text += e.formula + " = ";
    text += e.result;
    return text;
}

namespace {

// The rules every slip is computed with.
constexpr const Rules& kRules = kJanuary2016;

// A number as plain decimal text, the shortest that reads back the same.
std::string Plain(double value)
{
    return FixedText(value);
}

// A slip's base in index points, and its rate per point.
std::string PointsText(double points) { return RuleNumber(points) + " نقطة"; }
std::string PerPoint() { return "× " + RuleNumber(kRules.pointValue); }
std::string PercentText(double percent) { return RuleNumber(percent) + "%"; }
// The name a slip gives the monthly income-tax scale in its rate column.
constexpr const char* kIrgScaleName = "السلم الشهري";

// One recalculation's access to the form. Every line runs inside Line(), so a
// failure stops the recalculation with an error naming that line and, when a
// text could not be read, the field it came from. With a trace, each line
// also explains itself from the amounts it used.
class Lines {
public:
    Lines(PayForm& form, Trace* trace) : form_(form), trace_(trace) {}

    double Read(Field f)
    {
        try {
            return ReadAmount(form_.Text(f));
        } catch (const ConversionError&) {
            failedRead_ = f;
            throw;
        }
    }
    double ReadList(int list) const { return ReadAmount(form_.ListText(list)); }
    int ListIndex(int list) const { return form_.ListIndex(list); }
    void Show(Field f, double value) { form_.SetText(f, ShowAmount(value)); }
    void Write(Field f, const std::string& text) { form_.SetText(f, text); }
    CheckState Check() const { return form_.Check(); }

    template <class Fn>
    void Line(Field f, Fn&& compute)
    {
        try {
            compute();
        } catch (const ConversionError& e) {
            throw RecalcError(f, e.kind(), failedRead_);
        }
    }

    // Explanations, built only when a trace was asked for.
    bool Tracing() const { return trace_ != nullptr; }
    // A field's amount as quoted in a computation: as shown, or for a typed
    // field the number its text holds.
    Quoted Q(Field f) const
    {
        std::string text = form_.Text(f);
        if (IsTypedField(f) || text.empty()) text = Plain(ReadAmount(text));
        return {text, f};
    }
    static Quoted Q(double constant) { return {Plain(constant), std::nullopt}; }
    std::string ListNumber(int list) const { return Plain(ReadList(list)); }
    // Records the explanation of line f; the formula's `{}` are replaced by
    // the quoted amounts in order.
    // `base` and `rate`: what a slip states beside the line.
    void Explain(Field f, std::string rule, std::string_view formula, std::vector<Quoted> quoted,
                 std::string base = {}, std::string rate = {})
    {
        Explanation e{std::move(rule), {}, form_.Text(f), {}, std::move(base), std::move(rate)};
        std::size_t next = 0;
        for (std::size_t i = 0; i < formula.size(); ++i) {
            if (formula.compare(i, 2, "{}") == 0 && next < quoted.size()) {
                e.formula += quoted[next++].amount;
                ++i;
            } else {
                e.formula += formula[i];
            }
        }
        for (auto& q : quoted)
            if (q.field) e.quoted.push_back(std::move(q));
        trace_->Set(f, std::move(e));
    }

private:
    PayForm& form_;
    Trace* trace_;
    std::optional<Field> failedRead_;
};

int CategoryRow(const Lines& lines) { return ToInt16(Sub(lines.ReadList(kCategoryList), 1)); }

} // namespace

void ComputeBasePay(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    int basePoints = 0;
    lines.Line(Field::Text1, [&] { basePoints = BasePoints(CategoryRow(lines)); });

    std::string experience;
    double points = 0; // no echelon selected counts as none
    lines.Line(Field::Text2, [&] {
        int position = lines.ListIndex(kEchelonList);
        if (position > 0) {
            int row = CategoryRow(lines);
            points = EchelonPoints(ToInt16(lines.ReadList(kEchelonList)), row);
        }
        experience = ShowAmount(Mul(kRules.pointValue, points));
    });

    std::string base;
    lines.Line(Field::Text1, [&] { base = ShowAmount(Mul(kRules.pointValue, basePoints)); });
    lines.Write(Field::Text1, base);
    lines.Write(Field::Text2, experience);

    if (lines.Tracing()) {
        const std::string category = lines.ListNumber(kCategoryList);
        const std::string pointValue = Plain(kRules.pointValue);
        lines.Explain(Field::Text1, "النقاط الاستدلالية الأساسية للصنف " + category + " مضروبة في قيمة النقطة " + pointValue,
                      "{} × {}", {Lines::Q(basePoints), Lines::Q(kRules.pointValue)}, PointsText(basePoints), PerPoint());
        lines.Explain(Field::Text2,
                      "النقاط التي تضيفها الدرجة " + lines.ListNumber(kEchelonList) + " في الصنف " + category +
                          " مضروبة في قيمة النقطة " + pointValue,
                      "{} × {}", {Lines::Q(points), Lines::Q(kRules.pointValue)}, PointsText(points), PerPoint());
    }
}

void ComputeAllowances(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    // Main pay: base pay and the experience allowance as shown.
    lines.Line(Field::Text3, [&] { lines.Show(Field::Text3, Add(lines.Read(Field::Text1), lines.Read(Field::Text2))); });

    // Pedagogical experience: a percentage of base pay per echelon.
    lines.Line(Field::Text4, [&] {
        double echelon = lines.ReadList(kEchelonList);
        double base = lines.Read(Field::Text1);
        lines.Show(Field::Text4, Div(Mul(Mul(echelon, base), kRules.pedagogicalPercentPerEchelon), kPercentBase));
    });

    // Documentation: a flat amount by category band. A list text between two
    // bands' categories (10.5) matches none and leaves the line as it was.
    const auto& middle = kRules.documentationMiddleCategories;
    lines.Line(Field::Text5, [&] {
        double c = lines.ReadList(kCategoryList);
        if (c <= kRules.documentationLowLastCategory) lines.Show(Field::Text5, kRules.documentationLow);
        if (c == middle[0] || c == middle[1]) lines.Show(Field::Text5, kRules.documentationMiddle);
        if (c >= kRules.documentationHighFirstCategory) lines.Show(Field::Text5, kRules.documentationHigh);
    });

    constexpr double kNewAllowanceRate = Rate(kRules.newAllowancePercent);
    lines.Line(Field::Text6, [&] { lines.Show(Field::Text6, Mul(lines.Read(Field::Text3), kNewAllowanceRate)); });

    // Qualification: one percentage of main pay up to a category, another above.
    constexpr double kQualificationLowRate = Rate(kRules.qualificationLowPercent);
    constexpr double kQualificationHighRate = Rate(kRules.qualificationHighPercent);
    double qualificationRate = 0;
    lines.Line(Field::Text7, [&] {
        double c = lines.ReadList(kCategoryList);
        if (c <= kRules.qualificationLowLastCategory)
            lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), qualificationRate = kQualificationLowRate));
        if (c > kRules.qualificationLowLastCategory)
            lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), qualificationRate = kQualificationHighRate));
    });

    lines.Line(Field::Text8, [&] { lines.Show(Field::Text8, FlatAllowance(CategoryRow(lines))); });

    // Specific post: the list's position is the table row; with nothing
    // selected the line shows the empty text of an unselected entry.
    int postRow = -1;
    lines.Line(Field::Text9, [&] {
        postRow = lines.ListIndex(kPostList);
        if (postRow == -1)
            lines.Write(Field::Text9, std::string());
        else
            lines.Show(Field::Text9, PostAmount(postRow));
    });

    if (lines.Tracing()) {
        const std::string category = lines.ListNumber(kCategoryList);
        lines.Explain(Field::Text3, "الأجر الرئيسي: الأجر الأساسي مضافا إليه منحة الخبرة المهنية", "{} + {}",
                      {lines.Q(Field::Text1), lines.Q(Field::Text2)});
        lines.Explain(Field::Text4, Plain(kRules.pedagogicalPercentPerEchelon) + " % من الأجر الأساسي عن كل درجة",
                      "{} × {} × {} ÷ {}",
                      {Lines::Q(lines.ReadList(kEchelonList)), lines.Q(Field::Text1),
                       Lines::Q(kRules.pedagogicalPercentPerEchelon), Lines::Q(kPercentBase)});
        // The first category of the grid is 1.
        lines.Explain(Field::Text5,
                      "مبلغ ثابت حسب الصنف: " + Plain(kRules.documentationLow) + " للأصناف من 1 إلى " +
                          std::to_string(kRules.documentationLowLastCategory) + "، و" +
                          Plain(kRules.documentationMiddle) + " للصنفين " + std::to_string(middle[0]) + " و" +
                          std::to_string(middle[1]) + "، و" + Plain(kRules.documentationHigh) +
                          " ابتداء من الصنف " + std::to_string(kRules.documentationHighFirstCategory) +
                          "؛ الصنف هنا " + category,
                      "", {});
        lines.Explain(Field::Text6, Plain(kRules.newAllowancePercent) + " % من الأجر الرئيسي", "{} × {}",
                      {lines.Q(Field::Text3), Lines::Q(kNewAllowanceRate)});
        lines.Explain(Field::Text7,
                      Plain(kRules.qualificationLowPercent) + " % من الأجر الرئيسي حتى الصنف " +
                          std::to_string(kRules.qualificationLowLastCategory) + "، و" +
                          Plain(kRules.qualificationHighPercent) + " % ابتداء من الصنف " +
                          std::to_string(kRules.qualificationLowLastCategory + 1),
                      "{} × {}",
                      {lines.Q(Field::Text3), Lines::Q(qualificationRate == kQualificationLowRate
                                                           ? kQualificationLowRate
                                                           : kQualificationHighRate)});
        lines.Explain(Field::Text8, "مبلغ ثابت حسب الصنف؛ الصنف هنا " + category, "", {});
        std::string post = postRow > 0 && postRow < kPostCount
                               ? std::string(kSpecificPosts[static_cast<std::size_t>(postRow)].title)
                               : std::string("بدون منصب نوعي");
        lines.Explain(Field::Text9, "مبلغ ثابت حسب المنصب النوعي: " + post, "", {});
    }
}

void ComputeSocialSecurity(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    // Everything of main pay and the allowances is subject, nothing capped.
    constexpr Field kSubject[] = {Field::Text3, Field::Text4, Field::Text5, Field::Text6, Field::Text7,
                                  Field::Text8, Field::Text9, Field::Text10, Field::Text11};
    lines.Line(Field::Text12, [&] {
        double t3 = lines.Read(Field::Text3);
        double sum = Add(lines.Read(Field::Text4), t3);
        for (std::size_t i = 2; i < std::size(kSubject); ++i) sum = Add(sum, lines.Read(kSubject[i]));
        lines.Show(Field::Text12, sum);
    });
    constexpr double kSocialSecurityRate = Rate(kRules.socialSecurityPercent);
    lines.Line(Field::Text13, [&] { lines.Show(Field::Text13, Mul(lines.Read(Field::Text12), kSocialSecurityRate)); });
    lines.Line(Field::Text14, [&] {
        double subject = lines.Read(Field::Text12);
        lines.Show(Field::Text14, Sub(subject, lines.Read(Field::Text13)));
    });
    float taxable = 0;
    lines.Line(Field::Text15, [&] {
        taxable = ToSingle(lines.Read(Field::Text14));
        lines.Show(Field::Text15, static_cast<double>(ComputeIrg(taxable)));
    });

    if (lines.Tracing()) {
        std::vector<Quoted> subject;
        std::string formula;
        for (Field f : kSubject) {
            subject.push_back(lines.Q(f));
            formula += formula.empty() ? "{}" : " + {}";
        }
        lines.Explain(Field::Text12,
                      "الأجر الرئيسي وكل المنح، ومنها منحة المنطقة ومنحة السكن، كلها خاضعة للضمان الاجتماعي", formula,
                      std::move(subject));
        lines.Explain(Field::Text13, Plain(kRules.socialSecurityPercent) + " % من الأجر الخاضع للضمان الاجتماعي",
                      "{} × {} %", {lines.Q(Field::Text12), Lines::Q(kRules.socialSecurityPercent)},
                      form.Text(Field::Text12), PercentText(kRules.socialSecurityPercent));
        lines.Explain(Field::Text14, "الأجر الخاضع للضمان الاجتماعي ناقص اشتراك الضمان الاجتماعي", "{} − {}",
                      {lines.Q(Field::Text12), lines.Q(Field::Text13)});
        const double base = IrgScaleBase(taxable);
        const IrgBracket& bracket = IrgBracketOf(base);
        const std::string baseText = Plain(base);
        const std::string taxableText = lines.Q(Field::Text14).amount;
        const double step = kRules.incomeTax.step;
        const std::string scaleBase = "الجدول الشهري للضريبة على الدخل: يُنزَّل المبلغ الخاضع للضريبة (" + taxableText +
                                      ") إلى مضاعف " + Plain(step) + " فيصير " + baseText;
        if (bracket.exempt) {
            lines.Explain(Field::Text15, scaleBase + "، ولا ضريبة على ما لا يتجاوز " + Plain(bracket.upTo), "",
                          {lines.Q(Field::Text14)}, form.Text(Field::Text14), kIrgScaleName);
        } else {
            // The tax on each step as a percentage of it.
            const std::string rate = Plain(bracket.factor * (kPercentBase / step));
            lines.Explain(Field::Text15,
                          scaleBase + "، وهو في الشريحة فوق " + Plain(bracket.lower) + " بنسبة " + rate +
                              " % على ما زاد عليها" +
                              (bracket.fixed > 0 ? "، مضافا إليه " + Plain(bracket.fixed) + " عن الشرائح السابقة" : ""),
                          bracket.fixed > 0 ? "({} − {}) × {} ÷ {} + {}" : "({} − {}) × {} ÷ {}",
                          {Lines::Q(base), Lines::Q(bracket.lower), Lines::Q(bracket.factor), Lines::Q(step),
                           Lines::Q(bracket.fixed), lines.Q(Field::Text14)},
                          form.Text(Field::Text14), kIrgScaleName);
        }
    }
}

void ComputeNetPay(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    const bool member = lines.Check() == CheckState::Checked;
    constexpr double kMutualRate = Rate(kRules.mutualPercent);
    lines.Line(Field::Text16, [&] {
        if (member)
            lines.Show(Field::Text16, Mul(lines.Read(Field::Text12), kMutualRate));
        else
            lines.Show(Field::Text16, 0);
    });

    // An amount a child up to the full-rate count; above it, the full-rate
    // children's amount and another for each child beyond them.
    constexpr double kFullRateChildren = kRules.fullRateChildren;
    constexpr double kFullRateAllowance = kRules.FullRateChildrenAllowance();
    double children = 0;
    lines.Line(Field::Text2000, [&] {
        children = lines.ReadList(kChildrenList);
        if (children < kFullRateChildren + 1)
            lines.Show(Field::Text2000, Mul(children, kRules.childAllowance));
        else
            lines.Show(Field::Text2000,
                       Add(Mul(Sub(children, kFullRateChildren), kRules.childAllowanceBeyond), kFullRateAllowance));
    });

    // Children over the age count an amount each, on top of their share above.
    lines.Line(Field::Text17, [&] {
        double overTen = lines.ReadList(kOverTenList);
        double share = lines.Read(Field::Text2000);
        lines.Show(Field::Text17, Add(Mul(overTen, kRules.olderChildAllowance), share));
    });

    // Single wage: married (or no status picked) with the spouse at home.
    const bool single = lines.ListIndex(kFamilyStatusList) == 0;
    const bool spouseAtHome = lines.ListIndex(kSpouseList) == 0;
    lines.Line(Field::Text18, [&] {
        if (single)
            lines.Show(Field::Text18, 0);
        else if (spouseAtHome)
            lines.Show(Field::Text18, kRules.singleWage);
        else
            lines.Show(Field::Text18, 0);
    });

    lines.Line(Field::Text2001, [&] {
        double subject = lines.Read(Field::Text12);
        double contribution = lines.Read(Field::Text13);
        double tax = lines.Read(Field::Text15);
        double mutual = lines.Read(Field::Text16);
        lines.Show(Field::Text2001, Sub(Sub(Sub(subject, contribution), tax), mutual));
    });

    // A day's part of the pay after deductions for each day; allowances are not reduced.
    lines.Line(Field::Text19, [&] {
        double pay = lines.Read(Field::Text2001);
        double days = lines.Read(Field::Text20);
        lines.Show(Field::Text19, Mul(Div(pay, kRules.daysInMonth), days));
    });

    lines.Line(Field::Text21, [&] {
        double pay = lines.Read(Field::Text2001);
        double family = lines.Read(Field::Text17);
        double singleWage = lines.Read(Field::Text18);
        double absences = lines.Read(Field::Text19);
        lines.Show(Field::Text21, Sub(Add(Add(family, pay), singleWage), absences));
    });

    // Quarterly bonus: the mark's share of the full mark, of the months'
    // main pay at the bonus rate, net of its contribution and flat tax.
    constexpr double kBonusRate = Rate(kRules.bonusPercent);
    constexpr double kBonusNetFactor = kRules.bonusFinalFactor;
    lines.Line(Field::Text22, [&] {
        double mark = lines.Read(Field::Text23);
        double mainPay = lines.Read(Field::Text3);
        lines.Show(Field::Text22, Mul(Mul(Mul(Mul(Div(mark, kRules.bonusFullMark), mainPay), kRules.bonusMonths),
                                          kBonusRate),
                                      kBonusNetFactor));
    });

    if (lines.Tracing()) {
        if (member)
            lines.Explain(Field::Text16,
                          Plain(kRules.mutualPercent) + " % من الأجر الخاضع للضمان الاجتماعي، للمشترك في التعاضدية",
                          "{} × {} %", {lines.Q(Field::Text12), Lines::Q(kRules.mutualPercent)},
                          form.Text(Field::Text12), PercentText(kRules.mutualPercent));
        else
            lines.Explain(Field::Text16, "غير مشترك في التعاضدية: لا اقتطاع", "", {}, {}, "غير مشترك");
        const std::string ordinal(kRules.fullRateChildOrdinal);
        if (children < kFullRateChildren + 1)
            lines.Explain(Field::Text2000, Plain(kRules.childAllowance) + " عن كل ولد حتى " + ordinal, "{} × {}",
                          {Lines::Q(children), Lines::Q(kRules.childAllowance)});
        else
            lines.Explain(Field::Text2000,
                          Plain(kFullRateAllowance) + " عن الأولاد " + std::string(kRules.fullRateChildrenWords) +
                              " الأوائل، و" + Plain(kRules.childAllowanceBeyond) + " عن كل ولد بعد " + ordinal,
                          "({} − {}) × {} + {}",
                          {Lines::Q(children), Lines::Q(kFullRateChildren), Lines::Q(kRules.childAllowanceBeyond),
                           Lines::Q(kFullRateAllowance)});
        lines.Explain(Field::Text17,
                      Plain(kRules.olderChildAllowance) + " عن كل ولد أكبر من " + Plain(kRules.olderChildAge) +
                          " سنوات، مضافا إليها منحة الأولاد (" + lines.Q(Field::Text2000).amount + ")",
                      "{} × {} + {}",
                      {Lines::Q(lines.ReadList(kOverTenList)), Lines::Q(kRules.olderChildAllowance),
                       lines.Q(Field::Text2000)});
        lines.Explain(Field::Text18,
                      single         ? std::string("عازب: لا منحة للأجر الوحيد")
                      : spouseAtHome ? "متزوج والزوجة ماكثة بالبيت: منحة الأجر الوحيد " + Plain(kRules.singleWage)
                                     : std::string("متزوج والزوجة عاملة: لا منحة للأجر الوحيد"),
                      "", {});
        lines.Explain(Field::Text2001,
                      "الراتب بعد الاقتطاعات: الأجر الخاضع ناقص الضمان الاجتماعي والضريبة على الدخل والتعاضدية",
                      "{} − {} − {} − {}",
                      {lines.Q(Field::Text12), lines.Q(Field::Text13), lines.Q(Field::Text15), lines.Q(Field::Text16)});
        lines.Explain(Field::Text19,
                      "جزء من " + std::string(kRules.daysInMonthWords) + " من الراتب بعد الاقتطاعات (" +
                          lines.Q(Field::Text2001).amount + ") عن كل يوم غياب؛ المنح العائلية لا تنقص",
                      "{} ÷ {} × {}",
                      {lines.Q(Field::Text2001), Lines::Q(kRules.daysInMonth), lines.Q(Field::Text20)},
                      RuleNumber(ReadAmount(form.Text(Field::Text20))) + " يوم",
                      "1/" + RuleNumber(kRules.daysInMonth) + " × " + form.Text(Field::Text2001));
        lines.Explain(Field::Text21,
                      "الراتب الصافي: المنح العائلية والراتب بعد الاقتطاعات والأجر الوحيد، ناقص الغيابات",
                      "{} + {} + {} − {}",
                      {lines.Q(Field::Text17), lines.Q(Field::Text2001), lines.Q(Field::Text18), lines.Q(Field::Text19)});
        lines.Explain(Field::Text22,
                      "مردودية " + std::string(kRules.bonusMonthsWords) + " أشهر: العلامة من " +
                          Plain(kRules.bonusFullMark) + "، في الأجر الرئيسي، في " + Plain(kRules.bonusMonths) +
                          " أشهر، بنسبة " + Plain(kRules.bonusPercent) + " %، في " + Plain(kBonusNetFactor),
                      "{} ÷ {} × {} × {} × {} × {}",
                      {lines.Q(Field::Text23), Lines::Q(kRules.bonusFullMark), lines.Q(Field::Text3),
                       Lines::Q(kRules.bonusMonths), Lines::Q(kBonusRate), Lines::Q(kBonusNetFactor)});
    }
}

void RecalculateAll(PayForm& form, Trace* trace)
{
    if (trace) trace->Clear();
    ComputeBasePay(form, trace);
    ComputeAllowances(form, trace);
    ComputeSocialSecurity(form, trace);
    ComputeNetPay(form, trace);
}

const IrgBracket& IrgBracketOf(double scaleBase)
{
    const auto& scale = kRules.incomeTax.brackets;
    for (const IrgBracket& bracket : scale)
        if (scaleBase <= bracket.upTo) return bracket;
    return scale[scale.size() - 1];
}

double IrgScaleBase(float taxable)
{
    // The amount as the runtime writes a single: at most seven significant digits.
    double amount = ReadAmount(GeneralText(taxable, 7));
    const double step = kRules.incomeTax.step;
    return Mul(Truncate(Div(amount, step)), step);
}

float ComputeIrg(float taxable)
{
    // Monthly scale: exempt in its first bracket, then a rate on the excess
    // over each bracket's lower bound; every bound belongs to the bracket
    // below it, and the fixed amounts keep the scale continuous.
    const double base = IrgScaleBase(taxable);
    const IrgBracket& bracket = IrgBracketOf(base);
    double tax = 0;
    if (!bracket.exempt) {
        tax = Div(Mul(Sub(base, bracket.lower), bracket.factor), kRules.incomeTax.step);
        if (bracket.fixed != 0) tax = Add(tax, bracket.fixed);
    }
    // Rounded to cents as shown, then back to single precision.
    return ToSingle(ReadAmount(ShowAmount(static_cast<double>(ToSingle(tax)))));
}

} // namespace paycalc
