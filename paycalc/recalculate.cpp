#include "paycalc/recalculate.h"

#include <array>

#include "paycalc/rules_2016.h"
#include "paydata/number_text.h"
#include "paydata/tables.h"

namespace paycalc {

using namespace paydata;

RecalcError::RecalcError(Field step, FailureKind kind, std::optional<Field> source, std::uint8_t typed)
    : std::runtime_error(std::string(FieldTerm(step)) + " (" + std::string(FieldName(step)) +
                         "): " + std::string(FailureName(kind)) +
                         (source ? " reading " + std::string(FieldName(*source)) : std::string())),
      step_(step), kind_(kind), source_(source), typed_(typed)
{
}

std::vector<Field> RecalcError::TypedInputs() const
{
    std::vector<Field> inputs;
    for (std::size_t i = 0; i < kTypedFields.size(); ++i)
        if (typed_ & (1u << i)) inputs.push_back(kTypedFields[i]);
    return inputs;
}

std::string RuleNumber(double value) { return std::string(GeneralText(value, 15)); }

std::string Describe(const RecalcError &e)
{
    // what() names the line, the failure and the field it could not read.
    std::string text = "cannot compute the " + std::string(e.what());
    if (auto source = e.source()) text += " (" + std::string(FieldTerm(*source)) + ")";
    return text;
}

std::string ExplanationText(const Explanation &e)
{
    std::string text = e.rule;
    text += '\n';
    if (!e.formula.empty()) text += e.formula + " = ";
    text += e.result;
    return text;
}

namespace {

// The rules every slip is computed with.
constexpr const Rules &kRules = kJanuary2016;

// A number as plain decimal text, the shortest that reads back the same.
std::string Plain(double value) { return FixedText(value); }

std::string PercentText(double percent) { return RuleNumber(percent) + "%"; }
// The name a slip gives the monthly income-tax scale in its rate column.
constexpr const char *kIrgScaleName = "السلم الشهري";

// A line's explanation as a rule gives it: `formula` has a `{}` for each
// amount quoted; `base` and `rate` are what a slip states beside the line.
struct Why {
    std::string rule;
    std::string formula = {};
    std::vector<Quoted> quoted = {};
    std::string base = {};
    std::string rate = {};
};

// One recalculation's access to the form. Every line runs inside Line(), so a
// failure stops the recalculation with an error naming that line, the field
// whose text could not be read, if any, and the typed fields the line was
// computed from. With a trace, each line also explains itself from the
// amounts it used, right after it is computed.
class Lines {
public:
    Lines(PayForm &form, Trace *trace) : form_(form), trace_(trace)
    {
        // A typed field is behind itself; a computed one behind the lines it read.
        for (std::size_t i = 0; i < kTypedFields.size(); ++i)
            behind_[static_cast<std::size_t>(kTypedFields[i])] = static_cast<std::uint8_t>(1u << i);
    }

    double Read(Field f)
    {
        reading_ |= behind_[static_cast<std::size_t>(f)];
        try {
            return ReadAmount(form_.Text(f));
        } catch (const ConversionError &) {
            failedRead_ = f;
            throw;
        }
    }
    double ReadList(int list) const { return ReadAmount(form_.ListText(list)); }
    int ListIndex(int list) const { return form_.ListIndex(list); }
    void Show(Field f, double value) { Write(f, ShowAmount(value)); }
    void Write(Field f, const std::string &text)
    {
        behind_[static_cast<std::size_t>(f)] = reading_;
        form_.SetText(f, text);
    }
    CheckState Check() const { return form_.Check(); }

