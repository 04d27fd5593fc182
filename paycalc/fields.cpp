#include "paycalc/fields.h"

#include <algorithm>

#include "paydata/tables.h"

namespace paycalc {

namespace {

using K = LineKind;

struct FieldInfo {
    std::string_view name;
    std::string_view caption; // the label beside the field, exactly as the window shows it
    std::string_view term;    // in English, for messages
    std::string_view initial; // the text before the first recalculation
    std::string_view line;    // the readable name of a computed line
    LineKind kind;            // on a printed slip
    std::string_view french;  // the French label of a printed line
    std::string_view arabic;  // a printed label of its own, where the window's caption is not one
};

// In the order of the Field enumeration.
constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {"Text1", " الاجر الأساسي ", "base pay", "", "base_pay", K::Earning, "Salaire de base", ""},
    {"Text2", "منحة الخبرة المهنية ", "professional-experience allowance", "", "experience_allowance", K::Earning,
     "IEP (indemnité d'expérience professionnelle)", ""},
    {"Text3", " الاجر الرئيسي :", "main pay", "", "main_pay", K::Subtotal, "Traitement principal", ""},
    {"Text4", "منحة الخبرة البيداغوجية /\r\nأو تعويض التسيير المالي والمادي", "pedagogical-experience allowance", "",
     "pedagogical_allowance", K::Earning, "Indemnité d'expérience pédagogique / de gestion financière et matérielle", ""},
    {"Text5", " منحة التوثيق :", "documentation allowance", "", "documentation_allowance", K::Earning,
     "Indemnité de documentation", ""},
    {"Text6", "المنحة الجديدة  :", "new allowance", "", "new_allowance", K::Earning, "Nouvelle indemnité", ""},
    {"Text7", "منحة التأهيل  :", "qualification allowance", "", "qualification_allowance", K::Earning,
     "Indemnité de qualification", ""},
    {"Text8", " منحة جزافية تعويضية :", "flat compensatory allowance", "", "flat_allowance", K::Earning,
     "ICR (indemnité forfaitaire compensatoire)", ""},
    {"Text9", "تعويض تسيير مؤسسة تعليمية /\r\nأو منحة المنصب النوعي", "specific-post allowance", "", "post_allowance",
     K::Earning, "Indemnité de gestion d'établissement / de poste spécifique", ""},
    {"Text10", "منحة المنطقة :", "zone allowance", "0", "", K::Earning, "Indemnité de zone", ""},
    {"Text11", " منحة السكن :", "housing allowance", "0", "", K::Earning, "Indemnité de logement", ""},
    {"Text12", "الاجر الخاضع للضمان الاجتماعي : ", "pay subject to social security", "", "subject_pay", K::Subtotal,
     "Salaire soumis à la sécurité sociale", ""},
    {"Text13", "الضمان الإجتماعي :", "social-security contribution", "0", "social_security", K::Deduction,
     "Sécurité sociale", ""},
    {"Text14", "Mensuel", "taxable amount", "0", "taxable_amount", K::Subtotal, "Imposable (Mensuel)",
     "الأجر الخاضع للضريبة"},
    {"Text15", "الضريبة على الدخل IRG :", "income tax (IRG)", "0", "income_tax", K::Deduction,
     "IRG (impôt sur le revenu global)", ""},
    {"Text16", "التعاضدية :", "mutual-insurance contribution", "", "mutual_insurance", K::Deduction, "Mutuelle", ""},
    {"Text17", " المنح العائلية :", "family allowances", "", "family_allowances", K::Earning, "Allocations familiales", ""},
    {"Text18", "الاجر الوحيد :", "single-wage allowance", "", "single_wage", K::Earning, "Salaire unique", ""},
    {"Text19", " الغيابات :", "deduction for absences", "", "absences", K::Deduction, "Absences", ""},
    {"Text20", "عدد ايام الغياب", "days of absence", "0", "", K::None, "Jours d'absence", ""},
    {"Text21", "الراتب الصافي :", "net pay", "", "net_pay", K::None, "Net à payer", ""},
    {"Text22", " مبلغ  المردودية  :", "performance bonus", "", "performance_bonus", K::Information,
     "Prime de rendement", ""},
    {"Text23", "علامة المردودية (3 اشهر):", "performance mark", "40", "", K::None, "Note de rendement (trimestre)", ""},
    {"Text2000", "", "children's part of the family allowances", "", "children_allowance", K::None, "", ""},
    {"Text2001", "", "pay after deductions", "", "pay_after_deductions", K::None, "", ""},
}};

