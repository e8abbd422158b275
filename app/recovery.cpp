#include "app/recovery.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "app/editor.h"
#include "drawing/window.h"
#include "platform/prompts.h"
#include "scenario/safe_save.h"

namespace {

// One job at a time for the writer thread; a newer job replaces one not yet begun.
struct Job {
  std::string path;
  std::vector<uint8_t> bytes;  // empty: remove the file
};

class Writer {
 public:
  void Post(Job job) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    next_ = std::move(job);
    wake_.notify_one();
  }
  // Waits until every job posted is done.
  void Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !next_ && !busy_; });
  }
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
      wake_.notify_one();
    }
    if (thread_.joinable()) thread_.join();
    stopping_ = false;  // a later job starts the thread again
  }
  std::string TakeFailure() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(failure_, std::string());
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return next_ || stopping_; });
      if (!next_) return;  // stopping, nothing left
      Job job = std::move(*next_);
      next_.reset();
      busy_ = true;
      lock.unlock();
      Status s;
      if (job.bytes.empty())
        RemoveRecoveryFile(job.path);
      else {
        SealRecoveryFile(job.bytes);
        s = SafeSave(job.path, job.bytes.data(), job.bytes.size());
      }
      lock.lock();
      busy_ = false;
      if (!s.ok() && !failedOnce_) {
        failedOnce_ = true;  // said once, not after every step
        failure_ = "恢复文件无法写入：" + s.message;
      }
      idle_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::thread thread_;
  std::optional<Job> next_;
  bool busy_ = false, stopping_ = false, failedOnce_ = false;
  std::string failure_;
};

struct Keeper {
  std::string folder;  // empty: off
  RecoveryKey key;
  MapRange range{};
  std::string path;  // the recovery file of `key`
  // The history as last looked at, to see a step made, undone or redone.
  size_t undo = 0, redo = 0, bytes = 0;
  const EditStep* last = nullptr;
  bool pending = false;
  int64_t changedAt = 0;
  bool written = false;  // a file may exist for `path`
};

Keeper g_keeper;
Writer* g_writer = nullptr;

Writer& TheWriter() {
  if (!g_writer) g_writer = new Writer;  // stopped by FinishRecovery
  return *g_writer;
}

bool HistoryChanged() {
  Keeper& k = g_keeper;
  const bool changed = g_history.UndoCount() != k.undo || g_history.RedoCount() != k.redo ||
                       g_history.Bytes() != k.bytes || g_history.LastStep() != k.last;
  k.undo = g_history.UndoCount();
  k.redo = g_history.RedoCount();
  k.bytes = g_history.Bytes();
  k.last = g_history.LastStep();
  return changed;
}

}  // namespace

void EnableRecovery(const std::string& folder) { g_keeper.folder = folder; }

bool OfferRecovery(const std::string& path, const std::vector<uint8_t>& bytes, RecoveryData& data) {
  const Keeper& k = g_keeper;
  if (k.folder.empty()) return false;
  const std::string file = RecoveryFilePath(k.folder, path);
  RecoveryRead read = ReadRecoveryFile(file, KeyOfScenarioFile(path, bytes.data(), bytes.size()));
  switch (read.state) {
    case RecoveryState::kNone: return false;
    case RecoveryState::kMatches:
      if (ShowMessage(window_handle(), RecoveryQuestion(read.data.steps.size()), kRecoveryCaption,
                      kMbYesNo | kMbIconQuestion) == kIdYes) {
        data = std::move(read.data);
        return true;
      }
      RemoveRecoveryFile(file);
      return false;
    case RecoveryState::kFileChanged:
    case RecoveryState::kUnreadable:
      ShowMessage(window_handle(), RecoverySetAsideText(read, SetAsideRecoveryFile(file)),
                  kRecoveryCaption, kMbOk | kMbIconWarning);
      return false;
  }
  return false;
}

void WatchScenario(const RecoveryKey& key, const MapRange& range) {
  Keeper& k = g_keeper;
  if (k.folder.empty()) return;
  const std::string path = RecoveryFilePath(k.folder, key.path);
  if (k.written && path != k.path) TheWriter().Post(Job{k.path, {}});  // the old name's file
  k.key = key;
  k.range = range;
  k.path = path;
  HistoryChanged();
  k.pending = true;  // a save has no steps left to keep: the file goes
  k.changedAt = INT64_MIN / 2;
}

std::string KeepRecoveryFile(int64_t nowMs) {
  Keeper& k = g_keeper;
  if (k.folder.empty()) return "";
  if (HistoryChanged() && !k.pending) {
    k.pending = true;
    k.changedAt = nowMs;
  }
  if (k.pending && nowMs - k.changedAt >= kRecoveryDelayMs) {
    k.pending = false;
    Job job{k.path, {}};
    if (g_history.StepsSinceSaved() != 0) {
      // The bytes are made here, where the history is not changing; the disk is the writer's.
      Status s = RecoveryFileContents(k.key, k.range, g_history, job.bytes);
      if (!s.ok())
        job.bytes.clear();  // the history no longer reaches the save: nothing true to keep
    }
    const bool writing = !job.bytes.empty();
    if (writing || k.written) TheWriter().Post(std::move(job));
    k.written = writing;
  }
  return g_writer ? g_writer->TakeFailure() : "";
}

void DropRecoveryFile() {
  Keeper& k = g_keeper;
  if (k.folder.empty()) return;
  k.pending = false;
  TheWriter().Post(Job{k.path, {}});
  TheWriter().Drain();
  k.written = false;
}

void FinishRecovery() {
  if (!g_writer) return;
  g_writer->Drain();
  g_writer->Stop();
}
