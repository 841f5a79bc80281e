#pragma once

#include "companion/publisher_record.h"
#include "companion/publisher_table.h"

namespace velunorh {

// Shifts every character of the scrambled text fields of a record by factor × (i + 47), i
// being the position in its field, modulo 256: factor -1 decodes (as the load does), +1
// encodes. First the last byte of each fixed-length field is forced to NUL. A field's length is
// taken once before it is changed and never runs past its width. A byte equal to 204 is left
// as it is in the names (and in the header record's password) and within the first 30
// characters of the address.
void UnscrambleRecord(int factor, PublisherRecord& record);

// UnscrambleRecord over slots 0 to count-1 of a table.
void UnscrambleTable(int factor, PublisherTable& table);

}  // namespace velunorh
