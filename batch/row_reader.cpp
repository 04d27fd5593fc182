#include "batch/row_reader.h"

#include <optional>
#include <string_view>
#include <utility>

#include "batch/refusals.h"
#include "paycalc/family_status_rule.h"
#include "paycalc/fields.h"
#include "paycalc/situation_inputs.h"
#include "paydata/text_rules.h"

namespace batch {

namespace {

using paycalc::Field;

// The column a typed field is read from.
std::optional<Column> TypedColumn(Field f)
{
    switch (f) {
    case Field::Text10: return Column::Zone;
    case Field::Text11: return Column::Housing;
    case Field::Text20: return Column::Absence;
    case Field::Text23: return Column::Mark;
    default: return std::nullopt;
    }
}

Refusal MakeRefusal(std::uint64_t line, std::string column, std::string_view text, Message message)
{
    return Refusal{line, std::move(column), std::string(text), std::move(message.english), std::move(message.arabic)};
}

} // namespace

RowReader::Outcome RowReader::Read(const RecordBatch& records, const RecordBatch::Record& record,
                                   paycalc::Situation& s, std::vector<Refusal>& refusals) const
{
    const std::size_t before = refusals.size();
    auto refused = [&] { return refusals.size() != before; };
    auto refuse = [&](std::string column, std::string_view text, Message message) {
        refusals.push_back(MakeRefusal(record.line, std::move(column), text, std::move(message)));
    };
    if (record.flaw != RecordBatch::Flaw::None) {
        refuse({}, {}, FlawMessage(record.flaw));
        return Outcome::Refused;
    }
    bool blank = true;
    for (std::size_t c = 0; c < record.cellCount && blank; ++c)
        if (!Trim(records.Cell(record, c)).empty()) blank = false;
    if (blank) return Outcome::Empty;
    if (record.cellCount != header_.size()) {
        refuse({}, {}, CellCountMessage(record.cellCount, header_.size()));
        return Outcome::Refused;
    }
    for (std::size_t c = 0; c < record.cellCount; ++c) {
        std::string_view cell = records.Cell(record, c);
        if (!IsUtf8(cell)) {
            refuse(header_[c], {}, NotUtf8Message());
            continue;
        }
        // No control character in a cell; a line break only inside a quoted
        // cell of a carried column, which is copied as it is.
        const auto breaks =
            layout_.role[c] == Layout::Carried ? paydata::LineBreaks::Allowed : paydata::LineBreaks::Refused;
        if (auto found = paydata::FindControlCharacter(cell, breaks)) refuse(header_[c], {}, ControlMessage(*found));
    }
    if (refused()) return Outcome::Refused;

    s = paycalc::Situation{};
    for (std::size_t k = 0; k < kColumnCount; ++k) {
        const int at = layout_.where[k];
        if (at < 0) continue;
        const auto index = static_cast<std::size_t>(at);
        std::string_view cell = records.Cell(record, index);
        Message problem = ReadCell(static_cast<Column>(k), cell, asTyped_, s);
        if (!problem.empty()) refuse(header_[index], cell, std::move(problem));
    }
    if (refused()) return Outcome::Refused;
    // The family-status rule holds a single employee's children counts: a
    // count without a column takes the rule's value, and a cell against the
    // rule is refused.
    for (const paycalc::HeldList& held : paycalc::FamilyStatusRuleHolds(s.status)) {
        // The situation columns are the inputs, in the same order.
        const auto c = static_cast<Column>(paycalc::InputOfList(held.list).input);
        if (!layout_.Has(c) || !paycalc::BreaksFamilyStatusRule(s, held.list)) continue;
        const auto index = static_cast<std::size_t>(layout_.where[static_cast<std::size_t>(c)]);
        refuse(header_[index], records.Cell(record, index), SingleWithChildrenMessage(s.ListPosition(held.list)));
    }
    if (refused()) return Outcome::Refused;
    paycalc::ApplyFamilyStatusRule(s);
    return Outcome::Read;
}

Refusal RowReader::ComputeRefusal(const RecordBatch& records, const RecordBatch::Record& record,
                                  const paycalc::RecalcError& e) const
{
    std::string column;
    std::string_view text;
    if (auto source = e.source()) {
        if (auto typed = TypedColumn(*source); typed && layout_.Has(*typed)) {
            const auto index = static_cast<std::size_t>(layout_.where[static_cast<std::size_t>(*typed)]);
            column = header_[index];
            text = records.Cell(record, index);
        }
    }
    return MakeRefusal(record.line, std::move(column), text, ComputeMessage(e));
}

} // namespace batch
