#include "app/InputScript.h"

#include <gtest/gtest.h>

namespace {

TEST(InputScript, ParsesEveryEventKindInFrameOrder) {
  std::vector<InputEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("# a comment\n"
                               "5 down RETURN   # trailing comment\n"
                               "1 move 400 -3\n"
                               "5 up return\n"
                               "7 wheel -120\n"
                               "8 char a\n"
                               "8 char 0x41\n"
                               "9 activate 0\n\n",
                               "s.txt", events, error))
      << error;
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[0].kind, InputEvent::kMove);
  EXPECT_EQ(events[0].b, -3);
  EXPECT_EQ(events[1].kind, InputEvent::kDown);
  EXPECT_EQ(events[1].a, 0x0D);
  EXPECT_EQ(events[2].kind, InputEvent::kUp) << "same frame keeps file order";
  EXPECT_EQ(events[3].a, -120);
  EXPECT_EQ(events[4].a, 'a');
  EXPECT_EQ(events[5].a, 'A');
  EXPECT_EQ(events[6].a, 0);
}

TEST(InputScript, MalformedLinesNameTheirLine) {
  struct Case {
    const char* text;
    const char* expect;
  } cases[] = {
      {"1 down RETURN\n2 down ENTER\n", "s.txt:2: unknown key 'ENTER'"},
      {"x move 1 2\n", "s.txt:1: 'x' is not a frame number"},
      {"3 move 1\n", "s.txt:1: 'move' takes 2 arguments"},
      {"3 jump\n", "s.txt:1: unknown event 'jump'"},
      {"-1 up Z\n", "s.txt:1: '-1' is not a frame number"},
      {"3 activate 2\n", "s.txt:1: activate takes 0 or 1"},
      {"3\n", "s.txt:1: missing event after the frame number"},
      {"3 wheel 99999\n", "s.txt:1: wheel needs a delta"},
  };
  for (const auto& c : cases) {
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, "s.txt", events, error)) << c.text;
    EXPECT_EQ(error, c.expect);
  }
}

TEST(InputScript, FormattedEventsParseBackTheSame) {
  std::vector<InputEvent> in = {
      {3, InputEvent::kMove, -5, 700}, {3, InputEvent::kDown, 0x01, 0}, {4, InputEvent::kUp, 0xA5, 0},
      {5, InputEvent::kWheel, 240, 0}, {6, InputEvent::kChar, '#', 0},  {6, InputEvent::kChar, 'q', 0},
      {7, InputEvent::kActivate, 1, 0},
  };
  std::string text;
  for (const auto& e : in) text += FormatInputEvent(e) + "\n";
  std::vector<InputEvent> out;
  std::string error;
  ASSERT_TRUE(ParseInputScript(text, "r", out, error)) << error;
  ASSERT_EQ(out.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    EXPECT_EQ(out[i].frame, in[i].frame);
    EXPECT_EQ(out[i].kind, in[i].kind);
    EXPECT_EQ(out[i].a, in[i].a);
    EXPECT_EQ(out[i].b, in[i].b);
  }
}

}  // namespace
