#include <deque>

#include "platform/win32/adapters.h"

namespace platform::win32 {

namespace {

constexpr char kWorkerWindowClass[] = "Kestrel.WorkerResults";
constexpr UINT kJobDone = WM_APP + 0x60;

// The system's own lock and wake-up, held for a scope. They need no set-up
// and no clean-up, and unlike the C++ library's thread types they bring no
// thread emulation library into the program.
class LockGuard {
 public:
  explicit LockGuard(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~LockGuard() { ReleaseSRWLockExclusive(&lock_); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace

// Everything the thread and the window share. The thread keeps it alive
// while it runs, so that a job that outlasts the worker object finds it.
struct Win32Worker::Shared {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  std::deque<std::pair<std::function<void()>, std::function<void()>>> jobs;
  std::deque<std::function<void()>> finished;
  bool running = false;
  bool stop = false;
  HWND window = nullptr;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kJobDone) return DefWindowProcA(window, message, wParam, lParam);
    auto* shared = reinterpret_cast<Shared*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!shared) return 0;
    std::function<void()> done;
    {
      const LockGuard guard(shared->lock);
      if (shared->finished.empty()) return 0;
      done = std::move(shared->finished.front());
      shared->finished.pop_front();
    }
    if (done) done();
    return 0;
  }

  void Loop() {
    for (;;) {
      std::function<void()> job;
      std::function<void()> done;
      {
        const LockGuard guard(lock);
        running = false;
        while (!stop && jobs.empty()) SleepConditionVariableSRW(&wake, &lock, INFINITE, 0);
        if (stop) return;
        job = std::move(jobs.front().first);
        done = std::move(jobs.front().second);
        jobs.pop_front();
        running = true;
      }
      if (job) job();
      const LockGuard guard(lock);
      if (stop) return;
      finished.push_back(std::move(done));
      PostMessageA(window, kJobDone, 0, 0);
    }
  }

  // The thread's own reference keeps the shared part alive until it ends.
  static DWORD WINAPI ThreadMain(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> self(
        static_cast<std::shared_ptr<Shared>*>(parameter));
    (*self)->Loop();
    return 0;
  }
};

Win32Worker::Win32Worker() : shared_(std::make_shared<Shared>()) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &Shared::WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kWorkerWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when a second worker registers it again
  shared_->window = CreateWindowExA(0, kWorkerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(shared_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shared_.get()));
  auto threadsShare = std::make_unique<std::shared_ptr<Shared>>(shared_);
  thread_.reset(CreateThread(nullptr, 0, &Shared::ThreadMain, threadsShare.get(), 0, nullptr));
  if (thread_) threadsShare.release();
}

Win32Worker::~Win32Worker() {
  bool idle;
  {
    const LockGuard guard(shared_->lock);
    shared_->stop = true;
    idle = !shared_->running;
    shared_->jobs.clear();
    shared_->finished.clear();
  }
  WakeAllConditionVariable(&shared_->wake);
  // Dones still posted find no worker any more.
  SetWindowLongPtrA(shared_->window, GWLP_USERDATA, 0);
  DestroyWindow(shared_->window);
  // A busy thread is left to end with the process; the handle goes either way.
  if (idle && thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

void Win32Worker::Run(std::function<void()> job, std::function<void()> done) {
  if (!thread_) {
    // The system refused the thread: the job runs here, the window waiting
    // for it, and its done still comes from the message loop.
    if (job) job();
    {
      const LockGuard guard(shared_->lock);
      shared_->finished.push_back(std::move(done));
    }
    PostMessageA(shared_->window, kJobDone, 0, 0);
    return;
  }
  {
    const LockGuard guard(shared_->lock);
    shared_->jobs.emplace_back(std::move(job), std::move(done));
  }
  WakeConditionVariable(&shared_->wake);
}

bool Win32Worker::Busy() const {
  const LockGuard guard(shared_->lock);
  return shared_->running || !shared_->jobs.empty();
}

}  // namespace platform::win32
