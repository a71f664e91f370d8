#include "generator/picture/MemoryBudget.h"

#include <algorithm>
#include <utility>

namespace lumetra {

MemoryBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        release();
        budget_ = std::exchange(other.budget_, nullptr);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

MemoryBudget::Reservation::~Reservation() {
    release();
}

void MemoryBudget::Reservation::release() {
    if (budget_) budget_->give(bytes_);
    budget_ = nullptr;
    bytes_ = 0;
}

MemoryBudget::Reservation MemoryBudget::reserve(std::uint64_t bytes) {
    const std::uint64_t taken = std::min(bytes, total_);
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return held_ + taken <= total_; });
    held_ += taken;
    peak_ = std::max(peak_, held_);
    return Reservation(this, taken);
}

std::uint64_t MemoryBudget::peak() const {
    std::lock_guard lock(mutex_);
    return peak_;
}

void MemoryBudget::give(std::uint64_t bytes) {
    {
        std::lock_guard lock(mutex_);
        held_ -= bytes;
    }
    freed_.notify_all();
}

}  // namespace lumetra
