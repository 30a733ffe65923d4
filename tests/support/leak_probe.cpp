// A program of the sanitizer build that leaks on purpose: its leak must be reported
// although the build suppresses the GL driver's.
#include <cstdio>

namespace {

int* volatile kept = nullptr;

void leakOnPurpose() {
    kept = new int[64];
    kept[0] = 1;
    std::printf("%d\n", kept[0]);
    kept = nullptr; // the only pointer is gone
}

} // namespace

int main() {
    leakOnPurpose();
    return 0;
}
