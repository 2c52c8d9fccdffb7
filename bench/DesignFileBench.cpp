// Saving and loading a design of 10,000 elements with a history of 1,000 revisions (the last 900
// each changing 10 elements, so about 19,000 element states, 2.5 MB of text). Goals: saving and
// loading each under 0.2 s, on text and through a file. The design's text read token by token
// through the text reader, beside a plain std::from_chars tokenizer of the same grammar: goal
// within 2x of it.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/FileRead.h"
#include "support/Resources.h"

namespace {

constexpr int kElements = 10000;
constexpr int kRevisions = 1000;
constexpr int kPlacingRevisions = 100;
constexpr int kChangesPerRevision = 10;
constexpr int32_t kCouplingMaterial = 11;

std::unique_ptr<CZarnelDcmt> BuildDesign() {
    SetResourceModule(&ZarnelResources()); // the default materials' names
    auto dcmt = std::make_unique<CZarnelDcmt>();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(-0.5, 0.5);
    std::vector<CElmnt*> tubes;
    tubes.reserve(kElements);
    for (int rev = 0; rev < kPlacingRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kElements / kPlacingRevisions; ++i) {
            auto tube =
                std::make_unique<CElmnt>(dcmt->GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f);
            // Positions with fraction digits, as the position adjustment leaves them.
            tube->Translate(400.0 * i + offset(random), offset(random), 400.0 * rev);
            tubes.push_back(&dcmt->AddElement(std::move(tube)));
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, tubes.size() - 1);
    for (int rev = kPlacingRevisions; rev < kRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kChangesPerRevision; ++i) {
            CElmnt& tube = *tubes[pick(random)];
            tube.BeginChange(r, dcmt->GetElmntList(), 1);
            tube.Translate(0.0, 400.0, 0.0);
        }
    }
    return dcmt;
}

CZarnelDcmt& Design() {
    static const std::unique_ptr<CZarnelDcmt> dcmt = BuildDesign();
    return *dcmt;
}

const std::string& DesignText() {
    static const std::string text = WriteDesignText(Design()).value();
    return text;
}

void BM_SaveText(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    for (auto _ : state) {
        std::optional<std::string> text =
            SaveDesignText(dcmt, kCouplingMaterial, CouplingSnap::NormalSq);
        benchmark::DoNotOptimize(text);
    }
    state.counters["states"] = static_cast<double>(dcmt.GetElmntList().Size());
    state.counters["bytes"] = static_cast<double>(DesignText().size());
}
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond);

void BM_LoadText(benchmark::State& state) {
    const std::string& text = DesignText();
    CZarnelDcmt dcmt;
    for (auto _ : state) {
        if (!LoadDesignText(dcmt, text, "Design")) {
            state.SkipWithError("the design was not loaded");
            break;
        }
    }
}
BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);

std::string TempPath() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/zarnel-bench-" +
           std::to_string(getpid()) + ".zdf";
}

void BM_SaveFile(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    const std::string path = TempPath();
    for (auto _ : state) {
        if (!SaveDesignFile(dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq)) {
            state.SkipWithError("the design was not saved");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state) {
    CZarnelDcmt& source = Design();
    const std::string path = TempPath();
    if (!SaveDesignFile(source, path, kCouplingMaterial, CouplingSnap::NormalSq)) {
        state.SkipWithError("the design was not saved");
        return;
    }
    CZarnelDcmt dcmt;
    for (auto _ : state) {
        if (!LoadDesignFile(dcmt, path)) {
            state.SkipWithError("the design was not loaded");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

// What a tokenizer found in the design's text: its numbers (with their sum, so that both
// tokenizers are seen to read the same values) and its quoted texts.
struct STokens {
    int64_t numbers = 0;
    int64_t quoted = 0;
    double sum = 0.0;
};

bool StartsNumber(int c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

// The grammar of the design's text: blanks between tokens, numbers as doubles, texts in double
// quotes (a doubled quote inside), every other character one token.
STokens ReadTokens(CFileRead& reader) {
    STokens tokens;
    std::string text;
    for (;;) {
        reader.SkipWhitespace();
        if (reader.AtEnd()) {
            break;
        }
        const int c = reader.Peek();
        if (StartsNumber(c)) {
            tokens.sum += reader.ReadDouble(".");
            ++tokens.numbers;
        } else if (c == '"') {
            reader.ReadQuoted(text, '"', '\0');
            ++tokens.quoted;
        } else {
            reader.GetChar();
        }
    }
    return tokens;
}

STokens TokenizeWithFromChars(std::string_view text) {
    STokens tokens;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        const char c = *at;
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++at;
        } else if (StartsNumber(c)) {
            // The reader's number: an optional '+', an optional '-', digits, '.', digits.
            at += c == '+' ? 1 : 0;
            const bool negative = at < end && *at == '-';
            at += negative ? 1 : 0;
            double value = 0.0;
            const std::from_chars_result result =
                std::from_chars(at, end, value, std::chars_format::fixed);
            at = result.ptr;
            tokens.sum += negative ? -value : value;
            ++tokens.numbers;
        } else if (c == '"') {
            for (++at; at < end; ++at) {
                if (*at == '"') {
                    if (at + 1 < end && at[1] == '"') {
                        ++at;
                    } else {
                        ++at;
                        break;
                    }
                }
            }
            ++tokens.quoted;
        } else {
            ++at;
        }
    }
    return tokens;
}

// The text without the carriage returns, as the reader delivers it, so that both read the same.
const std::string& TextWithoutCr() {
    static const std::string text = [] {
        std::string out = DesignText();
        out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
        return out;
    }();
    return text;
}

void BM_ReadDesignTokens(benchmark::State& state) {
    const std::string& text = TextWithoutCr();
    const STokens expected = TokenizeWithFromChars(text);
    for (auto _ : state) {
        CFileRead reader;
        reader.OpenString(text.c_str(), "Design", '\0', ReadErrors::AbortOnFirst,
                          ReadOptions::DropCr);
        const STokens tokens = ReadTokens(reader);
        if (tokens.numbers != expected.numbers || tokens.quoted != expected.quoted ||
            tokens.sum != expected.sum) {
            state.SkipWithError("the reader read other values than the tokenizer");
            break;
        }
    }
    state.counters["numbers"] = static_cast<double>(expected.numbers);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadDesignTokens)->Unit(benchmark::kMillisecond);

void BM_TokenizeDesignWithFromChars(benchmark::State& state) {
    const std::string& text = TextWithoutCr();
    for (auto _ : state) {
        const STokens tokens = TokenizeWithFromChars(text);
        benchmark::DoNotOptimize(tokens.sum);
        if (tokens.numbers == 0) {
            state.SkipWithError("no numbers in the design");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TokenizeDesignWithFromChars)->Unit(benchmark::kMillisecond);

} // namespace
