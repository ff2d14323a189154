// Invariants that every form design must keep; a slip in one table row shows
// up here without opening a window.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "forms/form_design.h"

namespace marvane::forms {
namespace {

class EveryDesign : public ::testing::TestWithParam<const FormDesign*> {};

TEST_P(EveryDesign, NamesAndTabIndexesAreUnique) {
  const FormDesign& d = *GetParam();
  std::set<std::string> names;
  std::set<int> tabs;
  for (const Control& c : d.controls) {
    EXPECT_TRUE(names.insert(c.name).second) << d.name << ": duplicate name " << c.name;
    if (c.tabIndex >= 0) {
      EXPECT_TRUE(tabs.insert(c.tabIndex).second) << d.name << ": tab index " << c.tabIndex;
    }
  }
}

TEST_P(EveryDesign, EveryControlLiesInsideTheClientArea) {
  const FormDesign& d = *GetParam();
  for (const Control& c : d.controls) {
    EXPECT_GE(c.left, 0) << d.name << "." << c.name;
    EXPECT_GE(c.top, 0) << d.name << "." << c.name;
    EXPECT_LE(c.left + c.width, d.clientWidth) << d.name << "." << c.name;
    EXPECT_LE(c.top + c.height, d.clientHeight) << d.name << "." << c.name;
    EXPECT_GT(c.width, 0) << d.name << "." << c.name;
    EXPECT_GT(c.height, 0) << d.name << "." << c.name;
  }
}

TEST_P(EveryDesign, FocusableControlsHaveATabIndex) {
  const FormDesign& d = *GetParam();
  for (const Control& c : d.controls) {
    if (c.kind != Kind::Label) {
      EXPECT_GE(c.tabIndex, 0) << d.name << "." << c.name;
    }
  }
}

bool Overlap(const Control& a, const Control& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The fault message must be readable wherever the form has got to, so it
// covers nothing, and nothing covers it.
TEST_P(EveryDesign, ModelFormsHaveOneFreeMessageLabel) {
  const FormDesign& d = *GetParam();
  const Control* message = nullptr;
  int messages = 0;
  bool panel = false;
  for (const Control& c : d.controls) {
    if (c.role == Role::Message) {
      ++messages;
      message = &c;
    }
    panel = panel || c.role == Role::Panel;
  }
  if (!panel) {  // the menu
    EXPECT_EQ(messages, 0);
    return;
  }
  ASSERT_EQ(messages, 1) << d.name;
  EXPECT_EQ(message->name, "message");
  for (const Control& c : d.controls) {
    if (&c != message) {
      EXPECT_FALSE(Overlap(c, *message)) << d.name << ": message overlaps " << c.name;
    }
  }
}

TEST_P(EveryDesign, InputBoxesSayWhatTheyHold) {
  const FormDesign& d = *GetParam();
  for (const Control& c : d.controls) {
    if (c.kind == Kind::TextBox) {
      EXPECT_FALSE(c.meaning.empty()) << d.name << "." << c.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, EveryDesign, ::testing::ValuesIn(AllDesigns()),
                         [](const auto& info) { return info.param->name; });

TEST(Designs, EveryFormOfTheProgramIsDescribed) {
  std::set<std::string> names;
  for (const FormDesign* d : AllDesigns()) names.insert(d->name);
  EXPECT_EQ(names, (std::set<std::string>{"Choice", "Quant", "QuantZ", "Mixed2", "Mixed3", "Quant3", "Incomplete"}));
}

TEST(Designs, TwipsMapToPixelsAtFifteenPerPixel) {
  EXPECT_EQ(TwipsToPixels(7575), 505);
  EXPECT_EQ(TwipsToPixels(375), 25);
  EXPECT_EQ(TwipsToPixels(7), 0);
  EXPECT_EQ(TwipsToPixels(8), 1);
}

// Captions whose blanks do the line breaking keep their exact length.
TEST(Designs, InstructionCaptionsKeepTheirBlanks) {
  EXPECT_EQ(ChoiceDesign().Find("Label1")->caption.size(), 81u);
  EXPECT_EQ(QuantDesign().Find("Label6")->caption.size(), 153u);
  EXPECT_EQ(QuantDesign().Find("Label5")->caption, "the crossover point is at  X=");
}

}  // namespace
}  // namespace marvane::forms
