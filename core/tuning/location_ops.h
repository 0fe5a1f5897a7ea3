// The sound-field location page's edits: the room size, the listener and loudspeaker positions, the level
// correction each loudspeaker's channel gets from its distance to the listener, Reset, the channel levels
// and the "Locate" switch.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/location.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

// Role codes (chType): 0 L, 1 R, 2 SBL, 3 SBR, 4 SUB, 5 CEN, 6 SL, 7 SR. The page lists the loudspeakers
// as L, CEN, R, SBL, SUB, SBR, SL, SR.
inline constexpr std::array<int, kLocationSpeakers> kSpeakerRoles{0, 5, 1, 2, 4, 3, 6, 7};
inline constexpr int kRoomMinMetres = 1;
inline constexpr int kRoomMaxMetres = 10;
inline constexpr int kLocateNone = 8;  // module 4 parameter 34 value that ends "Locate"

// Level correction in dB of a loudspeaker at `speaker` for a listener at `listener`: 3 - 3 d, with the
// machine's own rounding steps (single-precision differences and squares, double root, single result).
float LocationCorrectionDb(Point listener, Point speaker);

// The first output channel (0..7) whose chType is `role`, or -1 when no channel plays it.
int FirstChannelOfRole(const ParameterStore& store, int role);
// The channel that loudspeaker `speaker` (0..7, page order) corrects, or -1.
int ChannelOfSpeaker(const ParameterStore& store, int speaker);

// chLocationGain entry `channel`, dB.
float ChannelLocationGain(const ParameterStore& store, int channel);
// Stores `db` as entry `channel` and sends it: the 32-byte record to 1253, then the six words.
void SetChannelLocationGain(ParameterStore& store, ReportSender& sender, int channel, float db);

// Recomputes and sends the correction of loudspeaker `speaker` from the store's geometry. Returns the
// channel that got it, or -1 (nothing sent) when no channel plays its role.
int SendSpeakerCorrection(ParameterStore& store, ReportSender& sender, int speaker);
// All eight, in page order.
void SendAllCorrections(ParameterStore& store, ReportSender& sender);
// Encodes the store's geometry into locationSettings and block-writes the 20 bytes to 1285.
void SendLocationRecord(ParameterStore& store, ReportSender& sender);

// Room sizes are whole metres 1..10.
int ClampRoomSize(long long metres);
// The leading digits of an edit's text ("7m" -> 7); 0 without any, saturating on very long numbers.
long long ParseLeadingInt(std::string_view text);
// Stores the clamped size and sends the record. Positions stay where they are and no correction is sent.
void SetRoomSize(ParameterStore& store, ReportSender& sender, int width, int length);

// A position edit's text as metres ("+1.5m", "-0.3", " 2"); text that is no number reads as 0.
double ParsePosition(std::string_view text);
// Held inside the room: x within +-W/2, y within +-L/2.
Point ClampToRoom(double x, double y, int roomWidth, int roomLength);

// A typed or stepped position of the listener: stored, the record sent, then all eight corrections.
void MoveListener(ParameterStore& store, ReportSender& sender, Point at);
// A typed or stepped position of loudspeaker `speaker`: stored, the record sent, then its correction.
void MoveSpeaker(ParameterStore& store, ReportSender& sender, int speaker, Point at);
// A loudspeaker dragged in the room picture: its correction first, then the record.
void DragSpeaker(ParameterStore& store, ReportSender& sender, int speaker, Point at);
// "Center": the listener to (0, 0).
void CenterListener(ParameterStore& store, ReportSender& sender);
// "Reset": eight zero corrections, then the default record (sent as it is) and its geometry.
void ResetLocation(ParameterStore& store, ReportSender& sender);

// Level slider of channel `channel` at `percent` (held to 0..100): chTrim, sent by its wire rule.
void SetChannelTrim(ParameterStore& store, ReportSender& sender, int channel, int percent);
// "Locate" of channel row `channel` checked (the channel's role code) or, with -1, unchecked (8).
void SendLocate(const ParameterStore& store, ReportSender& sender, int channel);

// "%dm" and "%+-.1fm".
std::string RoomSizeText(int metres);
std::string PositionText(double metres);
// Up-down position in tenths for a position in metres (truncated).
int PositionTenths(double metres);
// The position up-downs' reach in tenths: trunc(size x 10 / 2).
int PositionReachTenths(int roomMetres);

}  // namespace vireo::tuning
