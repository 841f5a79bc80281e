#include "session/print_file_name.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

TEST(PrintFileNameTest, PlainLettersJoinedByUnderscores) {
  const struct {
    const char* words;
    const char* name;
  } cases[] = {
      {"Kovács János", "Kovacs_Janos_S21.pdf"},
      {"Őri, Ürmös Ágnes", "Ori_Urmos_Agnes_S21.pdf"},
      {"&Összes Hírnőkök", "Osszes_Hirnokok_S21.pdf"},  // a caption's mnemonic mark
      {"  ../Tóth/ *  ", "Toth_S21.pdf"},               // nothing that names a folder
      {"Dvořák 2", "Dvo_ak_2_S21.pdf"},                 // a letter without a plain form
      {"", "S21.pdf"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrintFileName(c.words), c.name) << c.words;
}

}  // namespace
}  // namespace velunorh
