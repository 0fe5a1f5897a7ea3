// The read-all: identity with two tries, then every parameter, the block images, settings and keys.
#include <algorithm>
#include <vector>

#include "device/protocol.h"
#include "device/sync.h"

namespace vireo {
namespace {

std::vector<ParamRead> BuildReadList() {
  std::vector<ParamRead> list;
  const auto add = [&list](int module, std::initializer_list<int> params, int count = 1) {
    for (int p : params) list.push_back({module, p, count});
  };
  add(1, {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 26, 27, 28, 29,
          30, 31, 32, 33, 34, 35, 36, 37, 49, 50, 51, 52, 53, 54, 55, 56});
  add(2, {26, 27, 7, 8, 9, 10, 11, 12, 20, 21, 22, 23, 24, 25});
  add(3, {24, 25}, 2);
  add(3, {7, 8, 9, 10, 11, 19, 20, 21, 22, 23});
  add(4, {14}, 7);
  add(4, {11, 12, 13, 15, 16, 17, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 36, 37});
  for (int module = 5; module <= 12; ++module) {
    add(module, {17}, 2);
    add(module, {27}, 7);
  }
  for (int param : {15, 16, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28}) {
    for (int module = 5; module <= 12; ++module) add(module, {param});
  }
  return list;
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::span<const ParamRead> ReadAllParameterList() {
  static const std::vector<ParamRead> list = BuildReadList();
  return list;
}

bool IsAcceptedModel(std::u16string_view modelName) {
  return EqualNoCase(modelName, u"Calyx") || EqualNoCase(modelName, u"Brio");
}

bool RunReadAllSequence(ParameterStore& store, ReportSender& sender, const SyncPause& pause) {
  bool identified = false;
  for (int attempt = 0; attempt < kIdentityTries && !identified; ++attempt) {
    SendCommand(sender, code::queryModel);
    SendCommand(sender, code::queryKind);
    SendCommand(sender, code::queryFirmware);
    identified = IsAcceptedModel(store.modelName());
  }
  if (!identified || store.deviceKind() != 18) return true;

  SendCommand(sender, code::queryMode);
  SendCommand(sender, code::identityDone);
  for (const ParamRead& r : ReadAllParameterList()) ReadParam(sender, r.module, r.param, r.count);
  for (int i = 0; i < kDspReadChunks; ++i) {
    const int address = kMaxBlockChunk * i;
    ReadBlock(sender, address, std::min<int>(kMaxBlockChunk, static_cast<int>(kDspBlockBytes) - address));
  }
  ReadBlock(sender, kChLocationGainAddress, static_cast<int>(kChLocationGainBytes));
  ReadBlock(sender, kLocationSettingsAddress, static_cast<int>(kLocationSettingsBytes));
  ReadBlock(sender, kMicBoostLevelAddress, static_cast<int>(kMicBoostLevelBytes));
  SendCommand(sender, code::readSettings);
  SendCommand(sender, code::readKeyTable);
  store.setWriteAck(0);
  return pause(kReadAllEndDelayMs);
}

}  // namespace vireo
