#pragma once
// Work spread over threads that all end before the group does. An exception thrown by work on another thread
// comes back to the thread that waits, instead of ending the program.
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kit {

class TaskGroup {
public:
    TaskGroup() = default;
    ~TaskGroup() { JoinAll(); }
    TaskGroup(const TaskGroup&) = delete;
    TaskGroup& operator=(const TaskGroup&) = delete;

    // Starts `work` on a thread of its own; when no thread can be started, runs it here and now.
    template <class Work>
    void Run(Work work) {
        auto captured = [this, work = std::move(work)]() mutable { Capture(work); };
        try {
            threads_.emplace_back(captured);
        } catch (...) {
            captured();
        }
    }

    // Waits for every thread; throws the first exception any work raised (the others are dropped).
    void Wait() {
        JoinAll();
        if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    }

private:
    template <class Work>
    void Capture(Work& work) noexcept {
        try {
            work();
        } catch (...) {
            const std::lock_guard lock(errorLock_);
            if (!error_) error_ = std::current_exception();
        }
    }

    void JoinAll() noexcept {
        for (std::thread& thread : threads_) thread.join();
        threads_.clear();
    }

    std::vector<std::thread> threads_;
    std::mutex errorLock_;
    std::exception_ptr error_;
};

} // namespace kit
