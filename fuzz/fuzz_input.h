// Reading a fuzz input as a few choices and the bytes that remain.
#ifndef LAUNCH_FUZZ_INPUT_H
#define LAUNCH_FUZZ_INPUT_H

#include "simulated_windows.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
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

// Which bytes begin a two-byte character, told independently of the launcher: Windows' ranges for
// its double-byte code pages, or what GetCPInfo reports for another one.
struct LeadBytes {
    BYTE ranges[MAX_LEADBYTES] = {}; // pairs of first and last lead byte, ended by a pair of zeros
    bool Holds(unsigned char byte) const {
        for (int i = 0; i + 1 < MAX_LEADBYTES; i += 2) {
            if (ranges[i] == 0 && ranges[i + 1] == 0) {
                break;
            }
            if (ranges[i] <= byte && byte <= ranges[i + 1]) {
                return true;
            }
        }
        return false;
    }
};

// Makes the simulated machine's ANSI code page one of the five with fixed lead bytes, a
// single-byte one, one whose GetCPInfo fails, or one with whatever ranges the input gives, and
// says which bytes are lead bytes in it. getCPInfoFails: the launcher's one GetCPInfo call fails.
inline LeadBytes ChooseCodePage(FuzzInput &input, bool getCPInfoFails = false) {
    static const UINT fixed[] = {932, 936, 949, 950, 1361};
    static const BYTE fixedRanges[][MAX_LEADBYTES] = {{0x81, 0x9F, 0xE0, 0xFC},
                                                      {0x81, 0xFE},
                                                      {0x81, 0xFE},
                                                      {0x81, 0xFE},
                                                      {0x81, 0xD3, 0xD8, 0xDE, 0xE0, 0xF9}};
    LeadBytes lead;
    std::uint8_t choice = input.Byte() % 8;
    if (choice < 5) {
        sim::SetCodePage(fixed[choice]);
        std::copy(std::begin(fixedRanges[choice]), std::end(fixedRanges[choice]), lead.ranges);
    } else if (choice == 5) {
        sim::SetCodePage(1252, CPINFO{1, {'?', 0}, {0}});
    } else if (choice == 6) {
        sim::SetCodePage(20000);
    } else {
        CPINFO info = {};
        info.MaxCharSize = 1u + input.Byte() % 4u;
        for (BYTE &byte : info.LeadByte) {
            byte = input.Byte();
        }
        sim::SetCodePage(20001, info);
        if (info.MaxCharSize > 1 && !getCPInfoFails) {
            std::copy(std::begin(info.LeadByte), std::end(info.LeadByte), lead.ranges);
        }
    }
    return lead;
}

// The argument tail, read plainly from the rule: the offset in the command line (which ends at
// its first NUL) where the tail begins. A quoted name runs to the next quote, a lead byte taking
// the byte after it along; an unquoted one runs over bytes above 0x20; then every byte from 0x01
// to 0x20 is skipped.
inline std::size_t ExpectedTailOffset(const std::string &line, const LeadBytes &lead) {
    auto at = [&line](std::size_t i) { return static_cast<unsigned char>(line[i]); };
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        i = 1;
        while (i < line.size() && line[i] != '"') {
            i += lead.Holds(at(i)) && i + 1 < line.size() ? 2 : 1;
        }
        if (i < line.size()) {
            i++; // the closing quote
        }
    } else {
        while (i < line.size() && at(i) > 0x20) {
            i++;
        }
    }
    while (i < line.size() && at(i) <= 0x20) {
        i++;
    }
    return i;
}

#endif
