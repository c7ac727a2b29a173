#include "simulation/BatchPipeline.h"

#include <algorithm>
#include <utility>

namespace corvanta {

int DefaultThreadCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

BatchPipeline::BatchPipeline(CompiledModel& model, int threads) : model_(model) {
    const bool inPlace = threads <= 1 || model.UsesText();
    // Enough batches in flight that every thread finds one to compute while
    // the calling thread draws and files.
    const std::size_t ring = inPlace ? 1 : 2 * static_cast<std::size_t>(threads) + 2;
    slots_.resize(ring);
    for (Slot& slot : slots_)
        slot.Batch = model.MakeBatch();
    if (inPlace) return;
    try {
        for (int t = 1; t < threads; ++t)
            workers_.emplace_back([this] { Work(); });
    } catch (...) {
        // No more threads to be had: the ones started do the work.
        if (workers_.empty()) slots_.resize(1);
    }
}

BatchPipeline::~BatchPipeline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void BatchPipeline::ComputeSlot(std::size_t index) {
    Slot& slot = slots_[index];
    std::exception_ptr failure;
    try {
        model_.Compute(slot.Batch);
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slot.Failure = failure;
        slot.Status = State::Computed;
    }
    done_.notify_all();
}

void BatchPipeline::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::size_t ring = slots_.size();
    for (;;) {
        std::size_t pick = ring;
        wake_.wait(lock, [&] {
            if (quit_) return true;
            for (std::size_t j = 0; j < ring && pick == ring; ++j)
                if (slots_[(oldest_ + j) % ring].Status == State::Drawn)
                    pick = (oldest_ + j) % ring;
            return pick != ring;
        });
        if (quit_) return;
        slots_[pick].Status = State::Computing;
        lock.unlock();
        ComputeSlot(pick);
        lock.lock();
    }
}

const CompiledModel::Batch& BatchPipeline::Next(std::int64_t needed) {
    const std::size_t ring = slots_.size();
    std::unique_lock<std::mutex> lock(mutex_);
    if (handedOut_) {
        slots_[oldest_].Status = State::Free;
        oldest_ = (oldest_ + 1) % ring;
        handedOut_ = false;
    }
    while (drawn_ < ring && (drawn_ == 0 || drawnAhead_ < needed)) {
        const std::size_t index = (oldest_ + drawn_) % ring;
        const auto count = static_cast<std::size_t>(std::clamp<std::int64_t>(
            needed - drawnAhead_, 1, static_cast<std::int64_t>(CompiledModel::kBatch)));
        // A free slot is touched by no other thread.
        lock.unlock();
        model_.Draw(slots_[index].Batch, count);
        lock.lock();
        slots_[index].Status = State::Drawn;
        ++drawn_;
        drawnAhead_ += static_cast<std::int64_t>(slots_[index].Batch.Count);
        wake_.notify_one();
    }
    // Rather than wait, the calling thread computes the batch it needs, or
    // one after it that no other thread has taken.
    while (slots_[oldest_].Status != State::Computed) {
        std::size_t pick = ring;
        for (std::size_t j = 0; j < drawn_ && pick == ring; ++j)
            if (slots_[(oldest_ + j) % ring].Status == State::Drawn) pick = (oldest_ + j) % ring;
        if (pick == ring) {
            done_.wait(lock);
            continue;
        }
        slots_[pick].Status = State::Computing;
        lock.unlock();
        ComputeSlot(pick);
        lock.lock();
    }
    Slot& slot = slots_[oldest_];
    handedOut_ = true;
    --drawn_;
    drawnAhead_ -= static_cast<std::int64_t>(slot.Batch.Count);
    if (slot.Failure) std::rethrow_exception(std::exchange(slot.Failure, nullptr));
    return slot.Batch;
}

}  // namespace corvanta
