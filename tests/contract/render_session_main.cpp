// Renders the fixed host session and writes the raw float32 output to the file named on the
// command line.

#include <cstdio>
#include <vector>

#include "session.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_session OUTPUT\n");
    return 2;
  }
  std::vector<float> output;
  {
    lumra::testing::LoadedPlugin plugin;
    if (!plugin.Error().empty()) {
      std::fprintf(stderr, "render_session: %s\n", plugin.Error().c_str());
      return 1;
    }
    output = lumra::testing::RenderSession(plugin.Api());
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr || std::fwrite(output.data(), sizeof(float), output.size(), file) != output.size() ||
      std::fclose(file) != 0) {
    std::fprintf(stderr, "render_session: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%zu samples\n", output.size());
  return 0;
}