    template <class Fn>
    void Line(Field f, Fn &&compute)
    {
        reading_ = 0;
        try {
            compute();
        } catch (const ConversionError &e) {
            throw RecalcError(f, e.kind(), failedRead_, reading_);
        }
    }
    // A line, then its explanation: `explain` gives it, and runs only when a
    // trace was asked for.
    template <class Fn, class Why>
    void Line(Field f, Fn &&compute, Why &&explain)
    {
        Line(f, compute);
        Explain(f, explain);
    }
    template <class Why>
    void Explain(Field f, Why &&explain)
    {
        if (trace_) Record(f, explain());
    }
    void SetPoints(int base, int echelon)
    {
        if (trace_) trace_->points = {base, echelon};
    }

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
    std::string Text(Field f) const { return form_.Text(f); }

private:
    // Records the explanation of line f; the formula's `{}` are replaced by
    // the quoted amounts in order.
    void Record(Field f, Why why)
    {
        Explanation e{std::move(why.rule), {}, form_.Text(f), {}, std::move(why.base), std::move(why.rate)};
        std::size_t next = 0;
        const std::string_view formula = why.formula;
        for (std::size_t i = 0; i < formula.size(); ++i) {
            if (formula.compare(i, 2, "{}") == 0 && next < why.quoted.size()) {
                e.formula += why.quoted[next++].amount;
                ++i;
            } else {
                e.formula += formula[i];
            }
        }
        for (auto &q : why.quoted)
            if (q.field) e.quoted.push_back(std::move(q));
        trace_->Set(f, std::move(e));
    }
    PayForm &form_;
    Trace *trace_;
    std::optional<Field> failedRead_;
    std::uint8_t reading_ = 0; // the typed fields read so far by the line being computed
    // The typed fields each field's text was computed from, one bit each in
    // the order of kTypedFields.
    std::array<std::uint8_t, kFieldCount> behind_{};
};

int CategoryRow(const Lines &lines) { return ToInt16(Sub(lines.ReadList(kCategoryList), 1)); }

void BasePay(Lines &lines)
{
    int basePoints = 0;
    lines.Line(Field::Text1, [&] { basePoints = BasePoints(CategoryRow(lines)); });

    std::string experience;
    int points = 0; // no echelon selected counts as none
    lines.Line(Field::Text2, [&] {
        int position = lines.ListIndex(kEchelonList);
        if (position > 0) {
            int row = CategoryRow(lines);
            points = EchelonPoints(ToInt16(lines.ReadList(kEchelonList)), row);
        }
        experience = ShowAmount(Mul(kRules.pointValue, points));
    });

    // Both lines are written together, once both are known.
    std::string base;
    lines.Line(Field::Text1, [&] { base = ShowAmount(Mul(kRules.pointValue, basePoints)); });
    lines.Write(Field::Text1, base);
    lines.Write(Field::Text2, experience);
    lines.SetPoints(basePoints, points);

    const auto perPoint = [&](std::string rule, int n) {
        return Why{std::move(rule) + " مضروبة في قيمة النقطة " + Plain(kRules.pointValue),
                   "{} × {}",
                   {Lines::Q(n), Lines::Q(kRules.pointValue)},
                   RuleNumber(n) + " نقطة",
                   "× " + RuleNumber(kRules.pointValue)};
    };
    lines.Explain(Field::Text1, [&] {
        return perPoint("النقاط الاستدلالية الأساسية للصنف " + lines.ListNumber(kCategoryList), basePoints);
    });
    lines.Explain(Field::Text2, [&] {
        return perPoint("النقاط التي تضيفها الدرجة " + lines.ListNumber(kEchelonList) + " في الصنف " +
                            lines.ListNumber(kCategoryList),
                        points);
    });
}

void Allowances(Lines &lines)
{
    // Main pay: base pay and the experience allowance as shown.
    lines.Line(
        Field::Text3, [&] { lines.Show(Field::Text3, Add(lines.Read(Field::Text1), lines.Read(Field::Text2))); },
        [&] {
            return Why{"الأجر الرئيسي: الأجر الأساسي مضافا إليه منحة الخبرة المهنية",
                       "{} + {}",
                       {lines.Q(Field::Text1), lines.Q(Field::Text2)}};
        });

    // Pedagogical experience: a percentage of base pay per echelon.
    lines.Line(
        Field::Text4,
        [&] {
            double echelon = lines.ReadList(kEchelonList);
            double base = lines.Read(Field::Text1);
            lines.Show(Field::Text4, Div(Mul(Mul(echelon, base), kRules.pedagogicalPercentPerEchelon), kPercentBase));
        },
        [&] {
            return Why{Plain(kRules.pedagogicalPercentPerEchelon) + " % من الأجر الأساسي عن كل درجة",
                       "{} × {} × {} ÷ {}",
                       {Lines::Q(lines.ReadList(kEchelonList)), lines.Q(Field::Text1),
                        Lines::Q(kRules.pedagogicalPercentPerEchelon), Lines::Q(kPercentBase)}};
        });

    // Documentation: a flat amount by category band. A list text between two
    // bands' categories (10.5) matches none and leaves the line as it was.
    const auto &middle = kRules.documentationMiddleCategories;
    lines.Line(
        Field::Text5,
        [&] {
            double c = lines.ReadList(kCategoryList);
            if (c <= kRules.documentationLowLastCategory) lines.Show(Field::Text5, kRules.documentationLow);
            if (c == middle[0] || c == middle[1]) lines.Show(Field::Text5, kRules.documentationMiddle);
            if (c >= kRules.documentationHighFirstCategory) lines.Show(Field::Text5, kRules.documentationHigh);
        },
        [&] {
            // The first category of the grid is 1.
            return Why{"مبلغ ثابت حسب الصنف: " + Plain(kRules.documentationLow) + " للأصناف من 1 إلى " +
                       std::to_string(kRules.documentationLowLastCategory) + "، و" + Plain(kRules.documentationMiddle) +
                       " للصنفين " + std::to_string(middle[0]) + " و" + std::to_string(middle[1]) + "، و" +
                       Plain(kRules.documentationHigh) + " ابتداء من الصنف " +
                       std::to_string(kRules.documentationHighFirstCategory) + "؛ الصنف هنا " +
                       lines.ListNumber(kCategoryList)};
        });

    constexpr double kNewAllowanceRate = Rate(kRules.newAllowancePercent);
    lines.Line(
        Field::Text6, [&] { lines.Show(Field::Text6, Mul(lines.Read(Field::Text3), kNewAllowanceRate)); },
        [&] {
            return Why{Plain(kRules.newAllowancePercent) + " % من الأجر الرئيسي",
                       "{} × {}",
                       {lines.Q(Field::Text3), Lines::Q(kNewAllowanceRate)}};
        });

    // Qualification: one percentage of main pay up to a category, another above.
    constexpr double kQualificationLowRate = Rate(kRules.qualificationLowPercent);
    constexpr double kQualificationHighRate = Rate(kRules.qualificationHighPercent);
    double rate = kQualificationHighRate;
    lines.Line(
        Field::Text7,
        [&] {
            const bool low = lines.ReadList(kCategoryList) <= kRules.qualificationLowLastCategory;
            rate = low ? kQualificationLowRate : kQualificationHighRate;
            lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), rate));
        },
        [&] {
            return Why{Plain(kRules.qualificationLowPercent) + " % من الأجر الرئيسي حتى الصنف " +
                           std::to_string(kRules.qualificationLowLastCategory) + "، و" +
                           Plain(kRules.qualificationHighPercent) + " % ابتداء من الصنف " +
                           std::to_string(kRules.qualificationLowLastCategory + 1),
                       "{} × {}",
                       {lines.Q(Field::Text3), Lines::Q(rate)}};
        });

    lines.Line(
        Field::Text8, [&] { lines.Show(Field::Text8, FlatAllowance(CategoryRow(lines))); },
        [&] { return Why{"مبلغ ثابت حسب الصنف؛ الصنف هنا " + lines.ListNumber(kCategoryList)}; });

    // Specific post: the list's position is the table row; with nothing
    // selected the line shows the empty text of an unselected entry.
    int postRow = -1;
    lines.Line(
        Field::Text9,
        [&] {
            postRow = lines.ListIndex(kPostList);
            if (postRow == -1) lines.Write(Field::Text9, std::string());
            else lines.Show(Field::Text9, PostAmount(postRow));
        },
        [&] {
            const std::string post = postRow > 0 && postRow < kPostCount
                                         ? std::string(kSpecificPosts[static_cast<std::size_t>(postRow)].title)
                                         : std::string("بدون منصب نوعي");
            return Why{"مبلغ ثابت حسب المنصب النوعي: " + post};
        });
}

