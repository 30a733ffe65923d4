// Test support: one console dialogue pass run in-process on real standard streams.
#pragma once

#include <string>

// Runs consoleDialogue with currentKey = key and input on standard input; returns what
// the pass wrote to standard output.
std::string dialoguePass(char key, const std::string& input);
