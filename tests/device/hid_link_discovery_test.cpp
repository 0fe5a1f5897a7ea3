// HidLink discovery, removal matching and input normalisation (no read thread involved).
#include <gtest/gtest.h>

#include "device/hid_link.h"
#include "device/virtual_clock.h"
#include "fake_hid.h"
#include "log_capture.h"

namespace vireo {
namespace {

using test::FakeBackend;
using test::Machine;

class DiscoveryTest : public ::testing::Test {
 protected:
  ParameterStore store;
  VirtualClock clock;
  FakeBackend backend;
  test::LogCapture log;
};

TEST_F(DiscoveryTest, WrongIdsAreSkippedWithoutOpening) {
  backend.interfaces = {{"/dev/hidraw0", kMachineVendorId, 0x1032},
                        {"/dev/hidraw1", 0x1234, kMachineProductId},
                        Machine("/dev/hidraw2"),
                        Machine("/dev/hidraw3")};
  HidLink link(store, clock);
  ASSERT_TRUE(link.Open(backend));
  EXPECT_EQ(backend.opened, std::vector<std::string>{"/dev/hidraw2"});
  EXPECT_EQ(link.devicePath(), "/dev/hidraw2");
  EXPECT_TRUE(link.isOpen());
  EXPECT_EQ(store.connected(), 0);  // connected only once the reader runs
  const std::vector<std::string> expected{
      "开始枚举usb设备",     "枚举usb设备成功",         "设备路径:\r\n/dev/hidraw2", "尝试打开通信端口....",
      "打开通信端口成功!\n", "正在读取设备的标识...\n", "连接目标设备成功!"};
  EXPECT_EQ(log.lines(), expected);
}

TEST_F(DiscoveryTest, AnInterfaceThatDoesNotOpenIsPassedOver) {
  backend.interfaces = {Machine("/dev/hidraw4"), Machine("/dev/hidraw5")};
  backend.refuse = {"/dev/hidraw4"};
  HidLink link(store, clock);
  ASSERT_TRUE(link.Open(backend));
  EXPECT_EQ(link.devicePath(), "/dev/hidraw5");
  EXPECT_EQ(log.Count("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n"), 1);
}

TEST_F(DiscoveryTest, OnlyTheFirstThirtyTwoMachineInterfacesAreExamined) {
  for (int i = 0; i < 33; ++i) {
    backend.interfaces.push_back(Machine("/dev/hidraw" + std::to_string(i)));
    if (i < 32) backend.refuse.push_back("/dev/hidraw" + std::to_string(i));
  }
  HidLink link(store, clock);
  EXPECT_FALSE(link.Open(backend));
  EXPECT_EQ(backend.opened.size(), 32u);
  EXPECT_FALSE(link.isOpen());
  EXPECT_EQ(log.Count("枚举usb设备成功"), 32);
  EXPECT_EQ(log.Count("枚举usb设备出错,usb设备接口可能枚举完成了"), 0);
  EXPECT_EQ(log.lines().back(), "连接目标设备失败，没有找到目标设备");

  backend.refuse.pop_back();  // the 32nd opens
  EXPECT_TRUE(link.Open(backend));
  EXPECT_EQ(link.devicePath(), "/dev/hidraw31");
}

TEST_F(DiscoveryTest, AMachineListedAfterAHundredOtherDevicesIsFound) {
  for (int i = 0; i < 100; ++i)
    backend.interfaces.push_back({"/dev/other" + std::to_string(i), 0x046D, static_cast<std::uint16_t>(i)});
  backend.interfaces.push_back(Machine("/dev/hidraw100"));
  HidLink link(store, clock);
  ASSERT_TRUE(link.Open(backend));
  EXPECT_EQ(backend.opened, std::vector<std::string>{"/dev/hidraw100"});
  EXPECT_EQ(link.devicePath(), "/dev/hidraw100");
}

TEST_F(DiscoveryTest, EndOfTheListIsReported) {
  backend.interfaces = {{"/dev/hidraw0", 1, 2}};  // another device: not even examined
  HidLink link(store, clock);
  EXPECT_FALSE(link.Open(backend));
  const std::vector<std::string> expected{"开始枚举usb设备", "枚举usb设备出错,usb设备接口可能枚举完成了",
                                          "连接目标设备失败，没有找到目标设备"};
  EXPECT_EQ(log.lines(), expected);
}

TEST_F(DiscoveryTest, RemovalIsMatchedWithoutRegardToCase) {
  backend.interfaces = {Machine("/dev/hidraw2")};
  HidLink link(store, clock);
  EXPECT_FALSE(link.IsRemoval("/dev/hidraw2"));  // nothing open yet
  ASSERT_TRUE(link.Open(backend));
  EXPECT_TRUE(link.IsRemoval("/dev/hidraw2"));
  EXPECT_TRUE(link.IsRemoval("/DEV/HIDRAW2"));
  EXPECT_FALSE(link.IsRemoval("/dev/hidraw20"));
  EXPECT_FALSE(link.IsRemoval("/dev/hidraw3"));
  EXPECT_FALSE(link.IsRemoval(""));
}

TEST_F(DiscoveryTest, SendsBeforeTheReaderRunsWriteNothing) {
  backend.interfaces = {Machine("/dev/hidraw2")};
  HidLink link(store, clock);
  ASSERT_TRUE(link.Open(backend));
  EXPECT_EQ(link.SendPaced(MakeCommand(code::queryModel)), 0);
  EXPECT_EQ(link.SendUnpaced(MakeCommand(code::queryModel)), 0);
  EXPECT_TRUE(backend.control->Written().empty());
  EXPECT_EQ(clock.NowMs(), 0);
  link.CloseLink();  // not connected: only drops the device
  EXPECT_FALSE(link.isOpen());
  EXPECT_TRUE(backend.control->destroyed);
  EXPECT_EQ(log.Count("wait read thread exited time out !\n"), 0);
}

TEST(NormaliseInputReportTest, SixtyByteReportsGainAnIdByte) {
  std::vector<std::uint8_t> sixty(60);
  sixty[0] = 0x07;  // reply code
  sixty[1] = 0x02;
  sixty[59] = 0xEE;
  const Report r = NormaliseInputReport(sixty);
  EXPECT_EQ(r[0], 0x00);
  EXPECT_EQ(r[1], 0x07);
  EXPECT_EQ(r[2], 0x02);
  EXPECT_EQ(r[60], 0xEE);

  std::vector<std::uint8_t> full(61, 0x11);
  full[0] = 0x02;
  EXPECT_EQ(NormaliseInputReport(full)[0], 0x02);
  EXPECT_EQ(NormaliseInputReport(full)[60], 0x11);

  const std::vector<std::uint8_t> shortReport{0x0E, 0x01};
  const Report s = NormaliseInputReport(shortReport);
  EXPECT_EQ(s[1], 0x0E);
  EXPECT_EQ(s[2], 0x01);
  EXPECT_EQ(s[3], 0x00);
}

}  // namespace
}  // namespace vireo
