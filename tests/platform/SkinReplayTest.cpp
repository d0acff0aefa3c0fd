// The skin's present state as a page that opens late gets it.

#include "platform/skin/SkinReplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pgv::test {
namespace {

using platform::skin::SkinReplay;

std::vector<std::string> replayOf(const std::vector<std::string>& programEvents,
                                  const std::vector<std::string>& pageMessages = {}) {
  SkinReplay replay;
  for (const auto& event : programEvents) replay.programEvent(event);
  for (const auto& message : pageMessages) replay.pageMessage(message);
  return replay.replay();
}

TEST(SkinReplayTest, KeepsTheLastValueOfEachVariableInTheOrderFirstSet) {
  const auto events = replayOf({
      R"({"ev":"load","win":"mainfrm","movie":"m"})",
      R"({"ev":"set","win":"mainfrm","name":"_root.A","value":"1"})",
      R"({"ev":"set","win":"mainfrm","name":"_root.B","value":"x"})",
      R"({"ev":"set","win":"mainfrm","name":"_root.A","value":"2"})",
      R"({"ev":"show","win":"mainfrm","modal":false,"activate":true})",
      R"({"ev":"cursor","value":"busy"})",
      R"({"ev":"notice","text":"gone once read"})",
      R"({"ev":"shell","verb":"Open","target":"C:\\x","show":3})",
  }, {R"({"win":"mainfrm","var":"_root.B","value":"typed"})"});
  EXPECT_EQ(events, (std::vector<std::string>{
                        R"({"ev":"load","win":"mainfrm","movie":"m"})",
                        R"({"ev":"set","win":"mainfrm","name":"_root.A","value":"2"})",
                        R"({"ev":"set","win":"mainfrm","name":"_root.B","value":"typed"})",
                        R"({"ev":"show","win":"mainfrm","modal":false,"activate":true})",
                        R"({"ev":"cursor","value":"busy"})",
                    }));
}

TEST(SkinReplayTest, NestedMessageBoxesAreWindowsOfTheirOwnAndClosedOnesAreForgotten) {
  SkinReplay replay;
  for (const char* event : {
           R"({"ev":"load","win":"msgboxWindow","movie":"box"})",
           R"({"ev":"set","win":"msgboxWindow","name":"_root.title1","value":"outer"})",
           R"({"ev":"show","win":"msgboxWindow","modal":true,"activate":true})",
           R"({"ev":"load","win":"msgboxWindow","movie":"box"})",
           R"({"ev":"set","win":"msgboxWindow","name":"_root.title1","value":"inner"})",
           R"({"ev":"show","win":"msgboxWindow","modal":true,"activate":true})",
       }) {
    replay.programEvent(event);
  }
  // The page answers the inner box; the host hides it.
  replay.pageMessage(R"({"win":"msgboxWindow","var":"_root.seen","value":"1"})");
  replay.programEvent(R"({"ev":"hide","win":"msgboxWindow"})");
  EXPECT_EQ(replay.replay(), (std::vector<std::string>{
                                 R"({"ev":"load","win":"msgboxWindow","movie":"box"})",
                                 R"({"ev":"set","win":"msgboxWindow","name":"_root.title1","value":"outer"})",
                                 R"({"ev":"show","win":"msgboxWindow","modal":true,"activate":true})",
                                 R"({"ev":"load","win":"msgboxWindow","movie":"box"})",
                                 R"({"ev":"set","win":"msgboxWindow","name":"_root.title1","value":"inner"})",
                                 R"({"ev":"set","win":"msgboxWindow","name":"_root.seen","value":"1"})",
                             }));
  // The outer one closes too, and the next box replaces both.
  replay.programEvent(R"({"ev":"hide","win":"msgboxWindow"})");
  replay.programEvent(R"({"ev":"load","win":"msgboxWindow","movie":"box"})");
  EXPECT_EQ(replay.replay(), std::vector<std::string>{R"({"ev":"load","win":"msgboxWindow","movie":"box"})"});
}

TEST(SkinReplayTest, OpenQuestionsTrayIdleAndEndAreReplayedLast) {
  SkinReplay replay;
  replay.programEvent(R"({"ev":"tray","intray":true,"tip":"PGVX"})");
  EXPECT_TRUE(replay.inTray());
  replay.programEvent(R"({"ev":"ask","kind":"input","prompt":"Name?"})");
  replay.programEvent(R"({"ev":"idle","waiting":"ask"})");
  EXPECT_EQ(replay.replay(), (std::vector<std::string>{
                                 R"({"ev":"tray","intray":true,"tip":"PGVX"})",
                                 R"({"ev":"ask","kind":"input","prompt":"Name?"})",
                                 R"({"ev":"idle","waiting":"ask"})",
                             }));
  replay.pageMessage(R"({"answer":"Work"})");
  replay.programEvent(R"({"ev":"tray","intray":false,"tip":"PGVX"})");
  EXPECT_FALSE(replay.inTray());
  replay.programEvent(R"({"ev":"exit","code":0})");
  EXPECT_EQ(replay.replay(), (std::vector<std::string>{
                                 R"({"ev":"tray","intray":false,"tip":"PGVX"})",
                                 R"({"ev":"exit","code":0})",
                             }));
  // Text that is not an event changes nothing.
  replay.programEvent("not json");
  replay.pageMessage("[1,2]");
  EXPECT_EQ(replay.replay().size(), 2u);
}

}  // namespace
}  // namespace pgv::test
