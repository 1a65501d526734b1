// Replays fuzz inputs through the dialogue entry: each file named on the command line is one
// run. Used by CTest on the committed corpus, in every build, sanitizers included.
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::uint8_t buffer[1 << 20];

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::FILE* file = std::fopen(argv[i], "rb");
        if (file == nullptr) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        std::size_t size = std::fread(buffer, 1, sizeof buffer, file);
        std::fclose(file);
        LLVMFuzzerTestOneInput(buffer, size);
    }
    std::fprintf(stderr, "replayed %d inputs\n", argc - 1);
    return 0;
}
