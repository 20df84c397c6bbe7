#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/win32/adapters.h"

namespace platform::win32 {

namespace {

constexpr char kWorkerWindowClass[] = "Kestrel.WorkerResults";
constexpr UINT kJobDone = WM_APP + 0x60;

}  // namespace

// Everything the thread and the window share. The thread keeps it alive
// while it runs, so that a job that outlasts the worker object finds it.
struct Win32Worker::Shared {
  std::mutex lock;
  std::condition_variable wake;
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
      const std::lock_guard<std::mutex> guard(shared->lock);
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
        std::unique_lock<std::mutex> guard(lock);
        running = false;
        wake.wait(guard, [this] { return stop || !jobs.empty(); });
        if (stop) return;
        job = std::move(jobs.front().first);
        done = std::move(jobs.front().second);
        jobs.pop_front();
        running = true;
      }
      if (job) job();
      const std::lock_guard<std::mutex> guard(lock);
      if (stop) return;
      finished.push_back(std::move(done));
      PostMessageA(window, kJobDone, 0, 0);
    }
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
  thread_ = std::thread([shared = shared_] { shared->Loop(); });
}

Win32Worker::~Win32Worker() {
  bool idle;
  {
    const std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->stop = true;
    idle = !shared_->running;
    shared_->jobs.clear();
    shared_->finished.clear();
  }
  shared_->wake.notify_all();
  // Dones still posted find no worker any more.
  SetWindowLongPtrA(shared_->window, GWLP_USERDATA, 0);
  DestroyWindow(shared_->window);
  if (idle) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

void Win32Worker::Run(std::function<void()> job, std::function<void()> done) {
  {
    const std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->jobs.emplace_back(std::move(job), std::move(done));
  }
  shared_->wake.notify_one();
}

bool Win32Worker::Busy() const {
  const std::lock_guard<std::mutex> guard(shared_->lock);
  return shared_->running || !shared_->jobs.empty();
}

}  // namespace platform::win32
