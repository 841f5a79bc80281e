#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/platform.h"
#include "companion/data_paths.h"
#include "companion/extension_record.h"
#include "companion/publisher_table.h"
#include "companion/remark_table.h"

namespace velunorh {

// Everything read from the companion program's files: the current and previous-year publisher
// tables, the extension count and buffer, and each year's remarks of every month. The files are
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

  // Remark files: fill the month's table and set the month's remarkSlot bytes. Each reads the
  // file once, whatever its changes; the load reads each remark file once for all twelve months.
  void LoadMonthRemarks(int month);
  void LoadPreviousYearMonthRemarks(int month);
  // The month's remarks as last read; an empty table for a month out of range.
  const RemarkTable& currentRemarks(int month) const;
  const RemarkTable& previousRemarks(int month) const;
  // Whether the publisher file, the previous year's or the extension file is another version
  // than the last load read (one stat of each): the companion program wrote it meanwhile.
  bool CompanionFilesChanged() const;
  // Once before each batch of lookups (a repaint, a print): reads a remark file again when its
  // identity changed since it was read, so a remark the companion program changed shows. Costs
  // one stat of each remark file when nothing changed. True when a file was read again.
  bool RefreshRemarksIfChanged();
  int FindPublisherById(std::uint16_t id) const;
  // The month's remark (UTF-8) of a publisher; false when there is none. `fromPreviousYear`
  // is the month-serving decision of the caller (ServiceYear::ServedByPreviousYear). Answers
  // from memory: what RefreshRemarksIfChanged or a load last read.
  bool GetRemark(int slot, int month, bool fromPreviousYear, std::string& text);

  PublisherTable current;
  PublisherTable previous;

 private:
  // Reads, checks and decodes extension record `index` into the buffer; false when the record
  // is out of range, cannot be read or belongs to another publisher.
  bool ReadExtensionRecord(std::uint16_t index, std::uint16_t publisherId);

  // One year's remarks: every month's table, the identity of the file they were read from, and
  // the remarkSlot bytes the reading overwrote, so a new reading starts from the publisher
  // file's own numbers.
  struct RemarkYear {
    struct SlotChange {
      int slot;
      int month;
      std::uint8_t before;
    };
    std::array<RemarkTable, 12> months;
    std::array<bool, 12> read{};
    FileIdentity identity;
    std::vector<SlotChange> changes;
  };
  // Reads `file` once and fills the tables of months first..last (both included).
  void LoadRemarks(const std::filesystem::path& file, int first, int last, RemarkYear& year,
                   PublisherTable& target);
  void LoadPreviousYearRemarks(int first, int last);
  // Puts back the remarkSlot bytes a reading overwrote, latest first.
  static void UndoRemarkSlots(RemarkYear& year, PublisherTable& target);

  // The publisher, previous-year and extension files as the last load found them.
  std::array<FileIdentity, 3> CompanionFileIdentities() const;

  DataPaths paths_;
  std::array<FileIdentity, 3> loadedFiles_{};
  int extensionCount_ = 0;
  ExtensionRecord extensionBuffer_{};
  RemarkYear currentRemarks_;
  RemarkYear previousRemarks_;
};

}  // namespace velunorh
