#pragma once
// Memory shared by the conversion's workers. Each picture is decoded only
// once its footprint fits into what the others leave; a picture larger than
// the whole budget waits until it is alone and then takes it all. One picture
// may still use what the decode limits allow, but never several at once.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace lumetra {

// What the workers together may hold for decoding: a little more than the
// largest single picture (kMaxDecodedBytes).
inline constexpr std::uint64_t kConversionBudgetBytes = std::uint64_t(1200) << 20;

class MemoryBudget {
  public:
    explicit MemoryBudget(std::uint64_t bytes) : total_(bytes) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    class Reservation {
      public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        ~Reservation();
        std::uint64_t bytes() const { return bytes_; }

      private:
        friend class MemoryBudget;
        Reservation(MemoryBudget* budget, std::uint64_t bytes) : budget_(budget), bytes_(bytes) {}
        void release();
        MemoryBudget* budget_ = nullptr;
        std::uint64_t bytes_ = 0;
    };

    // Waits until `bytes` fit (or, for more than the whole budget, until
    // nothing else is held) and holds them until the reservation ends.
    Reservation reserve(std::uint64_t bytes);

    std::uint64_t total() const { return total_; }
    // The most ever held at once, for the tests.
    std::uint64_t peak() const;

  private:
    void give(std::uint64_t bytes);

    const std::uint64_t total_;
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    std::uint64_t held_ = 0;
    std::uint64_t peak_ = 0;
};

}  // namespace lumetra
