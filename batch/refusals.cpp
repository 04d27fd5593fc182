#include "batch/refusals.h"

#include <optional>

#include "batch/batch.h"
#include "paycalc/fields.h"

namespace batch {

namespace {

using paycalc::Field;

std::string ArabicTitle(Field f)
{
    std::string title = paycalc::FieldTitle(f);
    if (title.empty()) title = std::string(paycalc::FieldName(f));
    return "«" + title + "»";
}

// Why a slip cannot be computed, in the window's words.
std::string ArabicComputeMessage(const paycalc::RecalcError &e)
{
    using paydata::FailureKind;
    std::string text = "تعذر حساب الكشف: ";
    const std::optional<Field> source = e.source();
    if (source && paycalc::IsTypedField(*source)) {
        text += "القيمة المكتوبة في " + ArabicTitle(*source) + " ";
        switch (e.kind()) {
        case FailureKind::Overflow: return text + "كبيرة جدا";
        case FailureKind::InvalidOperation:
        case FailureKind::DivisionByZero: return text + "لا تعطي نتيجة صحيحة";
        case FailureKind::NoSuchRow: break;
        }
        return text + "غير موجودة في الجداول";
    }
    text += "بند " + ArabicTitle(paycalc::ShownLine(e.step())) + " ";
    switch (e.kind()) {
    case FailureKind::Overflow: text += "يتجاوز حدود الحساب"; break;
    case FailureKind::InvalidOperation:
    case FailureKind::DivisionByZero: text += "لا يعطي نتيجة صحيحة"; break;
    case FailureKind::NoSuchRow: text += "يطلب سطرا غير موجود في الجداول"; break;
    }
    if (source) text += " عند قراءة " + ArabicTitle(*source);
    return text;
}

} // namespace

Message FlawMessage(RecordBatch::Flaw flaw)
{
    switch (flaw) {
    case RecordBatch::Flaw::BadQuotes:
        return {"badly quoted: a quote inside an unquoted cell, or text right after a closing quote",
                "علامات الاقتباس في غير موضعها: علامة \" داخل خلية غير مقتبسة، أو نص بعد علامة الاقتباس الخاتمة"};
    case RecordBatch::Flaw::UnclosedQuote:
        return {"a quoted cell is not closed before the end of the file",
                "خلية مقتبسة لم تغلق علامة اقتباسها قبل نهاية الملف"};
    case RecordBatch::Flaw::None: break;
    }
    return {};
}

Message CellCountMessage(std::size_t cells, std::size_t headerCells)
{
    return {"the row has " + std::to_string(cells) + (cells == 1 ? " cell" : " cells") + " where the header has " +
                std::to_string(headerCells),
            "عدد خلايا السطر " + std::to_string(cells) + " والعنوان فيه " + std::to_string(headerCells)};
}

Message NotUtf8Message() { return {"the cell is not UTF-8 text", "نص الخلية ليس بترميز UTF-8"}; }

Message ControlMessage(const paydata::ControlCharacter &found)
{
    const std::string code = paydata::CodeName(found.code);
    const std::string at = std::to_string(found.position);
    return {"the cell holds the control character " + code + " at character " + at,
            "في الخلية محرف التحكم " + code + " في الموضع " + at};
}

Message ComputeMessage(const paycalc::RecalcError &e) { return {paycalc::Describe(e), ArabicComputeMessage(e)}; }

Message WriteFailure(const std::string &path, const std::string &english)
{
    const std::string lead = "cannot write " + path;
    if (english.starts_with(lead)) return {english, "تعذرت كتابة الملف " + path + english.substr(lead.size())};
    return {english, "تعذرت كتابة الملف " + path + ": " + english};
}

std::string Describe(const std::string &input, const Refusal &r)
{
    std::string text = input + ":" + std::to_string(r.line) + ": ";
    if (!r.column.empty()) text += r.column + ": ";
    return text + r.message;
}

} // namespace batch
