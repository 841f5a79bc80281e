#pragma once

#include <string>
#include <vector>

#include "companion/publisher_table.h"

namespace velunorh {

struct PublisherListLine {
  std::string text;  // UTF-8
  int slot;
};

// The lines of the publisher list for a group, in table order: "family, given" unless
// firstNameSort asks for "given family".
std::vector<PublisherListLine> BuildPublisherList(const PublisherTable& table, int group,
                                                  int reportMonth, bool firstNameSort);

// Sorts the publisher slots (1 .. count-1) by their list text, case-insensitively, moving whole
// records; slot 0 stays. Equal keys keep their order.
void SortPublishers(PublisherTable& table, bool firstNameSort);

}  // namespace velunorh
