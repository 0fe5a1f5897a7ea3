// Measurement-driven tuning on an EQ graph.
#include "pages/eq_measurement.h"

#include <QFile>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "dsp/frequency_grid.h"
#include "i18n/language_table.h"
#include "measure/response_import.h"
#include "pages/eq_fit_dialogs.h"
#include "pages/page_edits.h"
#include "services/app_services.h"
#include "services/user_prompts.h"
#include "tuning/curve_export.h"
#include "tuning/eq_fit.h"
#include "tuning/filter_file.h"

namespace {

namespace measure = vireo::measure;

QString Caption() {
  return LangText("测量", "Measurement");
}

// Reads and averages response files (one for a target) with the reader vireo-cli uses.
bool ReadCurves(const QStringList& paths, measure::GridCurve* curve, QString* problem) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(QFile::encodeName(path).toStdString());
  std::string why;
  if (!vireo::tuning::LoadMeasurements(files, curve, &why)) {
    *problem = QString::fromStdString(why);
    return false;
  }
  return true;
}

}  // namespace

struct CEqMeasurement::Job {
  int identity = 0;
  measure::GridCurve measurement;
  measure::GridCurve target;
  vireo::dsp::ResponseArray fixed{};
  measure::FitOptions options;
  std::atomic<bool> cancel{false};
  std::atomic<int> permille{0};
  measure::FitResult result;  // written by the worker, read after it ended
};

CEqMeasurement::CEqMeasurement(AppServices& app, CEqPanel* graph, std::function<int()> identity,
                               std::function<void()> afterFit)
    : QObject(graph), app_(app), graph_(graph), identity_(std::move(identity)), afterFit_(std::move(afterFit)) {}

CEqMeasurement::~CEqMeasurement() {
  if (worker_ != nullptr) {
    job_->cancel = true;
    worker_->wait();
    delete worker_;
  }
}

CEqMeasurement::State& CEqMeasurement::Current() {
  return states_[identity_()];
}

const CEqMeasurement::State* CEqMeasurement::Find() const {
  const auto it = states_.find(identity_());
  return it == states_.end() ? nullptr : &it->second;
}

bool CEqMeasurement::hasMeasurement() const {
  const State* s = Find();
  return s != nullptr && s->hasMeasurement;
}

EqTargetChoice CEqMeasurement::targetChoice() const {
  const State* s = Find();
  return s != nullptr ? s->targetChoice : EqTargetChoice{};
}

EqFitChoice CEqMeasurement::fitChoice() const {
  const State* s = Find();
  EqFitChoice choice = s != nullptr ? s->fit : EqFitChoice{};
  choice.bands = std::min(choice.bands, vireo::tuning::ImportableBandCount(identity_()));
  return choice;
}

bool CEqMeasurement::RunCommand(int command) {
  switch (command) {
    case CEqPanel::kLoadMeasurementCommand:
      LoadAsked();
      return true;
    case CEqPanel::kTargetCommand:
      AskTarget();
      return true;
    case CEqPanel::kFitBandsCommand:
      AskFit();
      return true;
    case CEqPanel::kClearMeasurementCommand:
      Clear();
      return true;
    default:
      return false;
  }
}

void CEqMeasurement::ShowCurrent() {
  if (graph_ == nullptr) return;
  CEqPanel::Overlay overlay;
  vireo::tuning::CurveOverlay curves;
  if (const State* s = Find(); s != nullptr && CurveColumns(&curves)) {
    overlay.hasMeasurement = true;
    overlay.first = s->measurement.first;
    overlay.last = s->measurement.last;
    overlay.measurement = curves.measurement;
    // The target is drawn with its measurement; alone it would only repeat the 0 dB line.
    overlay.hasTarget = true;
    overlay.target = curves.target;
    overlay.targetFirst = s->target.first;
    overlay.targetLast = s->target.last;
  }
  graph_->SetOverlay(overlay);
}

void CEqMeasurement::LoadAsked() {
  FileDialogRequest request;
  request.filter = LangText("测量文件 (*.txt *.csv *.tsv *.frd);;所有文件 (*)",
                            "Measurements (*.txt *.csv *.tsv *.frd);;All files (*)");
  const QStringList paths = Prompts().ChooseFiles(graph_, request);
  if (paths.isEmpty()) return;
  QString problem;
  if (!Load(paths, &problem))
    ShowMessage(graph_, LangText("测量未载入。\n", "The measurement was not loaded.\n") + problem, Caption(),
                BoxIcon::warning);
}

bool CEqMeasurement::Load(const QStringList& paths, QString* problem) {
  measure::GridCurve averaged;
  if (paths.isEmpty() || !ReadCurves(paths, &averaged, problem)) return false;
  State& state = Current();
  state.measurement = averaged;
  state.hasMeasurement = true;
  ShowCurrent();
  return true;
}

void CEqMeasurement::AskTarget() {
  CEqTargetDlg dialog(targetChoice(), graph_);
  if (dialog.exec() != QDialog::Accepted) return;
  QString problem;
  if (!SetTarget(dialog.choice(), &problem))
    ShowMessage(graph_, LangText("目标曲线未改变。\n", "The target is unchanged.\n") + problem, Caption(),
                BoxIcon::warning);
}