void SocialSecurity(Lines &lines)
{
    // Everything of main pay and the allowances is subject, nothing capped.
    constexpr Field kSubject[] = {Field::Text3, Field::Text4, Field::Text5,  Field::Text6, Field::Text7,
                                  Field::Text8, Field::Text9, Field::Text10, Field::Text11};
    lines.Line(
        Field::Text12,
        [&] {
            double t3 = lines.Read(Field::Text3);
            double sum = Add(lines.Read(Field::Text4), t3);
            for (std::size_t i = 2; i < std::size(kSubject); ++i) sum = Add(sum, lines.Read(kSubject[i]));
            lines.Show(Field::Text12, sum);
        },
        [&] {
            Why why{"الأجر الرئيسي وكل المنح، ومنها منحة المنطقة ومنحة السكن، كلها خاضعة للضمان الاجتماعي"};
            for (Field f : kSubject) why.quoted.push_back(lines.Q(f));
            why.formula = "{} + {} + {} + {} + {} + {} + {} + {} + {}";
            return why;
        });
    constexpr double kSocialSecurityRate = Rate(kRules.socialSecurityPercent);
    lines.Line(
        Field::Text13, [&] { lines.Show(Field::Text13, Mul(lines.Read(Field::Text12), kSocialSecurityRate)); },
        [&] {
            return Why{Plain(kRules.socialSecurityPercent) + " % من الأجر الخاضع للضمان الاجتماعي",
                       "{} × {} %",
                       {lines.Q(Field::Text12), Lines::Q(kRules.socialSecurityPercent)},
                       lines.Text(Field::Text12),
                       PercentText(kRules.socialSecurityPercent)};
        });
    lines.Line(
        Field::Text14,
        [&] {
            double subject = lines.Read(Field::Text12);
            lines.Show(Field::Text14, Sub(subject, lines.Read(Field::Text13)));
        },
        [&] {
            return Why{"الأجر الخاضع للضمان الاجتماعي ناقص اشتراك الضمان الاجتماعي",
                       "{} − {}",
                       {lines.Q(Field::Text12), lines.Q(Field::Text13)}};
        });
    float taxable = 0;
    lines.Line(
        Field::Text15,
        [&] {
            taxable = ToSingle(lines.Read(Field::Text14));
            lines.Show(Field::Text15, static_cast<double>(ComputeIrg(taxable)));
        },
        [&] {
            const double base = IrgScaleBase(taxable);
            const IrgBracket &bracket = IrgBracketOf(base);
            const double step = kRules.incomeTax.step;
            Why why{"الجدول الشهري للضريبة على الدخل: يُنزَّل المبلغ الخاضع للضريبة (" + lines.Q(Field::Text14).amount +
                        ") إلى مضاعف " + Plain(step) + " فيصير " + Plain(base),
                    "",
                    {lines.Q(Field::Text14)},
                    lines.Text(Field::Text14),
                    kIrgScaleName};
            if (bracket.exempt) {
                why.rule += "، ولا ضريبة على ما لا يتجاوز " + Plain(bracket.upTo);
                return why;
            }
            // The tax on each step as a percentage of it.
            why.rule += "، وهو في الشريحة فوق " + Plain(bracket.lower) + " بنسبة " +
                        Plain(bracket.factor * (kPercentBase / step)) + " % على ما زاد عليها" +
                        (bracket.fixed > 0 ? "، مضافا إليه " + Plain(bracket.fixed) + " عن الشرائح السابقة" : "");
            why.formula = bracket.fixed > 0 ? "({} − {}) × {} ÷ {} + {}" : "({} − {}) × {} ÷ {}";
            why.quoted = {Lines::Q(base), Lines::Q(bracket.lower), Lines::Q(bracket.factor),
                          Lines::Q(step), Lines::Q(bracket.fixed), lines.Q(Field::Text14)};
            return why;
        });
}

