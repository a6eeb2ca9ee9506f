// Fuzz target: the DXF reader on any text. It either loads a drawing or
// refuses with a ReadError that names the file; anything else (a crash, a
// sanitizer report, another exception, a hang, memory without bound) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "formats/dxf_reader.h"
#include "memhost/snapshot.h"

// One input: read it, and stop on anything but a drawing or a ReadError naming the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = "fuzz.dxf";
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const pphatch::formats::LoadedDrawing loaded = pphatch::formats::ReadDxfText(text, name);
    // Everything loaded must be readable as a whole.
    (void)pphatch::mem::Snapshot(*loaded.drawing);
  } catch (const pphatch::formats::ReadError& e) {
    if (std::string(e.what()).rfind(name + ": ", 0) != 0) {
      std::fprintf(stderr, "read error that does not name the file: %s\n", e.what());
      std::abort();
    }
  }
  return 0;
}
