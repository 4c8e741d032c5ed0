#include "core/uTrace.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

TEST(Trace, RecordHoldsValueThenShortStringLabel) {
  const vq::TraceRecord record = vq::BuildTraceRecord("Connect", -2);
  EXPECT_EQ(record.size(), 260u);
  EXPECT_EQ(record[0], 0xFE);
  EXPECT_EQ(record[3], 0xFF);
  EXPECT_EQ(record[4], 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[5]), 7), "Connect");
}

TEST(Trace, LongLabelIsCutAndGreekSentInTheAnsiPage) {
  const vq::TraceRecord longRecord = vq::BuildTraceRecord(std::string(300, 'x'), 1);
  EXPECT_EQ(longRecord[4], 255);
  EXPECT_EQ(longRecord[259], 'x');
  const vq::TraceRecord greek = vq::BuildTraceRecord("Ωμέγα", 1);
  EXPECT_EQ(greek[4], 5);
  EXPECT_EQ(greek[5], 0xD9);
}

#ifndef _WIN32
TEST(Trace, WritesLinesToTheFileTheEnvironmentNames) {
  const std::string path = ::testing::TempDir() + "trace.txt";
  std::remove(path.c_str());
  ::setenv("VQCONNECTOR_TRACE", path.c_str(), 1);
  vq::Trace("DoInitialize", 3);
  vq::Trace("Όνομα", 0);
  ::unsetenv("VQCONNECTOR_TRACE");
  vq::Trace("not written", 9);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "DoInitialize\t3\nΌνομα\t0\n");
}
#endif
