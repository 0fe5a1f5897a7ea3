// The sender thread of user edits: each edit's reports and pauses become one job, replayed in order on
// a worker so the thread that made the edit never waits for the machine.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "device/clock.h"
#include "model/report.h"

namespace vireo::tuning {

// One step of a job: a report (paced or unpaced, as the operation sent it) or a pause.
struct JobStep {
  enum class Kind : std::uint8_t { paced, unpaced, pause };
  Kind kind = Kind::paced;
  int pauseMs = 0;
  Report report{};
};

// The steps of one user edit, in the order the operation made them.
using Job = std::vector<JobStep>;

// Stands in for the link and the clock while an operation runs on the editing thread: every report
// is recorded and reported as written, and a sleep becomes a pause of the job instead of a wait.
class JobRecorder final : public ReportSender {
 public:
  // `timeBase` answers NowMs and WaitFor (no edit operation waits, but one may read the time).
  explicit JobRecorder(Clock& timeBase) : clock_(*this, timeBase) {}
  JobRecorder(const JobRecorder&) = delete;
  JobRecorder& operator=(const JobRecorder&) = delete;

  int SendPaced(const Report& report) override;
  int SendUnpaced(const Report& report) override;
  Clock& clock() { return clock_; }

  const Job& job() const { return job_; }
  Job TakeJob() { return std::move(job_); }

 private:
  class PauseClock final : public Clock {
   public:
    PauseClock(JobRecorder& owner, Clock& timeBase) : owner_(owner), timeBase_(timeBase) {}
    std::int64_t NowMs() override { return timeBase_.NowMs(); }
    void SleepMs(int ms) override;
    bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
                 const std::function<bool()>& ready) override {
      return timeBase_.WaitFor(cv, lock, timeoutMs, ready);
    }
    void Notify() override { timeBase_.Notify(); }

   private:
    JobRecorder& owner_;
    Clock& timeBase_;
  };

  PauseClock clock_;
  Job job_;
};

// What the sender has done so far (tests and benchmarks).
struct EditSenderCounters {
  std::uint64_t jobsSubmitted = 0;
  std::uint64_t jobsReplaced = 0;  // queued jobs a newer job of the same target took the place of
  std::uint64_t jobsSent = 0;      // replayed to their end
  std::uint64_t jobsDropped = 0;   // still queued when the shutdown's bound ran out, or submitted after it
  std::uint64_t reportsSent = 0;
  std::uint64_t pausedMs = 0;
};

// One worker replays jobs through `link.SendPaced` / `SendUnpaced` and `clock.SleepMs`, in the order
// they were submitted, except that a newer job for the same target takes the place of a queued job of
// that target that has not started: the older job leaves the queue and the newer one goes to the end.
// So the machine ends at the last value of every target, a drag never queues more than one job per
// target, and an edit of another target made in between (a paste between two band edits) can never
// overwrite the newer value. Reports of the replaced job that the newer job does not repeat (the
// reverb predelay that only one echo time sets) are carried to the front of the newer job, so the
// machine still receives every value the store was given. A started job is never cut.
//
// Thread-safe. The link and the clock must outlive the sender.
class EditSender {
 public:
  static constexpr int kShutdownDrainMs = 2000;

  EditSender(ReportSender& link, Clock& clock);
  ~EditSender();  // Shutdown()
  EditSender(const EditSender&) = delete;
  EditSender& operator=(const EditSender&) = delete;

  // Queues `job` for `target` (an empty job changes nothing and is not queued).
  void Submit(std::string target, Job job);

  // Runs `op(ReportSender&, Clock&)` at once on the calling thread against a recorder, so the store is
  // written and the operation's result (a notice, a limited value) is known before this returns; the
  // recorded job is queued for `target`. Returns what op returned.
  template <class F>
  auto Edit(std::string target, F&& op) {
    JobRecorder recorder(clock_);
    if constexpr (std::is_void_v<std::invoke_result_t<F&, ReportSender&, Clock&>>) {
      op(static_cast<ReportSender&>(recorder), recorder.clock());
      Submit(std::move(target), recorder.TakeJob());
    } else {
      auto result = op(static_cast<ReportSender&>(recorder), recorder.clock());
      Submit(std::move(target), recorder.TakeJob());
      return result;
    }
  }

  // Blocks until every job submitted so far has been replayed (or dropped by a shutdown).
  void WaitIdle();
  // Lets the running job finish, replays what is queued while the clock stays within kShutdownDrainMs
  // of the call, drops the rest and ends the worker. Later submissions are dropped. Idempotent.
  void Shutdown();

  EditSenderCounters counters() const;
  // Shutdown has begun: from now on submissions are dropped.
  bool stopping() const;
  // Jobs waiting, not counting the one being replayed.
  std::size_t queued() const;

 private:
  struct Queued {
    std::string target;
    Job job;
  };
  void WorkerMain();
  // Takes the next job under `lock`; false when the worker should end.
  bool NextJob(std::unique_lock<std::mutex>& lock, Queued* next);
  void Replay(const Job& job);

  ReportSender& link_;
  Clock& clock_;
  mutable std::mutex lock_;
  std::condition_variable workCv_;  // a job arrived or the shutdown began
  std::condition_variable idleCv_;  // the queue ran empty with no job running
  std::deque<Queued> queue_;
  bool running_ = false;
  bool stopping_ = false;
  std::int64_t drainDeadline_ = 0;
  EditSenderCounters counters_;
  std::mutex shutdownLock_;  // one Shutdown joins the worker
  std::thread worker_;
};

}  // namespace vireo::tuning
