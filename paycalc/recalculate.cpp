#include "paycalc/recalculate.h"

#include <array>
#include <charconv>
#include <limits>

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

constexpr double kIndexPointValue = 45; // one index point
constexpr double kSocialSecurityRate = 0.09;
constexpr double kMutualRate = 0.01;
constexpr double kSingleWageAllowance = 800;
constexpr double kDaysInMonth = 30;
constexpr double kFullMark = 40;

// A number as plain decimal text, the shortest that reads back the same.
std::string Plain(double value)
{
    std::array<char, 400> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), res.ptr);
}

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
    void Explain(Field f, std::string rule, std::string_view formula, std::vector<Quoted> quoted)
    {
        Explanation e{std::move(rule), {}, form_.Text(f), {}};
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

constexpr IrgBracket kIrgScale[] = {
    {15000, 0, 0, 0, true},
    {22500, 15000, 2, 0, false},
    {28750, 22500, 1.2, 1500, false},
    {30000, 28750, 2, 2250, false},
    {std::numeric_limits<double>::infinity(), 30000, 3, 2500, false},
};

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
        experience = ShowAmount(Mul(kIndexPointValue, points));
    });

    std::string base;
    lines.Line(Field::Text1, [&] { base = ShowAmount(Mul(kIndexPointValue, basePoints)); });
    lines.Write(Field::Text1, base);
    lines.Write(Field::Text2, experience);

    if (lines.Tracing()) {
        const std::string category = lines.ListNumber(kCategoryList);
        lines.Explain(Field::Text1, "النقاط الاستدلالية الأساسية للصنف " + category + " مضروبة في قيمة النقطة 45",
                      "{} × {}", {Lines::Q(basePoints), Lines::Q(kIndexPointValue)});
        lines.Explain(Field::Text2,
                      "النقاط التي تضيفها الدرجة " + lines.ListNumber(kEchelonList) + " في الصنف " + category +
                          " مضروبة في قيمة النقطة 45",
                      "{} × {}", {Lines::Q(points), Lines::Q(kIndexPointValue)});
    }
}

void ComputeAllowances(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    // Main pay: base pay and the experience allowance as shown.
    lines.Line(Field::Text3, [&] { lines.Show(Field::Text3, Add(lines.Read(Field::Text1), lines.Read(Field::Text2))); });

    // Pedagogical experience: 4 % of base pay per echelon.
    lines.Line(Field::Text4, [&] {
        double echelon = lines.ReadList(kEchelonList);
        double base = lines.Read(Field::Text1);
        lines.Show(Field::Text4, Div(Mul(Mul(echelon, base), 4), 100));
    });

    // Documentation: a flat amount by category band.
    lines.Line(Field::Text5, [&] {
        double c = lines.ReadList(kCategoryList);
        if (c <= 10) lines.Show(Field::Text5, 2000);
        if (c == 11 || c == 12) lines.Show(Field::Text5, 2500);
        if (c >= 13) lines.Show(Field::Text5, 3000);
    });

    lines.Line(Field::Text6, [&] { lines.Show(Field::Text6, Mul(lines.Read(Field::Text3), 0.15)); });

    // Qualification: 40 % of main pay up to category 12, 45 % above.
    double qualificationRate = 0;
    lines.Line(Field::Text7, [&] {
        double c = lines.ReadList(kCategoryList);
        if (c <= 12) lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), qualificationRate = 0.4));
        if (c > 12) lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), qualificationRate = 0.45));
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
        lines.Explain(Field::Text4, "4 % من الأجر الأساسي عن كل درجة", "{} × {} × 4 ÷ 100",
                      {Lines::Q(lines.ReadList(kEchelonList)), lines.Q(Field::Text1)});
        lines.Explain(Field::Text5,
                      "مبلغ ثابت حسب الصنف: 2000 للأصناف من 1 إلى 10، و2500 للصنفين 11 و12، و3000 ابتداء من الصنف 13؛ "
                      "الصنف هنا " + category,
                      "", {});
        lines.Explain(Field::Text6, "15 % من الأجر الرئيسي", "{} × 0.15", {lines.Q(Field::Text3)});
        lines.Explain(Field::Text7, "40 % من الأجر الرئيسي حتى الصنف 12، و45 % ابتداء من الصنف 13",
                      qualificationRate == 0.4 ? "{} × 0.4" : "{} × 0.45", {lines.Q(Field::Text3)});
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
        lines.Explain(Field::Text13, "9 % من الأجر الخاضع للضمان الاجتماعي", "{} × 9 %", {lines.Q(Field::Text12)});
        lines.Explain(Field::Text14, "الأجر الخاضع للضمان الاجتماعي ناقص اشتراك الضمان الاجتماعي", "{} − {}",
                      {lines.Q(Field::Text12), lines.Q(Field::Text13)});
        const double base = IrgScaleBase(taxable);
        const IrgBracket& bracket = IrgBracketOf(base);
        const std::string baseText = Plain(base);
        const std::string taxableText = lines.Q(Field::Text14).amount;
        if (bracket.exempt) {
            lines.Explain(Field::Text15,
                          "الجدول الشهري للضريبة على الدخل: يُنزَّل المبلغ الخاضع للضريبة (" + taxableText +
                              ") إلى مضاعف 10 فيصير " + baseText + "، ولا ضريبة على ما لا يتجاوز 15000",
                          "", {lines.Q(Field::Text14)});
        } else {
            const std::string rate = Plain(bracket.factor * 10);
            lines.Explain(Field::Text15,
                          "الجدول الشهري للضريبة على الدخل: يُنزَّل المبلغ الخاضع للضريبة (" + taxableText +
                              ") إلى مضاعف 10 فيصير " + baseText + "، وهو في الشريحة فوق " + Plain(bracket.lower) + " بنسبة " + rate +
                              " % على ما زاد عليها" +
                              (bracket.fixed > 0 ? "، مضافا إليه " + Plain(bracket.fixed) + " عن الشرائح السابقة" : ""),
                          bracket.fixed > 0 ? "({} − {}) × {} ÷ 10 + {}" : "({} − {}) × {} ÷ 10",
                          {Lines::Q(base), Lines::Q(bracket.lower), Lines::Q(bracket.factor), Lines::Q(bracket.fixed),
                           lines.Q(Field::Text14)});
        }
    }
}

