#include "batch/row_reader.h"

#include <array>
#include <string_view>
#include <utility>

#include "batch/refusals.h"
#include "paycalc/fields.h"
#include "paycalc/situation_inputs.h"
#include "paydata/text_rules.h"

namespace batch {

namespace {

using paycalc::Field;

Refusal MakeRefusal(std::uint64_t line, std::string column, std::string_view text, Message message)
{
    return Refusal{line, std::move(column), std::string(text), std::move(message.english), std::move(message.arabic)};
}

} // namespace

RowState RowReader::Read(const RecordBatch &records, const RecordBatch::Record &record, paycalc::Situation &s,
                         std::vector<Refusal> &refusals) const
{
    const std::size_t before = refusals.size();
    auto refused = [&] { return refusals.size() != before; };
    auto refuse = [&](std::string column, std::string_view text, Message message) {
        refusals.push_back(MakeRefusal(record.line, std::move(column), text, std::move(message)));
    };
    if (record.flaw != RecordBatch::Flaw::None) {
        refuse({}, {}, FlawMessage(record.flaw));
        return RowState::Refused;
    }
    bool blank = true;
    for (std::size_t c = 0; c < record.cellCount && blank; ++c)
        if (!paydata::Trim(records.Cell(record, c)).empty()) blank = false;
    if (blank) return RowState::Empty;
    if (record.cellCount != header_.size()) {
        refuse({}, {}, CellCountMessage(record.cellCount, header_.size()));
        return RowState::Refused;
    }
    for (std::size_t c = 0; c < record.cellCount; ++c) {
        std::string_view cell = records.Cell(record, c);
        if (!paydata::IsUtf8(cell)) {
            refuse(header_[c], {}, NotUtf8Message());
            continue;
        }
        // No control character in a cell; a line break only inside a quoted
        // cell of a carried column, which is copied as it is.
        const auto breaks = layout_.role[c] == Layout::Carried ? paydata::LineBreaks::Allowed
                                                               : paydata::LineBreaks::Refused;
        if (auto found = paydata::FindControlCharacter(cell, breaks)) refuse(header_[c], {}, ControlMessage(*found));
    }
    if (refused()) return RowState::Refused;

    // The situation cells, read by the engine's one reader with the
    // family-status rule: a count without a column takes the rule's value,
    // and a cell against the rule is refused.
    std::array<paycalc::GivenValue, paycalc::kInputCount> given;
    std::size_t count = 0;
    for (const paycalc::SituationInput &input : paycalc::kSituationInputs)
        if (const int at = layout_.where[static_cast<std::size_t>(input.input)]; at >= 0)
            given[count++] = {&input, records.Cell(record, static_cast<std::size_t>(at))};
    s = paycalc::Situation{};
    for (const paycalc::ValueProblem &problem : paycalc::ReadValues({given.data(), count}, s, !asTyped_)) {
        const paycalc::Wording why = paycalc::Refusal(problem);
        const auto index = static_cast<std::size_t>(layout_.where[static_cast<std::size_t>(problem.input->input)]);
        refuse(header_[index], records.Cell(record, index), {why.english, why.arabic});
    }
    if (refused()) return RowState::Refused;
    return RowState::Read;
}

Refusal RowReader::ComputeRefusal(const RecordBatch &records, const RecordBatch::Record &record,
                                  const paycalc::RecalcError &e) const
{
    std::string column;
    std::string_view text;
    if (auto source = e.source()) {
        for (const paycalc::SituationInput &input : paycalc::kSituationInputs) {
            if (!paycalc::IsTyped(input) || input.field != *source || !layout_.Has(input.input)) continue;
            const auto index = static_cast<std::size_t>(layout_.where[static_cast<std::size_t>(input.input)]);
            column = header_[index];
            text = records.Cell(record, index);
        }
    }
    return MakeRefusal(record.line, std::move(column), text, ComputeMessage(e));
}

} // namespace batch