const FieldInfo &Info(Field f) { return kFields[static_cast<std::size_t>(f)]; }

// The caption trimmed: the lines of a two-line caption joined with a blank,
// runs of blanks folded, no trailing blank or ':'; a '/' that ends the first
// line stays between the two.
std::string Title(std::string_view caption)
{
    std::string title;
    for (char c : caption) {
        if (c == '\r' || c == '\n' || c == ' ') {
            if (!title.empty() && title.back() != ' ') title += ' ';
        } else {
            title += c;
        }
    }
    while (!title.empty() && (title.back() == ' ' || title.back() == ':')) title.pop_back();
    return title;
}

void Numbers(int from, int to, std::vector<std::string> &out)
{
    for (int n = from; n <= to; ++n) out.push_back(std::to_string(n));
}

std::vector<std::string> Entries(int list)
{
    std::vector<std::string> entries;
    switch (list) {
    case kCategoryList: Numbers(1, paydata::kCategoryCount, entries); break;
    case kEchelonList:
    case kChildrenList:
    case kOverTenList: Numbers(0, 12, entries); break;
    case kPostList:
        for (const auto &post : paydata::kSpecificPosts) entries.emplace_back(post.title);
        break;
    case kFamilyStatusList:
        for (auto e : paydata::kFamilyStatusEntries) entries.emplace_back(e);
        break;
    case kSpouseList:
        for (auto e : paydata::kSpouseEntries) entries.emplace_back(e);
        break;
    default: break;
    }
    return entries;
}

// The field named `name`; with `lines`, also the computed line whose readable name it is.
bool Parse(std::string_view name, bool lines, Field &out)
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].name == name || (lines && !name.empty() && kFields[i].line == name)) {
            out = static_cast<Field>(i);
            return true;
        }
    }
    return false;
}

} // namespace

std::string_view FieldName(Field f) { return Info(f).name; }
std::string_view FieldCaption(Field f) { return Info(f).caption; }
std::string_view FieldTerm(Field f) { return Info(f).term; }
std::string_view InitialText(Field f) { return Info(f).initial; }
std::string_view LineName(Field f) { return Info(f).line; }
LineKind KindOf(Field f) { return Info(f).kind; }

const std::string &FieldTitle(Field f)
{
    static const auto titles = [] {
        std::array<std::string, kFieldCount> all;
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = Title(kFields[i].caption);
        return all;
    }();
    return titles[static_cast<std::size_t>(f)];
}

Label LineLabel(Field f)
{
    const FieldInfo &info = Info(f);
    return {info.arabic.empty() ? std::string_view(FieldTitle(f)) : info.arabic, info.french};
}

std::span<const Field> PrintedLines()
{
    static const auto lines = [] {
        std::vector<Field> printed;
        for (std::size_t i = 0; i < kFields.size(); ++i)
            if (kFields[i].kind != LineKind::None) printed.push_back(static_cast<Field>(i));
        return printed;
    }();
    return lines;
}

bool ParseFieldName(std::string_view name, Field &out) { return Parse(name, false, out); }
bool ParseLineName(std::string_view name, Field &out) { return Parse(name, true, out); }

bool IsTypedField(Field f) { return std::find(kTypedFields.begin(), kTypedFields.end(), f) != kTypedFields.end(); }

Field ShownLine(Field f)
{
    if (f == Field::Text2000) return Field::Text17;
    if (f == Field::Text2001) return Field::Text21;
    return f;
}

const std::vector<std::string> &ComboEntries(int list)
{
    static const auto all = [] {
        std::array<std::vector<std::string>, kComboCount + 1> lists;
        for (int l = 0; l < kComboCount; ++l) lists[static_cast<std::size_t>(l)] = Entries(l);
        return lists;
    }();
    return all[list >= 0 && list < kComboCount ? static_cast<std::size_t>(list) : kComboCount];
}

} // namespace paycalc
