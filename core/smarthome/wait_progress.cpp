// The wait dialog's reading of the controller events.
#include "smarthome/wait_progress.h"

#include "smarthome/scene_editing.h"
#include "smarthome/smart_home_controller.h"

namespace vireo::smarthome {
namespace {

constexpr int kIrReady = 2;

std::string Pick(int languageIndex, const char* chinese, const char* english) {
  return languageIndex == 1 ? english : chinese;
}

WaitProgress Done(bool success, std::string text) {
  return {true, true, success, std::move(text)};
}

}  // namespace

WaitProgress InterpretWaitEvent(WaitKind kind, int node, std::intptr_t a, std::intptr_t b,
                                int languageIndex) {
  const int low = static_cast<int>(b & 0xFFFF);
  const int high = static_cast<int>(b >> 16);
  switch (kind) {
    case WaitKind::add:
      if (a != zevent::addNode) return {};
      if (low == kAddJoined) return Done(true, {});
      if (low == kAddRemoveFailed)
        return Done(false, Pick(languageIndex, "添加失败，请重试", "Add failed,please retry"));
      return {true, false, false, Pick(languageIndex, "请长按3秒确认添加", "Press and hold 3 second")};
    case WaitKind::remove:
      if (a != zevent::removeNode) return {};
      if (low == kRemoveLeft) return Done(true, {});
      if (low == kAddRemoveFailed) {
        return Done(false, Pick(languageIndex, "删除失败，请重试", "Remove failed,please retry"));
      }
      return {true, false, false, Pick(languageIndex, "请长按3秒确认删除", "Press and hold 3 second")};
    case WaitKind::set:
    case WaitKind::learn:
    case WaitKind::emitKey:
      break;
  }
  if (a == zevent::sendDone) {
    if (low == 1) return Done(false, Pick(languageIndex, "设置超时", "set timeout"));
    // A switch or level is done once sent; an infrared plug reports its own end.
    return kind == WaitKind::set ? Done(true, {}) : WaitProgress{true, false, false, {}};
  }
  if (a != zevent::nodeValue || kind == WaitKind::set || high != node) return {};
  const int value = low & 0xFF;
  const std::string text = IrProgressText(value, languageIndex);
  if (text.empty()) return {};
  if (value == kIrReady) return {true, false, false, text};
  return Done(value == 3 || value == 6, text);
}

}  // namespace vireo::smarthome
