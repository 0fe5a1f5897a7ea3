// Paced senders of every request layout, and the one-slot send that tuning operations and write-all use.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "model/parameter_store.h"
#include "model/report.h"
#include "model/slot_fields.h"

namespace vireo {

// Every function sends through ReportSender::SendPaced and returns the total bytes written
// (61 per report written, 0 for a report that did not go out).

// Parameter write with one value repeated `count` times (1..13).
int WriteParam(ReportSender& sender, int module, int param, std::uint32_t value, int count = 1);
// Parameter write with distinct values (records: coefficients, gain, compressor, delay mode).
int WriteParamValues(ReportSender& sender, int module, int param, std::span<const std::uint32_t> values);
int ReadParam(ReportSender& sender, int module, int param, int count = 1);
// Block write; data longer than 56 bytes goes out in consecutive 56-byte chunks.
int WriteBlock(ReportSender& sender, int address, std::span<const std::uint8_t> data);
int ReadBlock(ReportSender& sender, int address, int length);
int SendCommand(ReportSender& sender, std::uint8_t requestCode, std::span<const std::uint8_t> args);
int SendCommand(ReportSender& sender, std::uint8_t requestCode,
                std::initializer_list<std::uint8_t> args = {});

// Sends element `element` of `field` from the store to the machine by the field's rule: single-value
// rules go to (module, param) and to param2 when set, each with the field's wire count; a float slot with
// an integer rule sends its truncated whole number; ms values go out raised to their minimum (the caller
// stores the raised value back). The record rules send their records: shift (1 or 3 messages),
// delaymode (the pair), comp (the seven values built from the element's four compressor slots).
// Returns 0 and sends nothing for fields without a machine address or an element out of range.
int SendField(ReportSender& sender, const ParameterStore& store, const SlotField& field, int element = 0);

}  // namespace vireo
