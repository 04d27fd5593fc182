#include "paycalc/recalculate.h"

#include <array>
#include <charconv>

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

namespace {

constexpr double kIndexPointValue = 45;       // one index point
constexpr double kSocialSecurityRate = 0.09;
constexpr double kMutualRate = 0.01;
constexpr double kSingleWageAllowance = 800;
constexpr double kDaysInMonth = 30;
constexpr double kFullMark = 40;

// One recalculation's access to the form. Every line runs inside Line(), so a
// failure stops the recalculation with an error naming that line and, when a
// text could not be read, the field it came from.
class Lines {
public:
    explicit Lines(PayForm& form) : form_(form) {}

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

private:
    PayForm& form_;
    std::optional<Field> failedRead_;
};

int CategoryRow(const Lines& lines) { return ToInt16(Sub(lines.ReadList(kCategoryList), 1)); }

} // namespace

void ComputeBasePay(PayForm& form)
{
    Lines lines(form);
    int basePoints = 0;
    lines.Line(Field::Text1, [&] { basePoints = BasePoints(CategoryRow(lines)); });

    std::string experience;
    lines.Line(Field::Text2, [&] {
        double points = 0; // no echelon selected counts as none
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
}

void ComputeAllowances(PayForm& form)
{
    Lines lines(form);
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
    lines.Line(Field::Text7, [&] {
        double c = lines.ReadList(kCategoryList);
        if (c <= 12) lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), 0.4));
        if (c > 12) lines.Show(Field::Text7, Mul(lines.Read(Field::Text3), 0.45));
    });

    lines.Line(Field::Text8, [&] { lines.Show(Field::Text8, FlatAllowance(CategoryRow(lines))); });

    // Specific post: the list's position is the table row; with nothing
    // selected the line shows the empty text of an unselected entry.
    lines.Line(Field::Text9, [&] {
        int row = lines.ListIndex(kPostList);
        if (row == -1)
            lines.Write(Field::Text9, std::string());
        else
            lines.Show(Field::Text9, PostAmount(row));
    });
}

void ComputeSocialSecurity(PayForm& form)
{
    Lines lines(form);
    // Everything of main pay and the allowances is subject, nothing capped.
    lines.Line(Field::Text12, [&] {
        double t3 = lines.Read(Field::Text3);
        double sum = Add(lines.Read(Field::Text4), t3);
        for (Field f : {Field::Text5, Field::Text6, Field::Text7, Field::Text8, Field::Text9,
                        Field::Text10, Field::Text11})
            sum = Add(sum, lines.Read(f));
        lines.Show(Field::Text12, sum);
    });
    lines.Line(Field::Text13, [&] { lines.Show(Field::Text13, Mul(lines.Read(Field::Text12), kSocialSecurityRate)); });
    lines.Line(Field::Text14, [&] {
        double subject = lines.Read(Field::Text12);
        lines.Show(Field::Text14, Sub(subject, lines.Read(Field::Text13)));
    });
    lines.Line(Field::Text15, [&] {
        float taxable = ToSingle(lines.Read(Field::Text14));
        lines.Show(Field::Text15, static_cast<double>(ComputeIrg(taxable)));
    });
}

void ComputeNetPay(PayForm& form)
{
    Lines lines(form);
    lines.Line(Field::Text16, [&] {
        if (lines.Check() == CheckState::Checked)
            lines.Show(Field::Text16, Mul(lines.Read(Field::Text12), kMutualRate));
        else
            lines.Show(Field::Text16, 0);
    });

    // 300 a child up to five; from six on, 1500 and 150 for each child beyond the fifth.
    lines.Line(Field::Text2000, [&] {
        double n = lines.ReadList(kChildrenList);
        if (n < 6)
            lines.Show(Field::Text2000, Mul(n, 300));
        else
            lines.Show(Field::Text2000, Add(Mul(Sub(n, 5), 150), 1500));
    });

    // Children over ten count 11.25 each, on top of their share above.
    lines.Line(Field::Text17, [&] {
        double overTen = lines.ReadList(kOverTenList);
        double children = lines.Read(Field::Text2000);
        lines.Show(Field::Text17, Add(Mul(overTen, 11.25), children));
    });

    // Single wage: married (or no status picked) with the spouse at home.
    lines.Line(Field::Text18, [&] {
        if (lines.ListIndex(kFamilyStatusList) == 0)
            lines.Show(Field::Text18, 0);
        else if (lines.ListIndex(kSpouseList) == 0)
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
}

void RecalculateAll(PayForm& form)
{
    ComputeBasePay(form);
    ComputeAllowances(form);
    ComputeSocialSecurity(form);
    ComputeNetPay(form);
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
    // bracket below it.
    const double base = IrgScaleBase(taxable);
    double tax = 0;
    if (base <= 15000)
        tax = 0;
    else if (base <= 22500)
        tax = Div(Mul(Sub(base, 15000), 2), 10);
    else if (base <= 28750)
        tax = Add(Div(Mul(Sub(base, 22500), 1.2), 10), 1500);
    else if (base <= 30000)
        tax = Add(Div(Mul(Sub(base, 28750), 2), 10), 2250);
    else
        tax = Add(Div(Mul(Sub(base, 30000), 3), 10), 2500);
    // Rounded to cents as shown, then back to single precision.
    return ToSingle(ReadAmount(ShowAmount(static_cast<double>(ToSingle(tax)))));
}

} // namespace paycalc
