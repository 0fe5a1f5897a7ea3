// A measured response under an equaliser's graph: loading it (several files are averaged), choosing the
// target, fitting the free bands to it off the GUI thread, and clearing it. One per EQ editing; each EQ
// identity keeps its own measurement and target while the window is open.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "controls/eq_panel.h"
#include "measure/band_fit.h"
#include "measure/grid_curve.h"
#include "tuning/curve_export.h"

class AppServices;
class QProgressDialog;
class QTimer;

// What the target is: flat, the room curve with its two parameters, or a file.
struct EqTargetChoice {
  enum class Kind { flat, room, file };
  Kind kind = Kind::flat;
  vireo::measure::RoomCurve room;
  QString path;
};

struct EqFitChoice {
  int bands = 10;
  int fromHz = 20;
  int toHz = 16000;
  double maxBoostDb = 6.0;
  bool shelves = false;
};

class CEqMeasurement : public QObject {
  Q_OBJECT
 public:
  // `afterFit` runs once a fit's bands are in the store (the page then shows them).
  CEqMeasurement(AppServices& app, CEqPanel* graph, std::function<int()> identity,
                 std::function<void()> afterFit);
  ~CEqMeasurement() override;  // a running fit is cancelled and waited for (milliseconds)

  // The graph's load, target, fit and clear commands; false for any other command.
  bool RunCommand(int command);
  // The identity shown changed, or its bands: the graph shows that identity's measurement.
  void ShowCurrent();

  // Each step on its own, as the menu commands run them after their dialogs.
  // Reads and averages the files; false with one line in *problem (naming the file), nothing changed.
  bool Load(const QStringList& paths, QString* problem);
  bool SetTarget(const EqTargetChoice& choice, QString* problem);
  void Clear();
  // Starts the fit of the shown identity on a worker thread; the bands are applied, as one undo step,
  // when it ends. A progress window appears when it runs longer than 100 ms.
  void StartFit(const EqFitChoice& choice);
  bool fitRunning() const { return worker_ != nullptr; }

  bool hasMeasurement() const;
  EqTargetChoice targetChoice() const;
  EqFitChoice fitChoice() const;
  // The last fit's report in one line of the window's language (empty before one).
  QString lastReport() const { return lastReport_; }
  // Measurement (aligned to the target's level), target and prediction of the shown identity, as drawn
  // and as a curve export writes them; false without a measurement.
  bool CurveColumns(vireo::tuning::CurveOverlay* curves) const;

 signals:
  // A fit ended and was applied (or found nothing to change); lastReport() says how it went.
  void fitFinished();

 private:
  struct State {
    vireo::measure::GridCurve measurement;  // as read (averaged), before the level alignment
    bool hasMeasurement = false;
    EqTargetChoice targetChoice;
    vireo::measure::GridCurve target = vireo::measure::FlatTarget();
    EqFitChoice fit;
  };
  State& Current();
  const State* Find() const;
  void AskTarget();
  void AskFit();
  void LoadAsked();
  void FinishFit();

  AppServices& app_;
  QPointer<CEqPanel> graph_;
  std::function<int()> identity_;
  std::function<void()> afterFit_;
  std::map<int, State> states_;
  QString lastReport_;

  // The running fit.
  struct Job;
  std::shared_ptr<Job> job_;
  QThread* worker_ = nullptr;
  QPointer<QProgressDialog> progress_;
  QTimer* progressTimer_ = nullptr;
};