void ComputeNetPay(PayForm& form, Trace* trace)
{
    Lines lines(form, trace);
    const bool member = lines.Check() == CheckState::Checked;
    lines.Line(Field::Text16, [&] {
        if (member)
            lines.Show(Field::Text16, Mul(lines.Read(Field::Text12), kMutualRate));
        else
            lines.Show(Field::Text16, 0);
    });

    // 300 a child up to five; from six on, 1500 and 150 for each child beyond the fifth.
    double children = 0;
    lines.Line(Field::Text2000, [&] {
        children = lines.ReadList(kChildrenList);
        if (children < 6)
            lines.Show(Field::Text2000, Mul(children, 300));
        else
            lines.Show(Field::Text2000, Add(Mul(Sub(children, 5), 150), 1500));
    });

    // Children over ten count 11.25 each, on top of their share above.
    lines.Line(Field::Text17, [&] {
        double overTen = lines.ReadList(kOverTenList);
        double share = lines.Read(Field::Text2000);
        lines.Show(Field::Text17, Add(Mul(overTen, 11.25), share));
    });

    // Single wage: married (or no status picked) with the spouse at home.
    const bool single = lines.ListIndex(kFamilyStatusList) == 0;
    const bool spouseAtHome = lines.ListIndex(kSpouseList) == 0;
    lines.Line(Field::Text18, [&] {
        if (single)
            lines.Show(Field::Text18, 0);
        else if (spouseAtHome)
            lines.Show(Field::Text18, kSingleWageAllowance);
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

    // A thirtieth of the pay after deductions for each day; allowances are not reduced.
    lines.Line(Field::Text19, [&] {
        double pay = lines.Read(Field::Text2001);
        double days = lines.Read(Field::Text20);
        lines.Show(Field::Text19, Mul(Div(pay, kDaysInMonth), days));
    });

    lines.Line(Field::Text21, [&] {
        double pay = lines.Read(Field::Text2001);
        double family = lines.Read(Field::Text17);
        double singleWage = lines.Read(Field::Text18);
        double absences = lines.Read(Field::Text19);
        lines.Show(Field::Text21, Sub(Add(Add(family, pay), singleWage), absences));
    });

    // Quarterly bonus: mark / 40 of three months at 40 %, times 0.819.
    lines.Line(Field::Text22, [&] {
        double mark = lines.Read(Field::Text23);
        double mainPay = lines.Read(Field::Text3);
        lines.Show(Field::Text22, Mul(Mul(Mul(Mul(Div(mark, kFullMark), mainPay), 3), 0.4), 0.819));
    });

    if (lines.Tracing()) {
        if (member)
            lines.Explain(Field::Text16, "1 % من الأجر الخاضع للضمان الاجتماعي، للمشترك في التعاضدية", "{} × 1 %",
                          {lines.Q(Field::Text12)});
        else
            lines.Explain(Field::Text16, "غير مشترك في التعاضدية: لا اقتطاع", "", {});
        if (children < 6)
            lines.Explain(Field::Text2000, "300 عن كل ولد حتى الخامس", "{} × 300", {Lines::Q(children)});
        else
            lines.Explain(Field::Text2000, "1500 عن الأولاد الخمسة الأوائل، و150 عن كل ولد بعد الخامس",
                          "({} − 5) × 150 + 1500", {Lines::Q(children)});
        lines.Explain(Field::Text17, "11.25 عن كل ولد أكبر من 10 سنوات، مضافا إليها منحة الأولاد (" +
                                         lines.Q(Field::Text2000).amount + ")",
                      "{} × 11.25 + {}", {Lines::Q(lines.ReadList(kOverTenList)), lines.Q(Field::Text2000)});
        lines.Explain(Field::Text18,
                      single         ? "عازب: لا منحة للأجر الوحيد"
                      : spouseAtHome ? "متزوج والزوجة ماكثة بالبيت: منحة الأجر الوحيد 800"
                                     : "متزوج والزوجة عاملة: لا منحة للأجر الوحيد",
                      "", {});
        lines.Explain(Field::Text2001,
                      "الراتب بعد الاقتطاعات: الأجر الخاضع ناقص الضمان الاجتماعي والضريبة على الدخل والتعاضدية",
                      "{} − {} − {} − {}",
                      {lines.Q(Field::Text12), lines.Q(Field::Text13), lines.Q(Field::Text15), lines.Q(Field::Text16)});
        lines.Explain(Field::Text19, "جزء من ثلاثين من الراتب بعد الاقتطاعات (" + lines.Q(Field::Text2001).amount +
                                         ") عن كل يوم غياب؛ المنح العائلية لا تنقص",
                      "{} ÷ 30 × {}", {lines.Q(Field::Text2001), lines.Q(Field::Text20)});
        lines.Explain(Field::Text21,
                      "الراتب الصافي: المنح العائلية والراتب بعد الاقتطاعات والأجر الوحيد، ناقص الغيابات",
                      "{} + {} + {} − {}",
                      {lines.Q(Field::Text17), lines.Q(Field::Text2001), lines.Q(Field::Text18), lines.Q(Field::Text19)});
        lines.Explain(Field::Text22,
                      "مردودية ثلاثة أشهر: العلامة من 40، في الأجر الرئيسي، في 3 أشهر، بنسبة 40 %، في 0.819",
                      "{} ÷ 40 × {} × 3 × 0.4 × 0.819", {lines.Q(Field::Text23), lines.Q(Field::Text3)});
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
    for (const IrgBracket& bracket : kIrgScale)
        if (scaleBase <= bracket.upTo) return bracket;
    return kIrgScale[std::size(kIrgScale) - 1];
}

double IrgScaleBase(float taxable)
{
    // The amount as the runtime writes a single: at most seven significant digits.
    std::array<char, 48> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), taxable, std::chars_format::general, 7);
    double amount = ReadAmount(std::string_view(buf.data(), static_cast<std::size_t>(res.ptr - buf.data())));
    return Mul(Truncate(Div(amount, 10)), 10);
}

float ComputeIrg(float taxable)
{
    // Monthly scale: exempt up to 15000, then 20 %, 12 %, 20 % and 30 % on the
    // excess over each bracket's lower bound; every bound belongs to the
    // bracket below it, and the fixed amounts keep the scale continuous.
    const double base = IrgScaleBase(taxable);
    const IrgBracket& bracket = IrgBracketOf(base);
    double tax = 0;
    if (!bracket.exempt) {
        tax = Div(Mul(Sub(base, bracket.lower), bracket.factor), 10);
        if (bracket.fixed != 0) tax = Add(tax, bracket.fixed);
    }
    // Rounded to cents as shown, then back to single precision.
    return ToSingle(ReadAmount(ShowAmount(static_cast<double>(ToSingle(tax)))));
}

} // namespace paycalc
