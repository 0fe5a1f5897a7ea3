// The equaliser editing shared by the microphone and music page and the effect EQ editor: the large graph,
// the band list and the band editor that replaces it while a band is selected, for one EQ identity.
#pragma once

#include <QObject>
#include <QRect>
#include <functional>

#include "dsp/band_response.h"
#include "dsp/eq_band_set.h"

class CEqMeasurement;
class CEqPanel;
class CBandList;
class CBandEditor;
class QWidget;
class AppServices;
class CPage;

struct EqEditingRules {
  // The effect EQ editor applies a slider move at once; the music page only shows it until Enter.
  bool applyOnSliderMove = false;
  // Editor frequency 0 (empty or unreadable): the effect EQ editor keeps the old frequency, the music page
  // raises anything below 20 Hz to 20 Hz.
  bool zeroFrequencyKeepsOld = false;
  // A new type from the list or the type buttons: the effect EQ editor keeps gain and Q (Q clamped to the
  // type, gain 0 for LP and HP); the music page resets them as the graph's type change does.
  bool typeKeepsValues = false;
  // An output channel: stored types up to 31 stay (the crossover codes), the list has a row for each band
  // the graph shows, a new type takes the graph's type-menu path, and the crossover band shows the type its
  // four sections stand for.
  bool channelEq = false;
};

// The application-wide copy source of "Copy EQ" (-1 until something was copied).
int EqCopySource();
void SetEqCopySource(int identity);

class CEqEditing : public QObject {
  Q_OBJECT
 public:
  CEqEditing(CPage* page, int dialogId, EqEditingRules rules);

  CEqPanel* graph() const { return graph_; }
  CBandList* list() const { return list_; }
  CBandEditor* editor() const { return editor_; }
  CEqMeasurement* measurement() const { return measurement_; }

  void SetIdentity(int identity) { identity_ = identity; }
  int identity() const { return identity_; }
  int selectedBand() const { return selected_; }
  // Who sends a band edit; by default the band write of the shown identity.
  void SetBandWriter(std::function<void(int band)> writer) { writer_ = std::move(writer); }
  // The band as the list and the editor show it: the crossover band with the type of its sections.
  vireo::dsp::BandShape ShownShape(int band) const;
  // The place shared by the band list and the band editor.
  void SetListArea(const QRect& area);

  // The graph part of a full refresh: bands, list rows and bypass from the store, no band selected.
  void RefreshFromStore();
  // Selects band n from outside (Left Ctrl + digit) and shows it in the editor; sends nothing.
  void PickBand(int band);
  bool Bypass() const;
  void ToggleBypass();
  // Reset EQ (after the main window's confirmation).
  void Reset();
  // After a language change: list columns and rows, editor captions, then the bands again.
  void ApplyLanguage();

 signals:
  // A paste changed the shown equaliser (the page refreshes what depends on it).
  void pasted();
  // A band was selected, picked or edited and its texts shown; or no band is selected any more.
  void bandShown(int band);
  void selectionCleared();

 private:
  AppServices& app_;
  void OnBandChanged(int band);
  void OnBandPicked(int band);
  void OnEmptyClick();
  void OnCopyPaste(int action, int identity);
  void OnFileCommand(int command);
  void ImportFilterFile();
  void ExportFilterFile();
  // The shown equaliser as a picture (PNG at twice the size), an SVG drawing, or its response as CSV.
  void SaveCurve(int command);
  void OnCellEdited(int row, int column, const QString& text);
  void OnSliderMoved(int controlId, int position);
  void OnTypeClicked(int index);
  void ApplyType(int band, int type);
  void ApplyEdits();
  void SendBand(int band);
  void ShowBandTexts(int band);
  void ShowEditor(bool editor);
  vireo::dsp::BandShape ShapeOf(int band) const;

  EqEditingRules rules_;
  CEqPanel* graph_;
  CBandList* list_;
  CBandEditor* editor_;
  CEqMeasurement* measurement_;
  int ListRows(int bands) const;

  std::function<void(int band)> writer_;
  int identity_ = 0;
  int selected_ = -1;
};
