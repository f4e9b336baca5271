// Any word as each kind of number: read without a fault, and a number read writes back to
// a text that reads as the same number.
#include "core/lesson/ScriptWords.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace servo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string word(reinterpret_cast<const char*>(data), size);
    if (const auto coordinate = readCoordinate(word); coordinate.value) {
        const auto again = readCoordinate(exactCoordinate(*coordinate.value));
        if (!again.value || *again.value != *coordinate.value) {
            std::abort();
        }
    }
    if (const auto number = readNumber(word, -1e300, 1e300); number.value) {
        const auto again = readNumber(exactNumber(*number.value), -1e300, 1e300);
        if (!again.value || *again.value != *number.value) {
            std::abort();
        }
    }
    (void)readInteger(word, -1000, 1000);
    (void)splitWords(word);
    (void)quoted(word);
    return 0;
}
