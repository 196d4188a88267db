// dosrun's relay of the program's output on any bytes, cut anywhere: the
// lines handed out do not depend on how the bytes arrived, and they are
// the bytes that came, each "\r\n" made "\n", up to the marker.
#include <cstddef>
#include <cstdint>

#include "fuzzinput.h"
#include "outputrelay.h"

namespace {
constexpr char kMarker[] = "DOSRUN-END-0123456789ABCDEF";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    dosrun::OutputRelay whole(kMarker, "Illegal command: X.");
    const std::string atOnce = whole.feed(text) + whole.finish();
    dosrun::OutputRelay pieces(kMarker, "Illegal command: X.");
    std::string inPieces;
    const std::size_t step = size == 0 ? 1 : 1 + data[0] % 7;
    for (std::size_t at = 0; at < size; at += step) inPieces += pieces.feed(text.substr(at, step));
    inPieces += pieces.finish();
    fuzz::require(atOnce == inPieces, "the relay's lines depend on how the bytes came");
    fuzz::require(whole.ended() == pieces.ended(), "the marker is seen in one way only");
    if (!whole.ended()) {
        std::string expected(text);
        for (std::size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos; ++at)
            expected.erase(at, 1);
        fuzz::require(atOnce == expected, "the relay changed bytes");
    }
    return 0;
}
