// How the wait dialog reads each controller event for the operation it waits for.
#include "smarthome/wait_progress.h"

#include <gtest/gtest.h>

namespace vireo::smarthome {
namespace {

struct Case {
  WaitKind kind;
  std::intptr_t a;
  std::intptr_t b;
  bool relevant;
  bool finished;
  bool success;
  const char* text;  // English
};

TEST(WaitProgress, EventsOfEachOperation) {
  const Case cases[] = {
      {WaitKind::add, 74, 1, true, false, false, "Press and hold 3 second"},
      {WaitKind::add, 74, 0x50005, true, true, true, ""},
      {WaitKind::add, 74, 7, true, true, false, "Add failed,please retry"},
      {WaitKind::add, 75, 0x40006, false, false, false, ""},
      {WaitKind::remove, 75, 1, true, false, false, "Press and hold 3 second"},
      {WaitKind::remove, 75, 0x40006, true, true, true, ""},
      {WaitKind::remove, 75, 7, true, true, false, "Remove failed,please retry"},
      {WaitKind::set, 19, 0x430000, true, true, true, ""},
      {WaitKind::set, 19, 0x430001, true, true, false, "set timeout"},
      {WaitKind::set, 4, 0x30046, false, false, false, ""},
      {WaitKind::learn, 19, 0x440000, true, false, false, ""},
      {WaitKind::learn, 4, 0x40002, true, false, false, "Ready, press the key on the remote control"},
      {WaitKind::learn, 4, 0x40003, true, true, true, "Key learned"},
      {WaitKind::learn, 4, 0x40004, true, true, false, "Check error, please learn again"},
      {WaitKind::learn, 4, 0x40005, true, true, false, "No key of the remote control was pressed in time"},
      {WaitKind::learn, 4, 0x30003, false, false, false, ""},  // another plug
      {WaitKind::emitKey, 4, 0x40006, true, true, true, "Remote key sent"},
      {WaitKind::emitKey, 4, 0x40007, true, true, false, "Sending the remote key failed"},
      {WaitKind::emitKey, 19, 0x440001, true, true, false, "set timeout"},
  };
  for (const Case& c : cases) {
    const WaitProgress p = InterpretWaitEvent(c.kind, 4, c.a, c.b, 1);
    EXPECT_EQ(p.relevant, c.relevant) << c.a << ' ' << c.b;
    EXPECT_EQ(p.finished, c.finished) << c.a << ' ' << c.b;
    EXPECT_EQ(p.success, c.success) << c.a << ' ' << c.b;
    EXPECT_EQ(p.text, c.text) << c.a << ' ' << c.b;
  }
}

TEST(WaitProgress, ChineseTexts) {
  EXPECT_EQ(InterpretWaitEvent(WaitKind::add, 0, 74, 1, 0).text, "请长按3秒确认添加");
  EXPECT_EQ(InterpretWaitEvent(WaitKind::remove, 0, 75, 7, 0).text, "删除失败，请重试");
  EXPECT_EQ(InterpretWaitEvent(WaitKind::set, 2, 19, 0x430001, 0).text, "设置超时");
  const char* const infrared[] = {"准备就绪，请按下遥控器按键", "学习完成", "校验错误，请重新学习",
                                  "等待遥控器按键超时"};
  for (int value = 2; value <= 5; ++value)
    EXPECT_EQ(InterpretWaitEvent(WaitKind::learn, 4, 4, 0x40000 + value, 0).text, infrared[value - 2]);
  EXPECT_EQ(InterpretWaitEvent(WaitKind::emitKey, 4, 4, 0x40006, 0).text, "遥控按键发射成功");
  EXPECT_EQ(InterpretWaitEvent(WaitKind::emitKey, 4, 4, 0x40007, 0).text, "遥控按键发射失败");
}

}  // namespace
}  // namespace vireo::smarthome
