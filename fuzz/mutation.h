// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <random>
#include <string>

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
