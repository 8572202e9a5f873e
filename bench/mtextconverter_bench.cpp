// SPDX-License-Identifier: MIT
// Conversion of one frame-text block of mixed bytes: CR LF, NUL, high bytes, expression
// delimiters and the "<" and "!" bytes that nearly form them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/mtextconverter.h"

namespace {

const unsigned long liMebibyte = 1024 * 1024;

// A fixed generator, so that every run converts the very same bytes.
class MMixedBytes {
public:
    explicit MMixedBytes(std::uint64_t liSeed) : m_liState(liSeed) {}

    /// liLength bytes (a little more at most) with one expression every nSpacing bytes on
    /// average; 0 means none. "<#" never appears: it would name a file to embed.
    std::string make(unsigned long liLength, unsigned nSpacing) {
        std::string strText;
        strText.reserve(liLength + 16);
        while (strText.length() < liLength) {
            if (nSpacing != 0 && next() % nSpacing == 0) {
                strText += "<!nValue!>";
                continue;
            }
            const unsigned nKind = next() % 100;
            if (nKind < 50) {
                append(strText, static_cast<char>(0x20 + next() % 0x5f));
            } else if (nKind < 60) {
                strText += "\r\n";
            } else if (nKind < 65) {
                strText += '\0';
            } else if (nKind < 85) {
                strText += static_cast<char>(0x80 + next() % 0x80);
            } else {
                static const char acNearMisses[] = {'<', '!', '>', '#'};
                append(strText, acNearMisses[next() % 4]);
            }
        }
        return strText;
    }

private:
    std::uint64_t next() {
        m_liState ^= m_liState << 13;
        m_liState ^= m_liState >> 7;
        m_liState ^= m_liState << 17;
        return m_liState;
    }

    // A "<" is never followed by a byte that would open a delimiter.
    static void append(std::string& strText, char c) {
        if (!strText.empty() && strText.back() == '<' && (c == '!' || c == '#'))
            c = ' ';
        strText += c;
    }

    std::uint64_t m_liState;
};

MString mixedText(unsigned long liLength, unsigned nSpacing) {
    const std::string strText = MMixedBytes(20260101).make(liLength, nSpacing);
    return MString(strText.data(), strText.length());
}

MLanguage languageOf(int nLanguage) {
    const MLanguage languages[] = {MLanguage::Cpp, MLanguage::Java, MLanguage::CSharp};
    return languages[nLanguage];
}

const char* nameOf(int nLanguage) {
    const char* const apszNames[] = {"C++", "Java", "C#"};
    return apszNames[nLanguage];
}

void convertLoop(benchmark::State& state, const MString& mstrText, MLanguage language) {
    const MDelimiterSet delimiters;
    unsigned long liOutput = 0;
    for (auto _ : state) {
        MTextConverter converter(mstrText, traitsOf(language), delimiters);
        MOutputText output;
        converter.appendTo(output);
        liOutput = output.length();
        benchmark::DoNotOptimize(output.kept().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(mstrText.length()));
    state.counters["out/in"] = static_cast<double>(liOutput) / mstrText.length();
}

// 1 MiB with an expression every 256 bytes or so, in each target language.
void convertMixed(benchmark::State& state) {
    static const MString mstrText = mixedText(liMebibyte, 256);
    convertLoop(state, mstrText, languageOf(static_cast<int>(state.range(0))));
    state.SetLabel(nameOf(static_cast<int>(state.range(0))));
}
BENCHMARK(convertMixed)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// 1 MiB of near misses only: one literal, so the escaping alone is measured.
void convertWithoutDelimiters(benchmark::State& state) {
    static const MString mstrText = mixedText(liMebibyte, 0);
    convertLoop(state, mstrText, MLanguage::Cpp);
}
BENCHMARK(convertWithoutDelimiters)->Unit(benchmark::kMillisecond);

// The same density over growing blocks: the fitted complexity shows whether the cost
// of one block grows with its size alone.
void convertGrowingBlock(benchmark::State& state) {
    const MString mstrText = mixedText(static_cast<unsigned long>(state.range(0)), 256);
    convertLoop(state, mstrText, MLanguage::Cpp);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(convertGrowingBlock)
    ->RangeMultiplier(2)
    ->Range(64 * 1024, liMebibyte)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
