#include "core/sorting.h"

#include <algorithm>

#include "core/text.h"

namespace tl {

namespace {
bool nameBefore(const StudentRecord& a, const StudentRecord& b) {
    if (a.lastName != b.lastName) return a.lastName < b.lastName;
    return a.firstName < b.firstName;
}
}  // namespace

void sortByName(std::vector<StudentRecord>& students) {
    std::stable_sort(students.begin(), students.end(), nameBefore);
}

void sortByMark(std::vector<StudentRecord>& students) {
    std::stable_sort(students.begin(), students.end(),
                     [](const StudentRecord& a, const StudentRecord& b) {
                         return leadingNumber(a.mark) > leadingNumber(b.mark);
                     });
}

void sortByClass(std::vector<StudentRecord>& students) {
    std::stable_sort(students.begin(), students.end(),
                     [](const StudentRecord& a, const StudentRecord& b) {
                         if (a.classCode != b.classCode) return a.classCode < b.classCode;
                         return nameBefore(a, b);
                     });
}

}  // namespace tl
