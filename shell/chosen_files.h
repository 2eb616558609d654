// The logs a multiple-choice Open dialog chose for a Summary of Days.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a multiple-choice Open dialog answered: one full path, or a folder and then names, each ended by
// NUL and the list by one more NUL.
enum class ChosenFiles { kOk, kNone, kCut, kTooMany };
ChosenFiles SplitChosenFiles(const char* answer, size_t size, std::vector<std::string>* paths);
