#include "paycalc/fields.h"

#include "paydata/tables.h"

namespace paycalc {

namespace {

struct FieldInfo {
    std::string_view name;
    std::string_view caption; // the label beside the field, exactly as the window shows it
    std::string_view term;
    std::string_view initial;
};

// In the order of the Field enumeration.
constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {"Text1", " الاجر الأساسي ", "base pay", ""},
    {"Text2", "منحة الخبرة المهنية ", "professional-experience allowance", ""},
    {"Text3", " الاجر الرئيسي :", "main pay", ""},
    {"Text4", "منحة الخبرة البيداغوجية /\r\nأو تعويض التسيير المالي والمادي", "pedagogical-experience allowance", ""},
    {"Text5", " منحة التوثيق :", "documentation allowance", ""},
    {"Text6", "المنحة الجديدة  :", "new allowance", ""},
    {"Text7", "منحة التأهيل  :", "qualification allowance", ""},
    {"Text8", " منحة جزافية تعويضية :", "flat compensatory allowance", ""},
    {"Text9", "تعويض تسيير مؤسسة تعليمية /\r\nأو منحة المنصب النوعي", "specific-post allowance", ""},
    {"Text10", "منحة المنطقة :", "zone allowance", "0"},
    {"Text11", " منحة السكن :", "housing allowance", "0"},
    {"Text12", "الاجر الخاضع للضمان الاجتماعي : ", "pay subject to social security", ""},
    {"Text13", "الضمان الإجتماعي :", "social-security contribution", "0"},
    {"Text14", "Mensuel", "taxable amount", "0"},
    {"Text15", "الضريبة على الدخل IRG :", "income tax (IRG)", "0"},
    {"Text16", "التعاضدية :", "mutual-insurance contribution", ""},
    {"Text17", " المنح العائلية :", "family allowances", ""},
    {"Text18", "الاجر الوحيد :", "single-wage allowance", ""},
    {"Text19", " الغيابات :", "deduction for absences", ""},
    {"Text20", "عدد ايام الغياب", "days of absence", "0"},
    {"Text21", "الراتب الصافي :", "net pay", ""},
    {"Text22", " مبلغ  المردودية  :", "performance bonus", ""},
    {"Text23", "علامة المردودية (3 اشهر):", "performance mark", "40"},
    {"Text2000", "", "children's part of the family allowances", ""},
    {"Text2001", "", "pay after deductions", ""},
}};

const FieldInfo& Info(Field f) { return kFields[static_cast<std::size_t>(f)]; }

void Numbers(int from, int to, std::vector<std::string>& out)
{
    for (int n = from; n <= to; ++n) out.push_back(std::to_string(n));
}

} // namespace

std::string_view FieldName(Field f) { return Info(f).name; }
std::string_view FieldCaption(Field f) { return Info(f).caption; }
std::string_view FieldTerm(Field f) { return Info(f).term; }
std::string_view InitialText(Field f) { return Info(f).initial; }

bool ParseFieldName(std::string_view name, Field& out)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (kFields[static_cast<std::size_t>(i)].name == name) {
            out = static_cast<Field>(i);
            return true;
        }
    }
    return false;
}

std::string FieldTitle(Field f)
{
    std::string title;
    // Join the lines of a two-line caption with a blank and fold runs of blanks.
    for (char c : Info(f).caption) {
        if (c == '\r' || c == '\n' || c == ' ') {
            if (!title.empty() && title.back() != ' ') title += ' ';
        } else {
            title += c;
        }
    }
    // Drop trailing blanks and the ':' that ends most captions; a '/' that ends
    // the first line of a two-line caption stays between the two.
    while (!title.empty() && (title.back() == ' ' || title.back() == ':')) title.pop_back();
    return title;
}

bool IsTypedField(Field f)
{
    for (Field typed : kTypedFields)
        if (f == typed) return true;
    return false;
}

std::vector<std::string> ComboEntries(int list)
{
    std::vector<std::string> entries;
    switch (list) {
    case kCategoryList: Numbers(1, paydata::kCategoryCount, entries); break;
    case kEchelonList:
    case kChildrenList:
    case kOverTenList: Numbers(0, 12, entries); break;
    case kPostList:
        for (const auto& post : paydata::kSpecificPosts) entries.emplace_back(post.title);
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

} // namespace paycalc
