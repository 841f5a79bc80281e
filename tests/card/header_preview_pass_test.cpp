#include "card/header_preview_pass.h"

#include <gtest/gtest.h>

#include "card/card_content.h"
#include "card/recording_surface.h"
#include "loaded_congregation.h"
#include "test_support.h"

namespace velunorh {
namespace {

// A table with one publisher in slot 1, built in memory (no extension file in the folder).
class HeaderPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.paths().folder = dir_.path();
    ASSERT_TRUE(data_.AllocateTables());
    data_.current.count = 2;
    PublisherRecord& r = data_.current[1];
    r.SetRawText(PublisherRecord::kGivenName, "Bela");
    r.SetRawText(PublisherRecord::kFamilyName, "Szabo");
    r.SetRawText(PublisherRecord::kHomeAddress, "Fo utca 1");
    r.SetRawText(PublisherRecord::kHomeTelephone, "1234");
    r.SetRawText(PublisherRecord::kMobileTelephone, "5678");
    r.SetRawText(PublisherRecord::kDateImmersed, "05141995");
    r.SetRawText(PublisherRecord::kDateOfBirth, "03021970");
    r.bytes[PublisherRecord::kAnointedMark] = 'A';
    r.bytes[PublisherRecord::kPersonFlags] = 0x20 | 2;  // male elder
    r.bytes[PublisherRecord::kMonthFlags + 9] = 2;      // regular pioneer in October
    choice_.slot = 1;
    choice_.year.reportMonth = 9;
  }

  // Built at each draw: the tests change the record first.
  CardContent Draw(RecordingSurface& s) {
    CardContent card = BuildCardContent(data_, choice_);
    DrawHeaderPreview(s, client_, card, input_);
    return card;
  }

  struct At {
    int x, y;
    bool operator==(const At&) const = default;
  };
  static At Where(const RecordingSurface& s, const std::string& text) {
    const auto* t = s.Find(text);
    return t ? At{t->x, t->y} : At{-1, -1};
  }

  test::TempDir dir_;
  CongregationData data_;
  CardChoice choice_;
  HeaderPreviewInput input_;
  const Rect client_{0, 0, 400, 260};  // u = 10, rows at 50/100/150/230, xL 10, xR 390, s 16
};

TEST_F(HeaderPreviewTest, FormLabelsAndLinesContinueAtTheCurrentPosition) {
  RecordingSurface s(96, 96);
  Draw(s);
  ASSERT_EQ(s.rectangles.size(), 1u);
  EXPECT_EQ(s.rectangles[0], client_);  // the frame is the pane's whole client rectangle
  // The label font is 9 units high, so the recording surface measures 4 units a character.
  EXPECT_EQ(Where(s, "Név "), (At{10, 66}));
  EXPECT_EQ(Where(s, "Otthoni telefon "), (At{10, 166}));
  EXPECT_EQ(Where(s, " Mobiletelefon "), (At{130, 166}));
  EXPECT_EQ(Where(s, " Születési Idö "), (At{260, 166}));
  EXPECT_EQ(Where(s, "Bemerítkezés időp. "), (At{10, 246}));
  EXPECT_EQ(Where(s, " Felkent vagy \"más juh\"? "), (At{163, 246}));
  EXPECT_EQ(Where(s, " [   ] általános úttörő"), (At{293, 246}));
  EXPECT_EQ(Where(s, " [   ] vén"), (At{293, 206}));
  EXPECT_EQ(Where(s, " [   ] kisegítőszolga"), (At{336, 206}));
  const std::vector<RecordingSurface::Line> expected = {
      {26, 50, 390, 50},    {38, 100, 390, 100}, {74, 150, 130, 150}, {190, 150, 260, 150},
      {320, 150, 390, 150}, {86, 230, 163, 230}, {263, 230, 293, 230}};
  EXPECT_EQ(s.lines, expected);
  EXPECT_EQ(s.Find("Név ")->color, kGrey);
  EXPECT_EQ(s.Find("Név ")->font, (FontSpec{"Arial", 9, 400, 0}));
}

