// The sound-field location page's edits.
#include "tuning/location_ops.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "device/protocol.h"
#include "device/sync.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {

constexpr int kLocateModule = 4;
constexpr int kLocateParam = 34;

bool ValidSpeaker(int speaker) {
  return speaker >= 0 && speaker < kLocationSpeakers;
}

// The square of a difference as the machine's maths takes it: the magnitude times itself, in single.
float SquaredDistance(float a, float b) {
  const float d = std::fabs(a - b);
  return d * d;
}

void SendCorrection(ParameterStore& store, ReportSender& sender, int speaker, Point listener, Point at) {
  const int channel = ChannelOfSpeaker(store, speaker);
  if (channel >= 0) SetChannelLocationGain(store, sender, channel, LocationCorrectionDb(listener, at));
}

void StoreSpeaker(ParameterStore& store, int speaker, Point at) {
  LocationGeometry g = store.geometry();
  g.speakers[static_cast<std::size_t>(speaker)] = at;
  store.setGeometry(g);
}

}  // namespace

float LocationCorrectionDb(Point listener, Point speaker) {
  const float sum = SquaredDistance(listener.x, speaker.x) + SquaredDistance(listener.y, speaker.y);
  const auto d = static_cast<float>(std::sqrt(static_cast<double>(sum)));
  return static_cast<float>(3.0 - 3.0 * static_cast<double>(d));
}

int FirstChannelOfRole(const ParameterStore& store, int role) {
  for (int c = 0; c < kOutputChannels; ++c) {
    if (store.Int(slot::chType[c]) == role) return c;
  }
  return -1;
}

int ChannelOfSpeaker(const ParameterStore& store, int speaker) {
  if (!ValidSpeaker(speaker)) return -1;
  return FirstChannelOfRole(store, kSpeakerRoles[static_cast<std::size_t>(speaker)]);
}

float ChannelLocationGain(const ParameterStore& store, int channel) {
  if (!IsOutputChannel(channel)) return 0.0f;
  std::array<std::uint8_t, 4> bits{};
  store.ReadBytes(Region::chLocationGain, 4 * static_cast<std::size_t>(channel), bits);
  return BitsFloat(GetBigEndian32(bits.data()));
}

void SetChannelLocationGain(ParameterStore& store, ReportSender& sender, int channel, float db) {
  if (!IsOutputChannel(channel)) return;
  std::array<std::uint8_t, 4> bits{};
  PutBigEndian32(bits.data(), FloatBits(db));
  store.WriteBytes(Region::chLocationGain, 4 * static_cast<std::size_t>(channel), bits);
  SendChannelGain(store, sender, channel);
}

int SendSpeakerCorrection(ParameterStore& store, ReportSender& sender, int speaker) {
  const int channel = ChannelOfSpeaker(store, speaker);
  if (channel < 0) return -1;
  const LocationGeometry g = store.geometry();
  SetChannelLocationGain(store, sender, channel,
                         LocationCorrectionDb(g.listener, g.speakers[static_cast<std::size_t>(speaker)]));
  return channel;
}

void SendAllCorrections(ParameterStore& store, ReportSender& sender) {
  for (int k = 0; k < kLocationSpeakers; ++k) SendSpeakerCorrection(store, sender, k);
}

void SendLocationRecord(ParameterStore& store, ReportSender& sender) {
  const auto record = store.EncodeGeometryIntoRecord();
  WriteBlock(sender, kLocationSettingsAddress, record);
}

int ClampRoomSize(long long metres) {
  return static_cast<int>(std::clamp<long long>(metres, kRoomMinMetres, kRoomMaxMetres));
}

long long ParseLeadingInt(std::string_view text) {
  constexpr long long kSaturated = 1000000000LL;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    v = std::min(v * 10 + (text[i] - '0'), kSaturated);
  return negative ? -v : v;
}

void SetRoomSize(ParameterStore& store, ReportSender& sender, int width, int length) {
  LocationGeometry g = store.geometry();
  g.roomWidth = ClampRoomSize(width);
  g.roomLength = ClampRoomSize(length);
  store.setGeometry(g);
  SendLocationRecord(store, sender);
}

double ParsePosition(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;  // from_chars takes a minus sign only
  double v = 0.0;
  const auto [end, error] =
      std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::fixed);
  (void)end;
  if (error != std::errc() || std::isnan(v)) return 0.0;
  return v;
}

Point ClampToRoom(double x, double y, int roomWidth, int roomLength) {
  const double halfW = ClampRoomSize(roomWidth) / 2.0;
  const double halfL = ClampRoomSize(roomLength) / 2.0;
  return {static_cast<float>(std::clamp(x, -halfW, halfW)), static_cast<float>(std::clamp(y, -halfL, halfL))};
}

void MoveListener(ParameterStore& store, ReportSender& sender, Point at) {
  LocationGeometry g = store.geometry();
  g.listener = at;
  store.setGeometry(g);
  SendLocationRecord(store, sender);
  SendAllCorrections(store, sender);
}

void MoveSpeaker(ParameterStore& store, ReportSender& sender, int speaker, Point at) {
  if (!ValidSpeaker(speaker)) return;
  StoreSpeaker(store, speaker, at);
  SendLocationRecord(store, sender);
  SendSpeakerCorrection(store, sender, speaker);
}

void DragSpeaker(ParameterStore& store, ReportSender& sender, int speaker, Point at) {
  if (!ValidSpeaker(speaker)) return;
  SendCorrection(store, sender, speaker, store.geometry().listener, at);
  StoreSpeaker(store, speaker, at);
  SendLocationRecord(store, sender);
}

void CenterListener(ParameterStore& store, ReportSender& sender) {
  MoveListener(store, sender, Point{0.0f, 0.0f});
}

void ResetLocation(ParameterStore& store, ReportSender& sender) {
  for (int c = 0; c < kOutputChannels; ++c) SetChannelLocationGain(store, sender, c, 0.0f);
  // The default record goes out as it is: encoding its geometry again would turn its 00 zeros into 80.
  store.SetLocationRecord(kDefaultLocationRecord);
  WriteBlock(sender, kLocationSettingsAddress, kDefaultLocationRecord);
}

void SetChannelTrim(ParameterStore& store, ReportSender& sender, int channel, int percent) {
  if (!IsOutputChannel(channel)) return;
  store.SetInt(slot::chTrim[channel], std::clamp(percent, 0, 100));
  SendField(sender, store, *FindSlotField("chTrim"), channel);
}

void SendLocate(const ParameterStore& store, ReportSender& sender, int channel) {
  const std::int32_t value =
      IsOutputChannel(channel) ? (store.Int(slot::chType[channel]) & 0xFF) : kLocateNone;
  const std::uint32_t word = static_cast<std::uint32_t>(value);
  WriteParamValues(sender, kLocateModule, kLocateParam, std::span(&word, 1));
}

std::string RoomSizeText(int metres) {
  char text[24];
  std::snprintf(text, sizeof text, "%dm", metres);
  return text;
}

std::string PositionText(double metres) {
  char text[48];
  std::snprintf(text, sizeof text, "%+-.1fm", metres);
  return text;
}

int PositionTenths(double metres) {
  return static_cast<int>(std::trunc(std::clamp(metres, -1e6, 1e6) * 10.0));
}

int PositionReachTenths(int roomMetres) {
  return roomMetres * 10 / 2;
}

}  // namespace vireo::tuning
