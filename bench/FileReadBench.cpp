// Reading speed of the text reader's token layer over design-file-like records: keywords,
// braces, ", "-separated numbers and quoted strings, lines ending in CR LF. Goal: 100 MB/s.
#include <cstdio>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "support/File.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"

namespace {

constexpr size_t kTextBytes = 10 * 1024 * 1024;

// About 10 MB of material and tube records as the design file writes them.
const std::string& DesignText() {
    static const std::string text = [] {
        std::string out;
        out.reserve(kTextBytes + 4096);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> length(-5000.0, 5000.0);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        std::vector<char> line(4096);
        uint32_t identity = 2000;
        while (out.size() < kTextBytes) {
            CFileWrite writer;
            writer.OpenBuffer(line.data(), static_cast<uint32_t>(line.size()), "bench",
                              0xFFFFFFFF, WriteFlags::CrLf);
            if (identity % 16 == 0) {
                writer.PutString("material3{");
                writer.PutInt(static_cast<int>(identity % 100));
                writer.PutString(",");
                writer.PutQuoted("Farbe \"hell\" Nr. " + std::to_string(identity), '"');
                for (int i = 0; i < 11; ++i) {
                    writer.PutString(i % 4 == 0 ? ", " : ",");
                    writer.PutDouble(std::abs(unit(random)), -4, 0, '.');
                }
                writer.PutString(", \"\", 0}\n");
            } else {
                writer.PutString("tube2{");
                writer.PutUnsigned(identity);
                writer.PutString(", ");
                writer.PutInt(static_cast<int>(identity % 7) - 3);
                writer.PutString(", ");
                writer.PutUnsigned(0xFFFFFFFFu);
                for (int i = 0; i < 4; ++i) {
                    writer.PutString(", ");
                    writer.PutDouble(unit(random), -12, 0, '.');
                }
                for (int i = 0; i < 5; ++i) {
                    writer.PutString(", ");
                    writer.PutDouble(length(random), -12, 0, '.');
                }
                writer.PutString("}\n");
            }
            writer.Close();
            out += line.data();
            ++identity;
        }
        return out;
    }();
    return text;
}

// Reads every record through the token operations the record readers use; returns a checksum
// so that nothing is optimised away.
double ReadRecords(CFileRead& reader) {
    double sum = 0.0;
    std::string name;
    for (;;) {
        reader.SkipWhitespace();
        if (reader.AtEnd()) {
            break;
        }
        if (reader.ReadKeyword("material", 0x8006)) {
            reader.ReadInt();
            reader.Expect("{");
            sum += reader.ReadInt();
            reader.Expect(",");
            reader.ReadQuoted(name, '"', '\0');
            for (int i = 0; i < 11; ++i) {
                reader.Expect(",");
                reader.SkipWhitespace();
                sum += reader.ReadFloat(".");
            }
            reader.Expect(",");
            reader.SkipWhitespace();
            reader.ReadQuoted(name, '"', '\0');
            reader.Expect(",");
            reader.SkipWhitespace();
            sum += reader.ReadInt();
        } else if (reader.ReadKeyword("tube", 0x8006)) {
            reader.ReadInt();
            reader.Expect("{");
            sum += reader.ReadUnsigned(0x7fffffff, false, 10);
            reader.Expect(",");
            reader.SkipWhitespace();
            sum += reader.ReadInt();
            reader.Expect(",");
            reader.SkipWhitespace();
            sum += reader.ReadUnsigned(0x7fffffff, false, 10);
            for (int i = 0; i < 9; ++i) {
                reader.Expect(",");
                reader.SkipWhitespace();
                sum += reader.ReadDouble(".");
            }
        } else {
            break;
        }
        reader.Expect("}");
    }
    return sum;
}

void BM_ReadDesignTextFromMemory(benchmark::State& state) {
    const std::string& text = DesignText();
    for (auto _ : state) {
        CFileRead reader;
        reader.OpenString(text.c_str(), "bench", '\0', ReadErrors::AbortOnFirst,
                          ReadOptions::DropCr);
        benchmark::DoNotOptimize(ReadRecords(reader));
        if (reader.GetErrors() != 0 || !reader.AtEnd()) {
            state.SkipWithError("the records did not read back");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadDesignTextFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadDesignFile(benchmark::State& state) {
    const std::string& text = DesignText();
    std::string path = "/tmp/zarnel-bench-design-" + std::to_string(getpid()) + ".zdf";
    {
        File file;
        if (!file.Open(path, File::Mode::Write) || !file.Write(text.data(), text.size()) ||
            !file.Close()) {
            state.SkipWithError("cannot write the design file");
            return;
        }
    }
    for (auto _ : state) {
        CFileRead reader;
        reader.Open(path, ReadErrors::AbortOnFirst, ReadOptions::DropCr);
        benchmark::DoNotOptimize(ReadRecords(reader));
        if (reader.GetErrors() != 0 || !reader.AtEnd()) {
            state.SkipWithError("the records did not read back");
            break;
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadDesignFile)->Unit(benchmark::kMillisecond);

} // namespace
