#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
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
// result to be taken: enough for the workers to go on while the taker waits on the disk. It
// also starts only while the results not yet taken, and the tasks running, fit the memory
// budget, each running task counted as large as the largest result so far (as the whole budget
// until one is known); the result last taken counts until the next take(), as the caller is
// still writing it. The next result to be taken may always be made once nothing else is held,
// so that any budget finishes the work that one worker would, holding no more at once. With one
// worker (or when no thread can be started) each task runs on the caller's thread inside take().
template <class Result>
class OrderedWorkers {
  public:
    using Task = std::function<Result(int index)>;

    // The bytes results may hold between being made and being taken, and what one holds.
    struct Budget {
        size_t bytes = SIZE_MAX;
        std::function<size_t(const Result&)> cost = [](const Result&) { return size_t{0}; };
    };

    OrderedWorkers(int first, int end, int workers, Task task, Budget budget = {})
        : task_(std::move(task)),
          budget_(std::move(budget)),
          next_(first),
          end_(end),
          taken_(first),
          window_(2 * workers) {
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
        // The result taken before is written by now.
        held_ -= writing_;
        writing_ = 0;
        changed_.notify_all();
        for (;;) {
            if (auto found = done_.find(index); found != done_.end()) {
                Slot slot = std::move(found->second);
                done_.erase(found);
                writing_ = slot.bytes;
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

    // The most results made or being made but not yet taken at any one time.
    int mostInFlight() const {
        std::lock_guard lock(mutex_);
        return mostInFlight_;
    }

  private:
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr error;
        size_t bytes = 0;
    };

    bool fitsBudget() const {
        if (next_ == taken_ && held_ == 0)
            return true;
        if (!largestKnown_)
            return running_ == 0 && done_.empty();
        const size_t room = budget_.bytes - std::min(budget_.bytes, held_);
        return largest_ == 0 || (static_cast<size_t>(running_) + 1) <= room / largest_;
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] {
                return stopping_ || next_ >= end_ || (next_ < taken_ + window_ && fitsBudget());
            });
            if (stopping_ || next_ >= end_)
                return;
            const int index = next_++;
            ++running_;
            mostInFlight_ = std::max(mostInFlight_, next_ - taken_);
            lock.unlock();
            Slot slot;
            try {
                slot.result.emplace(task_(index));
                slot.bytes = budget_.cost(*slot.result);
            } catch (...) {
                slot.error = std::current_exception();
            }
            lock.lock();
            --running_;
            held_ += slot.bytes;
            largest_ = std::max(largest_, slot.bytes);
            largestKnown_ = largestKnown_ || !slot.error;
            done_.emplace(index, std::move(slot));
            changed_.notify_all();
        }
    }

    Task task_;
    Budget budget_;
    int next_;   // next task to start
    int end_;    // one past the last task
    int taken_;  // next result to hand back
    int window_;
    bool stopping_ = false;
    int running_ = 0;
    size_t held_ = 0;     // bytes of the results in done_ and of the one being written
    size_t writing_ = 0;  // bytes of the result last taken, until the next take()
    size_t largest_ = 0;  // of any result so far
    bool largestKnown_ = false;
    int mostInFlight_ = 0;
    std::map<int, Slot> done_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> threads_;
};
