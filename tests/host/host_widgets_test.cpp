// The replacement host's widgets, driven with raw requests: its strictness
// (each kind of protocol error is recorded).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mqhost/error_log.hpp"
#include "mqhost/widgets.hpp"
#include "protocol/host_types.hpp"
#include "widget_host_fixture.hpp"

namespace {

using host_testing::HostWidgetsTest;

TEST_F(HostWidgetsTest, UnknownRequestCodesAndPropertiesOutsideTheClassAreProtocolErrors) {
  const int32_t button = Create("button");
  const int32_t frame = Create("frame");
  ExpectNoProtocolErrors();
  Args none;
  EXPECT_EQ(Send(frame, 0x305, none), 0);
  ExpectReported("unknown request code 773");
  Set(button, "checked", true);
  ExpectReported("\"checked\" is not a property of button");
  SetText(frame, u"nope");
  ExpectReported("\"text\" is not a property of frame");
  Set(button, "colour", 3);
  ExpectReported("unknown name \"colour\"");
  EXPECT_EQ(GetInt(button, "modalresult"), -12345) << "set-only: not answered";
  ExpectReported("cannot be read");
}

TEST_F(HostWidgetsTest, WrongWireTypesAreReportedWhereTheHostCanTell) {
  const int32_t check = Create("checkbox");
  const int32_t frame = Create("frame");
  const int32_t combo = Create("combobox");
  ExpectNoProtocolErrors();

  const int32_t asInt = 0x0102;  // an int32 where one bool byte belongs
  Args wideBool;
  wideBool.Add("checked", &asInt);
  Send(check, mq::kWidgetSetValues, wideBool);
  EXPECT_TRUE(HasProtocolError("wrong wire type for \"checked\""));
  EXPECT_FALSE(GetBool(check, "checked")) << "the bad value was not taken";
  mqhost::ClearProtocolErrors();

  Args wideKeyword;
  wideKeyword.Add("alignment", u"horz");
  Send(frame, mq::kWidgetSetValues, wideKeyword);
  ExpectReported("\"alignment\" = \"h\"");

  int64_t tag = 0;
  Args tagWithoutIndex;
  tagWithoutIndex.Add("item.tag", &tag);
  Send(combo, mq::kWidgetGetValues, tagWithoutIndex);
  ExpectReported("without an \"index\"");

  EXPECT_EQ(Create("spinner"), 0);
  ExpectReported("unknown widget class \"spinner\"");
}

TEST_F(HostWidgetsTest, StaleAndUnknownIdsAndSecondDeletesAreReported) {
  const int32_t button = Create("button");
  SetText(424242, u"x");
  ExpectReported("unknown widget id 424242");

  Delete(button);
  ExpectNoProtocolErrors();
  SetText(button, u"x");
  ExpectReported("was deleted");

  Delete(button);
  ExpectReported("second delete of widget #" + std::to_string(button));

  SetText(0, u"x");
  ExpectReported("sent to id 0");

  // After a refused creation the caller's unowned wrapper sends to id 0 and
  // places it: answered with nothing, and no error, until its widgets are gone.
  const int32_t dialog = Create("dialog");
  mqhost::RefuseCreations(1);
  EXPECT_EQ(Create("button"), 0);
  SetText(0, u"x");
  Place(dialog, 0);
  ExpectNoProtocolErrors();
  Delete(dialog);
  SetText(0, u"x");
  ExpectReported("sent to id 0");

  Delete(mqhost::MainWindowId());
  ExpectReported("main window");
}

TEST_F(HostWidgetsTest, DialogDeletedBeforeItsControlsReportsEachOne) {
  const int32_t dialog = Create("dialog");
  const int32_t frame = Create("frame");
  const int32_t button = Create("button");
  SetText(button, u"Copy");
  const int32_t label = Create("label");
  Place(dialog, frame);
  Place(frame, button);
  Place(frame, label);
  Delete(frame);  // children stay alive and still belong to the dialog
  Delete(label);
  ExpectNoProtocolErrors();

  Delete(dialog);
  ASSERT_EQ(mqhost::ProtocolErrors().size(), 1u);
  EXPECT_TRUE(
      HasProtocolError("button #" + std::to_string(button) + " \"Copy\" left undeleted after its dialog"));
  EXPECT_EQ(mqhost::LiveWidgetIds(), std::vector<int32_t>{button});
  mqhost::ClearProtocolErrors();
}

}  // namespace