void NetPay(Lines &lines)
{
    const bool member = lines.Check() == CheckState::Checked;
    constexpr double kMutualRate = Rate(kRules.mutualPercent);
    lines.Line(
        Field::Text16, [&] { lines.Show(Field::Text16, member ? Mul(lines.Read(Field::Text12), kMutualRate) : 0); },
        [&] {
            if (!member) return Why{"غير مشترك في التعاضدية: لا اقتطاع", "", {}, {}, "غير مشترك"};
            return Why{Plain(kRules.mutualPercent) + " % من الأجر الخاضع للضمان الاجتماعي، للمشترك في التعاضدية",
                       "{} × {} %",
                       {lines.Q(Field::Text12), Lines::Q(kRules.mutualPercent)},
                       lines.Text(Field::Text12),
                       PercentText(kRules.mutualPercent)};
        });

    // An amount a child up to the full-rate count; above it, the full-rate
    // children's amount and another for each child beyond them.
    constexpr double kFullRateChildren = kRules.fullRateChildren;
    constexpr double kFullRateAllowance = kRules.FullRateChildrenAllowance();
    double children = 0;
    lines.Line(
        Field::Text2000,
        [&] {
            children = lines.ReadList(kChildrenList);
            if (children < kFullRateChildren + 1) lines.Show(Field::Text2000, Mul(children, kRules.childAllowance));
            else
                lines.Show(Field::Text2000,
                           Add(Mul(Sub(children, kFullRateChildren), kRules.childAllowanceBeyond), kFullRateAllowance));
        },
        [&] {
            const std::string ordinal(kRules.fullRateChildOrdinal);
            if (children < kFullRateChildren + 1)
                return Why{Plain(kRules.childAllowance) + " عن كل ولد حتى " + ordinal,
                           "{} × {}",
                           {Lines::Q(children), Lines::Q(kRules.childAllowance)}};
            return Why{Plain(kFullRateAllowance) + " عن الأولاد " + std::string(kRules.fullRateChildrenWords) +
                           " الأوائل، و" + Plain(kRules.childAllowanceBeyond) + " عن كل ولد بعد " + ordinal,
                       "({} − {}) × {} + {}",
                       {Lines::Q(children), Lines::Q(kFullRateChildren), Lines::Q(kRules.childAllowanceBeyond),
                        Lines::Q(kFullRateAllowance)}};
        });

    // Children over the age count an amount each, on top of their share above.
    lines.Line(
        Field::Text17,
        [&] {
            double overTen = lines.ReadList(kOverTenList);
            double share = lines.Read(Field::Text2000);
            lines.Show(Field::Text17, Add(Mul(overTen, kRules.olderChildAllowance), share));
        },
        [&] {
            return Why{Plain(kRules.olderChildAllowance) + " عن كل ولد أكبر من " + Plain(kRules.olderChildAge) +
                           " سنوات، مضافا إليها منحة الأولاد (" + lines.Q(Field::Text2000).amount + ")",
                       "{} × {} + {}",
                       {Lines::Q(lines.ReadList(kOverTenList)), Lines::Q(kRules.olderChildAllowance),
                        lines.Q(Field::Text2000)}};
        });

    // Single wage: married (or no status picked) with the spouse at home.
    const bool single = lines.ListIndex(kFamilyStatusList) == 0;
    const bool spouseAtHome = lines.ListIndex(kSpouseList) == 0;
    lines.Line(
        Field::Text18, [&] { lines.Show(Field::Text18, !single && spouseAtHome ? kRules.singleWage : 0); },
        [&] {
            return Why{single ? std::string("عازب: لا منحة للأجر الوحيد")
                       : spouseAtHome ? "متزوج والزوجة ماكثة بالبيت: منحة الأجر الوحيد " + Plain(kRules.singleWage)
                                      : std::string("متزوج والزوجة عاملة: لا منحة للأجر الوحيد")};
        });

    lines.Line(
        Field::Text2001,
        [&] {
            double subject = lines.Read(Field::Text12);
            double contribution = lines.Read(Field::Text13);
            double tax = lines.Read(Field::Text15);
            double mutual = lines.Read(Field::Text16);
            lines.Show(Field::Text2001, Sub(Sub(Sub(subject, contribution), tax), mutual));
        },
        [&] {
            return Why{"الراتب بعد الاقتطاعات: الأجر الخاضع ناقص الضمان الاجتماعي والضريبة على الدخل والتعاضدية",
                       "{} − {} − {} − {}",
                       {lines.Q(Field::Text12), lines.Q(Field::Text13), lines.Q(Field::Text15), lines.Q(Field::Text16)}};
        });

    // A day's part of the pay after deductions for each day; allowances are not reduced.
    lines.Line(
        Field::Text19,
        [&] {
            double pay = lines.Read(Field::Text2001);
            double days = lines.Read(Field::Text20);
            lines.Show(Field::Text19, Mul(Div(pay, kRules.daysInMonth), days));
        },
        [&] {
            return Why{"جزء من " + std::string(kRules.daysInMonthWords) + " من الراتب بعد الاقتطاعات (" +
                           lines.Q(Field::Text2001).amount + ") عن كل يوم غياب؛ المنح العائلية لا تنقص",
                       "{} ÷ {} × {}",
                       {lines.Q(Field::Text2001), Lines::Q(kRules.daysInMonth), lines.Q(Field::Text20)},
                       RuleNumber(ReadAmount(lines.Text(Field::Text20))) + " يوم",
                       "1/" + RuleNumber(kRules.daysInMonth) + " × " + lines.Text(Field::Text2001)};
        });

    lines.Line(
        Field::Text21,
        [&] {
            double pay = lines.Read(Field::Text2001);
            double family = lines.Read(Field::Text17);
            double singleWage = lines.Read(Field::Text18);
            double absences = lines.Read(Field::Text19);
            lines.Show(Field::Text21, Sub(Add(Add(family, pay), singleWage), absences));
        },
        [&] {
            return Why{"الراتب الصافي: المنح العائلية والراتب بعد الاقتطاعات والأجر الوحيد، ناقص الغيابات",
                       "{} + {} + {} − {}",
                       {lines.Q(Field::Text17), lines.Q(Field::Text2001), lines.Q(Field::Text18), lines.Q(Field::Text19)}};
        });

    // Quarterly bonus: the mark's share of the full mark, of the months'
    // main pay at the bonus rate, net of its contribution and flat tax.
    constexpr double kBonusRate = Rate(kRules.bonusPercent);
    constexpr double kBonusNetFactor = kRules.bonusFinalFactor;
    lines.Line(
        Field::Text22,
        [&] {
            double mark = lines.Read(Field::Text23);
            double mainPay = lines.Read(Field::Text3);
            lines.Show(Field::Text22,
                       Mul(Mul(Mul(Mul(Div(mark, kRules.bonusFullMark), mainPay), kRules.bonusMonths), kBonusRate),
                           kBonusNetFactor));
        },
        [&] {
            return Why{"مردودية " + std::string(kRules.bonusMonthsWords) + " أشهر: العلامة من " +
                           Plain(kRules.bonusFullMark) + "، في الأجر الرئيسي، في " + Plain(kRules.bonusMonths) +
                           " أشهر، بنسبة " + Plain(kRules.bonusPercent) + " %، في " + Plain(kBonusNetFactor),
                       "{} ÷ {} × {} × {} × {} × {}",
                       {lines.Q(Field::Text23), Lines::Q(kRules.bonusFullMark), lines.Q(Field::Text3),
                        Lines::Q(kRules.bonusMonths), Lines::Q(kBonusRate), Lines::Q(kBonusNetFactor)}};
        });
}

