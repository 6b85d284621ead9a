// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/sorting.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

#include "core/text.h"

namespace tl {

namespace {
bool nameBefore(const StudentRecord& a, const StudentRecord& b) {
    if (a.lastName != b.lastName) return a.lastName < b.lastName;
    return a.firstName < b.firstName;
}

// Sorts the positions, so that records move only when the order changes, and
// once each: a class already in order is left as it is.
template <typename Before>
void stableSortBy(std::vector<StudentRecord>& students, Before before) {
    std::vector<std::size_t> order(students.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), before);
    if (std::is_sorted(order.begin(), order.end())) return;
    std::vector<StudentRecord> sorted;
    sorted.reserve(students.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(students[i]));
    students = std::move(sorted);
}
}  // namespace

void sortByName(std::vector<StudentRecord>& students) {
    stableSortBy(students, [&students](std::size_t a, std::size_t b) {
        return nameBefore(students[a], students[b]);
    });
}

void sortByMark(std::vector<StudentRecord>& students) {
    std::vector<double> marks;
    marks.reserve(students.size());
    for (const StudentRecord& s : students)
        marks.push_back(leadingNumber(s.mark));
    stableSortBy(students, [&marks](std::size_t a, std::size_t b) { return marks[a] > marks[b]; });
}

void sortByClass(std::vector<StudentRecord>& students) {
    stableSortBy(students, [&students](std::size_t a, std::size_t b) {
        const StudentRecord& x = students[a];
        const StudentRecord& y = students[b];
        if (x.classCode != y.classCode) return x.classCode < y.classCode;
        return nameBefore(x, y);
    });
}

}  // namespace tl
