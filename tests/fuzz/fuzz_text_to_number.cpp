// libFuzzer target for TextToNumber. The text lives in a heap block of
// exactly its length, so AddressSanitizer reports any read past its end.
// Each text must also read the same after ASCII upper-casing, as the
// command tail does: only 'a'..'z' change, bytes above 127 stay as they are.
//
// The results are compared bit for bit, the sign of zero included:
// upper-casing cannot touch a '+' or '-', so a -0 on one side and +0 on the
// other would be a real difference in how the two texts were read.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* text = static_cast<char*>(malloc(size == 0 ? 1 : size));
    char* upper = static_cast<char*>(malloc(size == 0 ? 1 : size));
    if (text == nullptr || upper == nullptr) abort();
    if (size != 0) memcpy(text, data, size);
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = data[i];
        upper[i] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }

    const ExtendedReal number = TextToNumber(text, size);
    const ExtendedReal upperNumber = TextToNumber(upper, size);
    if (number.sig != upperNumber.sig || number.signExp != upperNumber.signExp) {
        fprintf(stderr, "text and its upper-cased copy differ: %04X:%016llX vs %04X:%016llX\n", number.signExp,
                static_cast<unsigned long long>(number.sig), upperNumber.signExp,
                static_cast<unsigned long long>(upperNumber.sig));
        abort();
    }
    // The conversions take every number the reader can give.
    (void)NumberToInt32(number);
    (void)NumberToDword(number);

    free(text);
    free(upper);
    return 0;
}
