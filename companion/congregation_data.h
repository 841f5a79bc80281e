#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "companion/data_paths.h"
#include "companion/extension_record.h"
#include "companion/publisher_table.h"
#include "companion/remark_table.h"

namespace velunorh {

// Everything read from the companion program's files: the current and previous-year publisher
// tables, the extension count and buffer, and the two one-month remark tables. The files are
// only ever opened for reading.
class CongregationData {
 public:
  // Asked with the decoded header record; false refuses the data (the password prompt).
  using PasswordCheck = std::function<bool(const PublisherRecord& header)>;

  explicit CongregationData(DataPaths paths = {}) : paths_(std::move(paths)) {}

  DataPaths& paths() { return paths_; }
  const DataPaths& paths() const { return paths_; }

  // Both tables, zero-filled. False when memory could not be had (the caller tells the user).
  bool AllocateTables();
  void ReleaseTables();

  // The load sequence: publisher file, password, extension count, current remarks, previous
  // year and links. A refused password sets stopRequested; no check given = accepted.
  void LoadAllData(bool& stopRequested, const PasswordCheck& checkPassword = {});

  void LoadPublisherFile();
  bool PreviousYearAvailable() const;
  void LoadPreviousYearFile(bool stopRequested);
  void LinkPreviousYear();

  // Extension file.
  void CountExtensions();
  int ExtensionCount() const { return extensionCount_; }
  // Bit 0: fullName holds a letter; bit 1: extensionText2 holds a letter; 0 = no usable record.
  int LoadExtension(int slot);
  const ExtensionRecord& extensionBuffer() const { return extensionBuffer_; }

  // Remark files: fill the one-month table and set the month's remarkSlot bytes.
  void LoadMonthRemarks(int month);
  void LoadPreviousYearMonthRemarks(int month);
  const RemarkTable& currentRemarks() const { return currentRemarks_; }
  const RemarkTable& previousRemarks() const { return previousRemarks_; }
  int FindPublisherById(std::uint16_t id) const;
  // The month's remark (UTF-8) of a publisher; false when there is none. `fromPreviousYear`
  // is the month-serving decision of the caller (ServiceYear::ServedByPreviousYear).
  bool GetRemark(int slot, int month, bool fromPreviousYear, std::string& text);

  PublisherTable current;
  PublisherTable previous;

 private:
  // Reads, checks and decodes extension record `index` into the buffer; false when the record
  // is out of range, cannot be read or belongs to another publisher.
  bool ReadExtensionRecord(std::uint16_t index, std::uint16_t publisherId);
  void LoadRemarks(const std::filesystem::path& file, int month, RemarkTable& table,
                   PublisherTable& target);

  DataPaths paths_;
  int extensionCount_ = 0;
  ExtensionRecord extensionBuffer_{};
  RemarkTable currentRemarks_{};
  RemarkTable previousRemarks_{};
};

}  // namespace velunorh
