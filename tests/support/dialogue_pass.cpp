// Test support: a dialogue pass on memory streams.
#include "support/dialogue_pass.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "console/dialogue.h"

std::string dialoguePass(fv::State& s, char key, const std::string& input) {
    std::string text = input;
    std::FILE* in = text.empty() ? std::fopen("/dev/null", "r") // no input: the end at once
                                 : fmemopen(&text[0], text.size(), "r");
    char* written = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&written, &size);
    if (out == nullptr || in == nullptr) {
        std::abort();
    }
    s.session.currentKey = key;
    fv::consoleDialogue(s, {in, out, &s.console});
    std::fclose(out);
    std::fclose(in);
    std::string result(written, size);
    std::free(written);
    return result;
}

std::unique_ptr<fv::State> newState() {
    return std::unique_ptr<fv::State>(new fv::State());
}
