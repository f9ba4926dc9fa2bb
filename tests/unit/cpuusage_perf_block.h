#pragma once
// Builds performance-data blocks in the system's 32-bit layout, for tests and benchmarks:
// a 96-byte data block header, then objects of a 64-byte header, 40-byte counter definitions
// and instances (24-byte definition and its UTF-16 name, padded to 8 bytes, then a counter block
// of 8 + 8n bytes holding one 64-bit value per counter).
#include "cpuusage/SystemTime.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace zq::testing {

struct TPerfObjectSpec {
    std::uint32_t NameIndex = 238;
    std::vector<std::uint32_t> CounterIndices;        // name index of each counter
    std::vector<std::vector<std::int64_t>> Instances; // one value per counter and instance
    std::vector<std::u16string> Names = {};           // of the first instances; else "1", "2"...
};

struct TPerfBlock {
    std::vector<std::uint8_t> Bytes;
    std::vector<std::size_t> Objects;       // offset of each object
    std::vector<std::size_t> Counters;      // definitions of the last object
    std::vector<std::size_t> InstanceDefs;  // instances of the last object
    std::vector<std::size_t> CounterBlocks; // their counter blocks
};

inline void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

inline void Put64(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int64_t value) {
    std::memcpy(bytes.data() + offset, &value, 8);
}

inline TPerfBlock BuildPerfBlock(const TSystemTime& time,
                                 const std::vector<TPerfObjectSpec>& objects) {
    TPerfBlock out;
    auto& b = out.Bytes;
    b.assign(96, 0);
    const char16_t signature[4] = {u'P', u'E', u'R', u'F'};
    std::memcpy(b.data(), signature, 8);
    Put32(b, 8, 1);   // little endian
    Put32(b, 24, 96); // header length
    Put32(b, 28, static_cast<std::uint32_t>(objects.size()));
    const std::uint16_t st[8] = {time.Year, time.Month,  time.DayOfWeek, time.Day,
                                 time.Hour, time.Minute, time.Second,    time.Milliseconds};
    std::memcpy(b.data() + 36, st, 16);
    for (const auto& layout : objects) {
        const std::size_t object = b.size();
        out.Objects.push_back(object);
        out.Counters.clear();
        out.InstanceDefs.clear();
        out.CounterBlocks.clear();
        const auto numCounters = static_cast<std::uint32_t>(layout.CounterIndices.size());
        const std::uint32_t definitionLength = 64 + 40 * numCounters;
        b.resize(object + definitionLength, 0);
        Put32(b, object + 4, definitionLength);
        Put32(b, object + 8, 64);
        Put32(b, object + 12, layout.NameIndex);
        Put32(b, object + 32, numCounters);
        Put32(b, object + 40, static_cast<std::uint32_t>(layout.Instances.size()));
        for (std::uint32_t k = 0; k < numCounters; ++k) {
            const std::size_t def = object + 64 + 40 * k;
            out.Counters.push_back(def);
            Put32(b, def, 40);
            Put32(b, def + 4, layout.CounterIndices[k]);
            Put32(b, def + 32, 8);         // counter size
            Put32(b, def + 36, 8 + 8 * k); // counter offset
        }
        for (const auto& values : layout.Instances) {
            const std::size_t instance = b.size();
            const std::size_t n = out.InstanceDefs.size();
            out.InstanceDefs.push_back(instance);
            const std::u16string name =
                n < layout.Names.size()
                    ? layout.Names[n]
                    : std::u16string(1, static_cast<char16_t>(u'0' + (n + 1) % 10));
            const auto nameBytes = static_cast<std::uint32_t>(2 * (name.size() + 1));
            const std::uint32_t length = 24 + (nameBytes + 7) / 8 * 8;
            b.resize(instance + length, 0);
            Put32(b, instance, length);         // byte length, name included
            Put32(b, instance + 16, 24);        // name offset
            Put32(b, instance + 20, nameBytes); // name length, with its NUL
            std::memcpy(b.data() + instance + 24, name.data(), 2 * name.size());
            const std::size_t block = b.size();
            out.CounterBlocks.push_back(block);
            b.resize(block + 8 + 8 * numCounters, 0);
            Put32(b, block, 8 + 8 * numCounters);
            for (std::uint32_t k = 0; k < numCounters && k < values.size(); ++k)
                Put64(b, block + 8 + 8 * k, values[k]);
        }
        Put32(b, object, static_cast<std::uint32_t>(b.size() - object));
    }
    Put32(b, 20, static_cast<std::uint32_t>(b.size())); // total length
    return out;
}

// A block with a "System" object followed by the processor object, whose idle-time counter
// is the second of three (counters 142, 6, 144); one instance per idle value, and a last one
// named "_Total" when `total` is given.
inline TPerfBlock ProcessorBlock(const TSystemTime& time, const std::vector<std::int64_t>& idle,
                                 std::optional<std::int64_t> total = {}) {
    TPerfObjectSpec system{2, {10, 12}, {{1, 2}}};
    TPerfObjectSpec processor{238, {142, 6, 144}, {}};
    for (std::int64_t value : idle)
        processor.Instances.push_back({-1, value, -2});
    if (total) {
        for (std::size_t i = 0; i < idle.size(); ++i)
            processor.Names.push_back(std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
        processor.Names.push_back(u"_Total");
        processor.Instances.push_back({-1, *total, -2});
    }
    return BuildPerfBlock(time, {system, processor});
}

// 2024-05-03 10:00 plus the given seconds and milliseconds.
inline TSystemTime At(int second, int millisecond = 0) {
    TSystemTime t;
    t.Year = 2024;
    t.Month = 5;
    t.Day = 3;
    t.Hour = 10;
    t.Minute = static_cast<std::uint16_t>(second / 60);
    t.Second = static_cast<std::uint16_t>(second % 60);
    t.Milliseconds = static_cast<std::uint16_t>(millisecond);
    return t;
}

} // namespace zq::testing
