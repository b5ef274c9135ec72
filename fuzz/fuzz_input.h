// Reading a fuzz input as a few choices and the bytes that remain.
#ifndef LAUNCH_FUZZ_INPUT_H
#define LAUNCH_FUZZ_INPUT_H

#include "simulated_windows.h"

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() {
        return size_ ? (size_--, *data_++) : 0;
    }

    std::string Bytes(std::size_t count) {
        if (count > size_) {
            count = size_;
        }
        std::string bytes(reinterpret_cast<const char *>(data_), count);
        data_ += count;
        size_ -= count;
        return bytes;
    }

    std::string Rest() {
        return Bytes(size_);
    }

  private:
    const std::uint8_t *data_;
    std::size_t size_;
};

// Makes the simulated machine's ANSI code page one of the five with fixed lead bytes, a
// single-byte one, one whose GetCPInfo fails, or one with whatever ranges the input gives.
inline void ChooseCodePage(FuzzInput &input) {
    static const UINT fixed[] = {932, 936, 949, 950, 1361};
    std::uint8_t choice = input.Byte() % 8;
    if (choice < 5) {
        sim::SetCodePage(fixed[choice]);
    } else if (choice == 5) {
        sim::SetCodePage(1252, CPINFO{1, {'?', 0}, {0}});
    } else if (choice == 6) {
        sim::SetCodePage(20000);
    } else {
        CPINFO info = {};
        info.MaxCharSize = 1u + input.Byte() % 4u;
        for (BYTE &lead : info.LeadByte) {
            lead = input.Byte();
        }
        sim::SetCodePage(20001, info);
    }
}

#endif
