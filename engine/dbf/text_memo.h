// What was worked out for a short text, kept for the next cell holding the
// same text: a column of names repeats a few hundred names over thousands of
// records, and encoding one that is not ASCII takes a table lookup a
// character. Slots are chosen by the text's address (texts shared by many
// cells have one), but a slot is only taken when its bytes match, so a grid
// that reuses a buffer for different texts is never answered wrongly.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace dravella::engine::dbf {

template <typename Value>
class TextMemo {
 public:
  static constexpr size_t kLongestText = 32;

  TextMemo() = default;
  // A copy remembers nothing: a memo is only a shortcut, and its owner (a
  // column's survey, say) copies cheaply.
  TextMemo(const TextMemo&) {}
  TextMemo& operator=(const TextMemo&) {
    slots_.reset();
    return *this;
  }
  TextMemo(TextMemo&&) noexcept = default;
  TextMemo& operator=(TextMemo&&) noexcept = default;

  // The value stored for this text, or nullptr.
  const Value* Find(std::string_view text) const {
    if (!slots_ || text.size() > kLongestText) return nullptr;
    const Slot& slot = (*slots_)[SlotOf(text.data())];
    if (slot.size != text.size() || slot.size == 0 || std::memcmp(slot.bytes, text.data(), text.size()) != 0) {
      return nullptr;
    }
    return &slot.value;
  }

  // Makes the slots now, so that Store never allocates (it may run on a
  // second thread, where a failed allocation could not be reported).
  void Prepare() {
    if (!slots_) slots_ = std::make_unique<std::array<Slot, kSlots>>();
  }

  void Store(std::string_view text, const Value& value) {
    if (text.empty() || text.size() > kLongestText) return;
    Prepare();
    Slot& slot = (*slots_)[SlotOf(text.data())];
    slot.size = static_cast<uint8_t>(text.size());
    std::memcpy(slot.bytes, text.data(), text.size());
    slot.value = value;
  }

 private:
  static constexpr size_t kSlots = 256;
  struct Slot {
    uint8_t size = 0;  // 0: empty
    char bytes[kLongestText];
    Value value{};
  };
  static size_t SlotOf(const char* address) {
    // Fibonacci hashing of the address: neighbouring texts spread out.
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(address) * 0x9E3779B97F4A7C15u) >> 56);
  }

  std::unique_ptr<std::array<Slot, kSlots>> slots_;  // made on first use
};

}  // namespace dravella::engine::dbf