TEST_F(HeaderPreviewTest, DataSitAtTheirPositionsWithTheMarks) {
  RecordingSurface s(96, 96);
  const CardContent card = Draw(s);
  EXPECT_EQ(card.displayName, "Bela Szabo");
  EXPECT_EQ(card.mobileTelephone, "5678");
  EXPECT_EQ(card.sex, SexMark::kMale);
  EXPECT_FALSE(card.hasFullName);
  EXPECT_EQ(Where(s, "Bela Szabo"), (At{49, 50}));
  EXPECT_EQ(Where(s, "[X] Férfi"), (At{335, 50}));
  EXPECT_EQ(s.Find("[X] Férfi")->color, kGrey);  // F/N not checked
  EXPECT_EQ(s.Find("Bela Szabo")->color, kBlack);
  EXPECT_EQ(Where(s, "Fo utca 1"), (At{49, 100}));
  EXPECT_EQ(Where(s, "1234"), (At{58, 150}));
  EXPECT_EQ(Where(s, "5678"), (At{186, 150}));
  EXPECT_EQ(Where(s, "03/02/1970"), (At{322, 150}));
  EXPECT_EQ(Where(s, "05/14/1995"), (At{75, 230}));
  EXPECT_EQ(Where(s, "felkent"), (At{260, 230}));
  std::vector<At> marks;
  for (const auto& t : s.texts)
    if (t.text == "X") marks.push_back({t.x, t.y});
  EXPECT_EQ(marks, (std::vector<At>{{299, 209}, {299, 251}}));  // elder, regular pioneer
}

TEST_F(HeaderPreviewTest, CzechVariantMovesLinesAndMarks) {
  input_.languageCode = "cz";
  input_.cardVersion = 1;  // the text form of the anointed item
  data_.current[1].bytes[PublisherRecord::kPersonFlags] = 0x40 | 1;  // female servant
  RecordingSurface s(96, 96);
  EXPECT_EQ(Draw(s).sex, SexMark::kFemale);
  ASSERT_NE(s.Find("[X] Nő"), nullptr);
  EXPECT_EQ(s.Find("[X] Nő")->color, kBlack);  // ticked although F/N is not checked
  EXPECT_EQ(s.lines[5], (RecordingSurface::Line{86, 230, 110, 230}));  // d = xR/5 + xR/50
  EXPECT_EQ(Where(s, "05/14/1995"), (At{58, 230}));
  EXPECT_EQ(Where(s, "felkent"), (At{206, 230}));
  std::vector<At> marks;
  for (const auto& t : s.texts)
    if (t.text == "X") marks.push_back({t.x, t.y});
  EXPECT_EQ(marks, (std::vector<At>{{330, 209}, {266, 251}}));  // pioneer, servant
}

TEST_F(HeaderPreviewTest, UnbaptizedGetsNoSheepTextAndNoPublisherDrawsOnlyTheForm) {
  data_.current[1].SetRawText(PublisherRecord::kDateImmersed, "    ");
  data_.current[1].bytes[PublisherRecord::kPersonFlags] = 0;
  RecordingSurface s(96, 96);
  EXPECT_EQ(Draw(s).sex, SexMark::kNone);
  EXPECT_EQ(s.Find("felkent"), nullptr);
  EXPECT_EQ(s.Find("más juh"), nullptr);

  choice_.slot = 0;
  RecordingSurface empty(96, 96);
  EXPECT_EQ(Draw(empty).displayName, "");
  EXPECT_EQ(empty.texts.size(), 10u);  // the labels only
}

TEST_F(HeaderPreviewTest, NothingAtAllBeforeACongregationIsLoaded) {
  data_.current.count = 0;
  RecordingSurface s(96, 96);
  Draw(s);
  EXPECT_TRUE(s.texts.empty());
  EXPECT_TRUE(s.lines.empty());
  EXPECT_TRUE(s.rectangles.empty());
}

}  // namespace
}  // namespace velunorh
