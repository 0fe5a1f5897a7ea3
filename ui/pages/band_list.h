// The band list of the EQ pages: one row per band (number, type, gain, frequency, Q), edited in place, the
// type with a drop-down of the five type names and the numbers with an edit box.
#pragma once

#include "controls/report_ctrl.h"
#include "dsp/band_response.h"

class CBandList : public CReportCtrl {
  Q_OBJECT
 public:
  CBandList(int controlId, QWidget* parent);

  // Columns in the current language and `bands` rows "1".."n"; cell texts are emptied.
  void Rebuild(int bands);
  // Writes one row in the list's formats; emits nothing.
  void ShowBand(int row, const vireo::dsp::BandShape& band);
  // The row's gain, frequency and Q cells read back as typed (lenient decimals; unreadable text gives 0).
  vireo::dsp::BandShape ReadRow(int row) const;

  static constexpr int kTypeColumn = 1;
  static constexpr int kGainColumn = 2;
  static constexpr int kFrequencyColumn = 3;
  static constexpr int kQColumn = 4;

 signals:
  // The user finished editing a cell (the type column carries the chosen name).
  void cellEdited(int row, int column, const QString& text);

 private:
  bool filling_ = false;
};
