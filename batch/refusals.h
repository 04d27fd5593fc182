// Why a row is refused or a run fails, in the batch's two wordings: English
// for the command line and the error list, Arabic for the window.
// Words only: no cell is read and no rule decided here; the reader and the
// pipeline decide, these say it.
#pragma once

#include <cstddef>
#include <string>

#include "batch/columns.h"
#include "batch/csv_reader.h"
#include "paycalc/recalculate.h"
#include "paydata/text_rules.h"

namespace batch {

// A record whose quoting the reader could not follow.
Message FlawMessage(RecordBatch::Flaw flaw);
// A row with more or fewer cells than the header.
Message CellCountMessage(std::size_t cells, std::size_t headerCells);
Message NotUtf8Message();
Message ControlMessage(const paydata::ControlCharacter &found);
// A slip that cannot be computed: the typed value that cannot be read, or
// the line that cannot be computed (and the field it was reading).
Message ComputeMessage(const paycalc::RecalcError &e);

// A file that cannot be written. The writers' English reasons read "cannot
// write PATH: why"; the Arabic keeps the system's own reason.
Message WriteFailure(const std::string &path, const std::string &english);

} // namespace batch
