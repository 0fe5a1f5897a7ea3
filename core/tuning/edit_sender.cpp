// The edit sender's worker, its queue and the recorder that turns an operation into a job.
#include "tuning/edit_sender.h"

#include <algorithm>
#include <optional>

namespace vireo::tuning {
namespace {

// Where a write lands on the machine: the code and the three bytes that address it (module and
// parameter of a parameter write, address and length of a block write). Other requests have none: a
// later report never makes them redundant.
std::optional<std::uint32_t> Destination(const JobStep& step) {
  if (step.kind == JobStep::Kind::pause) return std::nullopt;
  const Report& r = step.report;
  if (r[1] != code::writeParam && r[1] != code::writeBlock) return std::nullopt;
  return GetBigEndian32(&r[1]);
}

bool Overwrites(const Job& job, std::uint32_t destination) {
  return std::any_of(job.begin(), job.end(), [&](const JobStep& s) { return Destination(s) == destination; });
}

// The replaced job's reports that `newer` does not overwrite go first; its pauses are dropped, as
// nothing they spaced out is sent any more in their order.
Job CarryOver(const Job& replaced, Job newer) {
  Job merged;
  for (const JobStep& step : replaced) {
    if (step.kind == JobStep::Kind::pause) continue;
    const std::optional<std::uint32_t> at = Destination(step);
    if (!at || !Overwrites(newer, *at)) merged.push_back(step);
  }
  if (merged.empty()) return newer;
  merged.insert(merged.end(), std::make_move_iterator(newer.begin()), std::make_move_iterator(newer.end()));
  return merged;
}

}  // namespace

int JobRecorder::SendPaced(const Report& report) {
  job_.push_back({JobStep::Kind::paced, 0, report});
  return static_cast<int>(kReportBytes);
}

int JobRecorder::SendUnpaced(const Report& report) {
  job_.push_back({JobStep::Kind::unpaced, 0, report});
  return static_cast<int>(kReportBytes);
}

void JobRecorder::PauseClock::SleepMs(int ms) {
  if (ms > 0) owner_.job_.push_back({JobStep::Kind::pause, ms, {}});
}

EditSender::EditSender(ReportSender& link, Clock& clock) : link_(link), clock_(clock) {
  worker_ = std::thread([this] { WorkerMain(); });
}

EditSender::~EditSender() {
  Shutdown();
}

void EditSender::Submit(std::string target, Job job) {
  if (job.empty()) return;
  {
    std::lock_guard guard(lock_);
    ++counters_.jobsSubmitted;
    if (stopping_) {
      ++counters_.jobsDropped;
      return;
    }
    const auto same =
        std::find_if(queue_.begin(), queue_.end(), [&](const Queued& q) { return q.target == target; });
    if (same != queue_.end()) {
      job = CarryOver(same->job, std::move(job));
      queue_.erase(same);
      ++counters_.jobsReplaced;
    }
    queue_.push_back({std::move(target), std::move(job)});
  }
  workCv_.notify_one();
  clock_.Notify();
}

bool EditSender::NextJob(std::unique_lock<std::mutex>& lock, Queued* next) {
  workCv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (queue_.empty()) return false;  // stopping with nothing left
  if (stopping_ && clock_.NowMs() >= drainDeadline_) {
    counters_.jobsDropped += queue_.size();
    queue_.clear();
    return false;
  }
  *next = std::move(queue_.front());
  queue_.pop_front();
  running_ = true;
  return true;
}

void EditSender::WorkerMain() {
  std::unique_lock lock(lock_);
  Queued next;
  while (NextJob(lock, &next)) {
    lock.unlock();
    Replay(next.job);
    lock.lock();
    running_ = false;
    ++counters_.jobsSent;
    if (queue_.empty()) idleCv_.notify_all();
  }
  running_ = false;
  idleCv_.notify_all();
}

void EditSender::Replay(const Job& job) {
  std::uint64_t reports = 0;
  std::uint64_t paused = 0;
  for (const JobStep& step : job) {
    switch (step.kind) {
      case JobStep::Kind::paced:
        link_.SendPaced(step.report);
        ++reports;
        break;
      case JobStep::Kind::unpaced:
        link_.SendUnpaced(step.report);
        ++reports;
        break;
      case JobStep::Kind::pause:
        clock_.SleepMs(step.pauseMs);
        paused += static_cast<std::uint64_t>(step.pauseMs);
        break;
    }
  }
  std::lock_guard guard(lock_);
  counters_.reportsSent += reports;
  counters_.pausedMs += paused;
}

void EditSender::WaitIdle() {
  std::unique_lock lock(lock_);
  idleCv_.wait(lock, [this] { return queue_.empty() && !running_; });
}

void EditSender::Shutdown() {
  std::lock_guard once(shutdownLock_);
  {
    std::lock_guard guard(lock_);
    if (!stopping_) {
      stopping_ = true;
      drainDeadline_ = clock_.NowMs() + kShutdownDrainMs;
    }
  }
  workCv_.notify_all();
  if (worker_.joinable()) worker_.join();
}

EditSenderCounters EditSender::counters() const {
  std::lock_guard guard(lock_);
  return counters_;
}

bool EditSender::stopping() const {
  std::lock_guard guard(lock_);
  return stopping_;
}

std::size_t EditSender::queued() const {
  std::lock_guard guard(lock_);
  return queue_.size();
}

}  // namespace vireo::tuning
