#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

// Runs task(i) for i = first .. end-1 on a few threads and hands the results back strictly in
// that order. A task starts only while it is fewer than `2 * workers` places ahead of the next
// result to be taken: enough for the workers to go on while the taker waits on the disk, and
// few enough that memory stays bounded. With one worker (or when no thread can be started) each
// task runs on the caller's thread inside take().
template <class Result>
class OrderedWorkers {
  public:
    using Task = std::function<Result(int index)>;

    OrderedWorkers(int first, int end, int workers, Task task)
        : task_(std::move(task)), next_(first), end_(end), taken_(first), window_(2 * workers) {
        const int threads = std::min(workers, end - first);
        if (threads < 2)
            return;
        try {
            for (int t = 0; t < threads; ++t)
                threads_.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked still finish the batch; none at all means inline.
        }
    }

    // Tasks not yet started are dropped; running ones are waited for and their results
    // thrown away.
    ~OrderedWorkers() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }

    OrderedWorkers(const OrderedWorkers&) = delete;
    OrderedWorkers& operator=(const OrderedWorkers&) = delete;

    // The result of task `index`, which must be the next one in order. While it is not ready,
    // `waiting` (when given) is called on this thread every few milliseconds. An exception the
    // task raised is raised here.
    Result take(int index, const std::function<void()>& waiting = {}) {
        if (threads_.empty()) {
            taken_ = index + 1;
            return task_(index);
        }
        std::unique_lock lock(mutex_);
        for (;;) {
            if (auto found = done_.find(index); found != done_.end()) {
                Slot slot = std::move(found->second);
                done_.erase(found);
                taken_ = index + 1;
                lock.unlock();
                changed_.notify_all();
                if (slot.error)
                    std::rethrow_exception(slot.error);
                return std::move(*slot.result);
            }
            if (!waiting) {
                changed_.wait(lock);
            } else if (changed_.wait_for(lock, std::chrono::milliseconds(10)) ==
                       std::cv_status::timeout) {
                lock.unlock();
                waiting();
                lock.lock();
            }
        }
    }

    int threadCount() const { return static_cast<int>(threads_.size()); }

  private:
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr error;
    };

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(
                lock, [this] { return stopping_ || next_ >= end_ || next_ < taken_ + window_; });
            if (stopping_ || next_ >= end_)
                return;
            const int index = next_++;
            lock.unlock();
            Slot slot;
            try {
                slot.result.emplace(task_(index));
            } catch (...) {
                slot.error = std::current_exception();
            }
            lock.lock();
            done_.emplace(index, std::move(slot));
            changed_.notify_all();
        }
    }

    Task task_;
    int next_;   // next task to start
    int end_;    // one past the last task
    int taken_;  // next result to hand back
    int window_;
    bool stopping_ = false;
    std::map<int, Slot> done_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> threads_;
};
