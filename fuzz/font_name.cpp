// FontNameFromFile on any bytes: a font file dropped on the program is untrusted input.
#include <cstdint>
#include <vector>

#include "fontfiles/install_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    (void)FontNameFromFile(bytes);
    return 0;
}