// One group of steps run on its own.
void Run(void (*group)(Lines &), PayForm &form, Trace *trace)
{
    Lines lines(form, trace);
    group(lines);
}

} // namespace

void ComputeBasePay(PayForm &form, Trace *trace) { Run(BasePay, form, trace); }
void ComputeAllowances(PayForm &form, Trace *trace) { Run(Allowances, form, trace); }
void ComputeSocialSecurity(PayForm &form, Trace *trace) { Run(SocialSecurity, form, trace); }
void ComputeNetPay(PayForm &form, Trace *trace) { Run(NetPay, form, trace); }

void RecalculateAll(PayForm &form, Trace *trace)
{
    if (trace) trace->Clear();
    Lines lines(form, trace);
    BasePay(lines);
    Allowances(lines);
    SocialSecurity(lines);
    NetPay(lines);
}

const IrgBracket &IrgBracketOf(double scaleBase)
{
    const auto &scale = kRules.incomeTax.brackets;
    for (const IrgBracket &bracket : scale)
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
    const IrgBracket &bracket = IrgBracketOf(base);
    double tax = 0;
    if (!bracket.exempt) {
        tax = Div(Mul(Sub(base, bracket.lower), bracket.factor), kRules.incomeTax.step);
        if (bracket.fixed != 0) tax = Add(tax, bracket.fixed);
    }
    // Rounded to cents as shown, then back to single precision.
    return ToSingle(ReadAmount(ShowAmount(static_cast<double>(ToSingle(tax)))));
}

} // namespace paycalc
