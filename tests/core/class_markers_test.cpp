// Class markers: members become variables, methods get class-qualified labels.
#include <gtest/gtest.h>

#include "test_host.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

TEST(ClassMarkers, DeclareMembersAndInsertTheMethodLabelBeforeTheMethod) {
  TestBench b;
  ASSERT_TRUE(
      b.exec({"__BEGINCLASS@@ Point", "__PROPERTY@@ x", "__METHOD@@ move", "__ENDCLASS@@",
              "CALL ::Point.move", "%ECHO back", "HALT", "::move", "%ECHO moving", "RETURN"}));
  EXPECT_TRUE(b.machine.table.VariableExists("Point.x"));
  EXPECT_TRUE(b.machine.table.VariableExists("Point.move"));
  EXPECT_EQ(b.var("RG8"), "00");
  EXPECT_EQ(b.host.printed, (Lines{"moving", "back"}));
  EXPECT_EQ(b.machine.ListBox1.line(7), "::Point.move");
  EXPECT_EQ(b.machine.ListBox1.line(8), "::move");
}

TEST(ClassMarkers, InheritanceCopiesMembersAndMethodLabels) {
  TestBench b;
  ASSERT_TRUE(b.exec({"__BEGINCLASS@@ Point", "__PROPERTY@@ x", "__METHOD@@ move", "__ENDCLASS@@",
                      "__INHERIT@@ Point Point3", "CALL ::Point3.move", "HALT", "::move",
                      "%ECHO moving", "RETURN"}));
  EXPECT_TRUE(b.machine.table.VariableExists("Point3.x"));
  EXPECT_TRUE(b.machine.table.VariableExists("Point3.move"));
  EXPECT_EQ(b.var("Point3.class"), "Point");
  EXPECT_EQ(b.host.printed, Lines{"moving"});
  // Point3's label stands directly before the method's class label, which stands before ::move.
  const auto& lines = b.machine.ListBox1.lines();
  auto at = [&](const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) - lines.begin();
  };
  EXPECT_EQ(at("::Point3.move") + 1, at("::Point.move"));
  EXPECT_EQ(at("::Point.move") + 1, at("::move"));
}

TEST(ClassMarkers, TheLabelGoesBeforeTheEqualLineNotInsideALongerOne) {
  TestBench b;
  ASSERT_TRUE(b.exec({"__BEGINCLASS@@ C", "__METHOD@@ go", "JUMP ::end", "::gone", "::end", "HALT",
                      "::go", "RETURN"}));
  EXPECT_EQ(b.machine.ListBox1.line(3), "::gone");
  EXPECT_EQ(b.machine.ListBox1.line(6), "::C.go");
  EXPECT_EQ(b.machine.ListBox1.line(7), "::go");
}

TEST(ClassMarkers, AMarkerThatRunsAgainInsertsNothingMore) {
  // The method's label is above the marker, so the insertion moves the marker down onto the next
  // step's line: it runs once more and must not insert again.
  TestBench b;
  ASSERT_TRUE(b.exec({"JUMP ::start", "::m", "RETURN", "::start", "__BEGINCLASS@@ K",
                      "__METHOD@@ m", "__ENDCLASS@@", "CALL ::K.m", "%ECHO done"}));
  int labels = 0;
  for (const auto& l : b.machine.ListBox1.lines()) labels += l == "::K.m";
  EXPECT_EQ(labels, 1);
  EXPECT_EQ(b.host.printed, Lines{"done"});
}

TEST(ClassMarkers, InsertedLinesExtendTheRunSoTheLastLinesStillRun) {
  TestBench b;
  ASSERT_TRUE(b.exec(
      {"JUMP ::go", "::m", "RETURN", "::go", "__BEGINCLASS@@ K", "__METHOD@@ m", "%ECHO last"}));
  EXPECT_EQ(b.host.printed, Lines{"last"});
  EXPECT_EQ(b.log().back(), "VAR_COUNT = 16");
}

TEST(ClassMarkers, AMethodWithoutItsLabelOnlyDeclaresTheMember) {
  TestBench b;
  ASSERT_TRUE(b.exec({"__BEGINCLASS@@ P", "__METHOD@@ ghost"}));
  EXPECT_TRUE(b.machine.table.VariableExists("P.ghost"));
  EXPECT_EQ(b.machine.ListBox1.size(), 2);
}

}  // namespace
