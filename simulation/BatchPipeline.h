#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "simulation/CompiledModel.h"

namespace corvanta {

// The number of threads a run uses when it is not told: one a processor.
int DefaultThreadCount();

// Hands out the batches of a compiled model in the order of the uniform
// stream, computed, while further batches are computed ahead on other
// threads.
//
// Only the calling thread draws, one batch after the other, so every batch
// holds exactly the draws and uniform states it would hold if each were
// drawn just before it is used. Computing a batch reads nothing but the
// batch itself, and the caller takes the batches back in the order they
// were drawn: how many threads computed them, and in what order they
// finished, can't change a value, a fault or a state the caller sees.
class BatchPipeline {
  public:
    // threads <= 1, or a model evaluated through text (whose evaluation is
    // its drawing), computes every batch on the calling thread.
    BatchPipeline(CompiledModel& model, int threads);
    ~BatchPipeline();
    BatchPipeline(const BatchPipeline&) = delete;
    BatchPipeline& operator=(const BatchPipeline&) = delete;

    // The next batch, computed. `needed` is how many more values the caller
    // may use after those of the batches handed out before (failed
    // iterations aside): no more is drawn ahead than that, but always the
    // next batch. The batch stays valid until the next call. A failure other
    // than the model's own faults (out of memory) is thrown here.
    const CompiledModel::Batch& Next(std::int64_t needed);

    // Number of threads computing, the calling thread included.
    int Threads() const { return static_cast<int>(workers_.size()) + 1; }

  private:
    enum class State { Free, Drawn, Computing, Computed };
    struct Slot {
        CompiledModel::Batch Batch;
        State Status = State::Free;
        std::exception_ptr Failure;
    };

    void Work();
    // Computes slots_[index], which the caller has marked Computing, and
    // marks it Computed; called without the lock held.
    void ComputeSlot(std::size_t index);

    CompiledModel& model_;
    std::vector<Slot> slots_;      // a ring, in the order of drawing
    std::size_t oldest_ = 0;       // the slot handed out next (or last)
    std::size_t drawn_ = 0;        // slots drawn and not yet handed out
    std::int64_t drawnAhead_ = 0;  // iterations in those slots
    bool handedOut_ = false;       // slots_[oldest_] is with the caller
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    bool quit_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace corvanta
