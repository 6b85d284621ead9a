// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The learning skills reference shown beside the grid in the skills view.
namespace tl {

inline constexpr const char* const kLearningSkills[39] = {
    "1 (Needs Improvement)   2 (Satisfactory)   3 (Good)   4 (Excellent)",
    " ",
    "R   Responsibility - The student:",
    "     - fulfils responsibilities and commitments within the learning environment;",
    "     - completes classwork, homework and assignments according to agreed-upon timelines;",
    "     - takes responsibility for and manages own behaviour.",
    "O   Organization - The student:",
    "     - devises and follows a plan and process for completing work and tasks;",
    "     - establishes priorities and manages time to complete tasks and achieve goals;",
    "     - identifies, gathers, evaluates, and uses info and resources to complete tasks.",
    "W   Independent Work - The student:",
    "     - independently monitors, assesses/revises plans to complete tasks and meet goals;",
    "     - uses class time appropriately to complete tasks;",
    "     - follows instructions with minimal supervision.",
    "C   Collaboration - The student:",
    "     - accepts various roles and an equitable share of work in a group;",
    "     - responds positively to the ideas, opinions, values, and traditions of others;",
    "     - builds healthy peer relationships through personal/media-assisted interactions;",
    "     - works with others to resolve conflicts and build consensus to achieve group goals;",
    "     - shares information, resources, and expertise and promotes critical thinking",
    "       to solve problems and make decisions.",
    "I    Initiative - The student:",
    "     - looks for and acts on new ideas and opportunities for learning;",
    "     - demonstrates the capacity for innovation and a willingness to take risks;",
    "     - demonstrates curiosity and interest in learning;",
    "     - approaches new tasks with a positive attitude;",
    "     - recognizes and advocates appropriately for the rights of self and others.",
    "S   Self-Regulation - The student:",
    "     - sets own individual goals and monitors progress towards achieving them;",
    "     - seeks clarification or assistance when needed;",
    "     - assesses and reflects critically on own strengths, needs, and interests;",
    "     - identifies learning opportunities, choices, and strategies to meet personal",
    "       needs and achieve goals;",
    "     - perseveres and makes an effort when responding to challenges.",
    " ",
    "P    IEP  (left click on this Heading to turn ALL off, right click to turn ALL on)",
    "E    ESL  (only one ESL xor ELD flag per student is permitted by Trillium)",
    "D    ELD                                   \"",
    "T    Teacher Interview Requested           \""};

}  // namespace tl
