// Test support: one console dialogue pass run in-process on a state of the test's own,
// with its input and output in memory.
#pragma once

#include <memory>
#include <string>

#include "state/state.h"

// Runs consoleDialogue on s with currentKey = key and input as the console's input;
// returns what the pass wrote.
std::string dialoguePass(fv::State& s, char key, const std::string& input);

// A state of a test's own: zero, as at the program's start (large: on the heap).
std::unique_ptr<fv::State> newState();
