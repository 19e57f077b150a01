// Icon data files: whatever the bytes, the check accepts only a stream whose declared images
// all lie inside the data it was given, and finding blank images stays within that data.
#include "fuzz_input.h"
#include "items/imagelist_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace imagelist_stream;
    std::optional<Layout> layout = CheckStream(data, size);
    if (!layout)
        return 0;
    FUZZ_CHECK(layout->streamSize <= size);
    FUZZ_CHECK(layout->maskBitsOffset + layout->maskStride * static_cast<uint64_t>(layout->bitmapHeight) <= size);
    FUZZ_CHECK(layout->imageCount >= 0 && layout->imageCount <= layout->capacity);
    std::vector<bool> blank = BlankImages(data, *layout);
    FUZZ_CHECK(blank.size() == static_cast<size_t>(layout->imageCount));
    return 0;
}
