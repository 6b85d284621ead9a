// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/file_io.h"

// A seed with up to eight random edits (none in round 0): a piece inserted,
// bytes erased, a byte changed, or the seed's start copied in. The fuzz
// targets run their seeds through it when built without libFuzzer.
template <typename Pieces>
std::string mutation(const std::string& seed, int round, std::mt19937& rng, const Pieces& pieces) {
    std::string input = seed;
    const int edits = round == 0 ? 0 : 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t at = input.empty() ? 0 : rng() % (input.size() + 1);
        switch (rng() % 4) {
            case 0:
                input.insert(at, pieces[rng() % std::size(pieces)]);
                break;
            case 1:
                if (!input.empty()) input.erase(at % input.size(), 1 + rng() % 40);
                break;
            case 2:
                if (!input.empty()) input[at % input.size()] = static_cast<char>(rng());
                break;
            default:
                input.insert(at, input.substr(0, rng() % 200));
                break;
        }
    }
    return input;
}

// A fuzz target's main without libFuzzer: the seed files named on the command
// line, each cut to its first `keep` bytes, and an empty one, each run as it is
// and rounds - 1 times mutated. A seed that cannot be read ends it with 2.
template <typename Pieces>
int runMutatedSeeds(int argc, char** argv, unsigned seed, std::size_t keep, int rounds,
                    const Pieces& pieces, int (*target)(const uint8_t*, size_t)) {
    std::mt19937 rng(seed);
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        const auto bytes = tl::readWholeFile(argv[i]);
        if (!bytes) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 2;
        }
        seeds.push_back(bytes->substr(0, keep));
    }
    seeds.push_back("");
    int runs = 0;
    for (const std::string& each : seeds) {
        for (int round = 0; round < rounds; ++round) {
            const std::string input = mutation(each, round, rng, pieces);
            target(reinterpret_cast<const uint8_t*>(input.data()), input.size());
            ++runs;
        }
    }
    std::printf("%d inputs read without a fault\n", runs);
    return 0;
}
