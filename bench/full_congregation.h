#pragma once

// The largest data folder the loader takes: a full publisher table (header and 308 publishers,
// scrambled), 600 extension records, the most remarks a month can hold in every month of both
// years, and a full previous service year. Every figure of the benchmarks is measured on it.

#include <cstdint>
#include <filesystem>

#include "companion/publisher_table.h"
#include "companion/remark_table.h"
#include "tools/companion_writer.h"

namespace velunorh::bench {

// The table holds kSlots - 1 records; the header record takes one of them.
constexpr int kPublishers = PublisherTable::kSlots - 2;
// The loader counts at most 601 extension records; record 0 is never used.
constexpr int kExtensionRecords = 600;
// Slot 0 of a month's remark table stays empty.
constexpr int kRemarksPerMonth = RemarkTable::kSlots - 1;

// A publisher with a full header (full name, telephones, appointment, pioneer) and a remark in
// every month of the running and the previous service year: the worst card to draw.
constexpr std::uint16_t kSubjectId = 11;

// The running service year is 2025/2026 with every month reported, as on a day in September
// 2026; the previous-year file holds the whole of 2024/2025.
constexpr int kTodayYear = 2026;
constexpr int kTodayMonth = 9;

tools::Congregation FullCongregation();

// Writes FullCongregation() into `folder`.
void WriteFullCongregation(const std::filesystem::path& folder);

}  // namespace velunorh::bench
