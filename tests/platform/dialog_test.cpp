// Dialog reports: what the headless backend records and what stderr gets without a window.
#include <gtest/gtest.h>

#include "platform/dialog.hpp"
#include "platform/headless/headless.hpp"

namespace {

platform::DialogReport Beispiel() {
  return {"DirectX 7 Error",
          {{"", "A DiectX 7 Error has occured"},
           {"Error ID:", "DDERR_GENERIC"},
           {"Description:", "There is an undefined error condition.\n\nPause"}}};
}

TEST(DialogReport, FieldsAreFoundByTheirLabels) {
  platform::DialogReport r = Beispiel();
  EXPECT_EQ(r.Field("Error ID:"), "DDERR_GENERIC");
  EXPECT_EQ(r.Field(""), "A DiectX 7 Error has occured");
  EXPECT_EQ(r.Field("Error Code:"), "");
}

TEST(DialogReport, TheHeadlessBackendRecordsAndRunsOnlyWhenAsked) {
  platform::headless::Reset();
  EXPECT_FALSE(platform::AnnounceDialog(Beispiel()));
  platform::headless::SetRunDialogs(true);
  EXPECT_TRUE(platform::AnnounceDialog(Beispiel()));
  ASSERT_EQ(platform::headless::Dialogs().size(), 2u);
  EXPECT_EQ(platform::headless::Dialogs()[0].caption, "DirectX 7 Error");
  platform::headless::Reset();
  EXPECT_TRUE(platform::headless::Dialogs().empty());
}

TEST(DialogReport, OnStderrEveryFieldHasItsLineAndContinuationsAreIndented) {
  testing::internal::CaptureStderr();
  platform::ReportDialogOnStderr(Beispiel());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "== DirectX 7 Error ==\n"
            "A DiectX 7 Error has occured\n"
            "Error ID: DDERR_GENERIC\n"
            "Description: There is an undefined error condition.\n"
            "\n"
            "  Pause\n");
}

}  // namespace