bool CEqMeasurement::SetTarget(const EqTargetChoice& choice, QString* problem) {
  measure::GridCurve target;
  switch (choice.kind) {
    case EqTargetChoice::Kind::flat:
      target = measure::FlatTarget();
      break;
    case EqTargetChoice::Kind::room:
      target = measure::RoomTarget(choice.room);
      break;
    case EqTargetChoice::Kind::file:
      if (!ReadCurves({choice.path}, &target, problem)) return false;
      break;
  }
  State& state = Current();
  state.targetChoice = choice;
  state.target = target;
  ShowCurrent();
  return true;
}

void CEqMeasurement::Clear() {
  states_.erase(identity_());
  ShowCurrent();
}

void CEqMeasurement::AskFit() {
  if (!hasMeasurement() || fitRunning()) return;
  CEqFitDlg dialog(fitChoice(), vireo::tuning::ImportableBandCount(identity_()), graph_);
  if (dialog.exec() != QDialog::Accepted) return;
  // The user who asked hears how it went; a fit started otherwise (the gallery) only signals.
  connect(
      this, &CEqMeasurement::fitFinished, this,
      [this] { ShowMessage(graph_, lastReport_, Caption(), BoxIcon::information); }, Qt::SingleShotConnection);
  StartFit(dialog.choice());
}

void CEqMeasurement::StartFit(const EqFitChoice& choice) {
  if (!hasMeasurement() || fitRunning()) return;
  State& state = Current();
  state.fit = choice;
  job_ = std::make_shared<Job>();
  job_->identity = identity_();
  job_->measurement = state.measurement;
  job_->target = state.target;
  // The store is read here, on the GUI thread; the worker sees copies only.
  job_->fixed = vireo::tuning::FixedBandsResponse(app_.store(), job_->identity);
  job_->options.bands = std::clamp(choice.bands, 1, vireo::tuning::ImportableBandCount(job_->identity));
  job_->options.fromHz = choice.fromHz;
  job_->options.toHz = choice.toHz;
  job_->options.maxBoostDb = choice.maxBoostDb;
  job_->options.shelves = choice.shelves;

  std::shared_ptr<Job> job = job_;
  worker_ = QThread::create([job] {
    job->result = measure::FitBands(job->measurement, job->target, job->fixed, job->options, [&job](double done) {
      job->permille = static_cast<int>(std::lround(std::clamp(done, 0.0, 1.0) * 1000.0));
      return !job->cancel.load();
    });
  });
  connect(worker_, &QThread::finished, this, &CEqMeasurement::FinishFit);

  // Shown only when the fit takes longer than 100 ms; Cancel keeps the bands as they are.
  progress_ = new QProgressDialog(LangText("正在拟合频段…", "Fitting the bands…"), LangText("取消", "Cancel"), 0,
                                  1000, graph_);
  progress_->setWindowTitle(Caption());
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(100);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  connect(progress_, &QProgressDialog::canceled, this, [job] { job->cancel = true; });
  progressTimer_ = new QTimer(this);
  connect(progressTimer_, &QTimer::timeout, this, [this, job] {
    if (progress_ != nullptr) progress_->setValue(job->permille.load());
  });
  progressTimer_->start(25);
  progress_->setValue(0);
  worker_->start();
}

void CEqMeasurement::FinishFit() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  delete progressTimer_;
  progressTimer_ = nullptr;
  if (progress_ != nullptr) progress_->deleteLater();
  const std::shared_ptr<Job> job = std::move(job_);
  const measure::FitResult& r = job->result;
  if (job->cancel.load() || r.cancelled) {
    lastReport_ = LangText("拟合已取消，均衡没有改变。", "The fit was cancelled; the EQ is unchanged.");
  } else {
    // The whole fit is one step: the free bands replaced, a channel's crossover and split bands kept.
    PageEdits(app_.edits()).ImportFilters(job->identity, r.bands);
    lastReport_ = LangText("拟合了 %1 个频段。电平 %2 dB。%3–%4 Hz 的误差：%5 → %6 dB RMS。",
                           r.bands.size() == 1
                               ? "Fitted %1 band. Level %2 dB. Error over %3–%4 Hz: %5 → %6 dB RMS."
                               : "Fitted %1 bands. Level %2 dB. Error over %3–%4 Hz: %5 → %6 dB RMS.")
                      .arg(r.bands.size())
                      .arg(r.preampDb, 0, 'f', 1)
                      .arg(job->options.fromHz)
                      .arg(job->options.toHz)
                      .arg(r.rmsBefore, 0, 'f', 2)
                      .arg(r.rmsAfter, 0, 'f', 2);
    if (afterFit_) afterFit_();
  }
  ShowCurrent();
  emit fitFinished();
}

bool CEqMeasurement::CurveColumns(vireo::tuning::CurveOverlay* curves) const {
  const State* s = Find();
  if (s == nullptr || !s->hasMeasurement) return false;
  *curves = vireo::tuning::MeasurementOverlay(app_.store(), identity_(), s->measurement, s->target);
  return true;
}
