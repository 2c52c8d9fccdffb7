// The text reader on arbitrary input: any bytes under any preprocessing options and any order of
// token operations must end without a crash, a hang or a read past the text; a report must stay
// valid UTF-8; the decoding of text files must always give valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "support/FileRead.h"
#include "support/ReadSource.h"

namespace {

bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 0;
        if (length == 0 || text.size() - i < length) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Includes would read files named by the input, and echo only fills the output.
    const uint32_t options =
        input.ConsumeIntegral<uint32_t>() &
        ~(ReadOptions::HashInclude | ReadOptions::InputInclude | ReadOptions::Echo);
    // Reports are composed but never shown.
    const uint32_t mask = input.ConsumeIntegral<uint32_t>() | ReadErrors::Silent;
    const std::string operations = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    if (!IsUtf8(DecodeTextFile(text))) {
        std::abort();
    }

    CFileRead reader;
    reader.OpenString(text.c_str(), "fuzz", '\0', mask, options);
    try {
        for (char operation : operations) {
            std::string quoted;
            char field[16];
            switch (static_cast<unsigned char>(operation) % 12) {
            case 0:
                reader.SkipWhitespace();
                break;
            case 1:
                reader.ReadInt();
                break;
            case 2:
                reader.ReadDouble(".,");
                break;
            case 3:
                reader.ReadFloat(".");
                break;
            case 4:
                reader.ReadQuoted(quoted, '"', '\\');
                break;
            case 5:
                reader.ReadUntil(field, static_cast<unsigned char>(operation) % 17, ";,");
                break;
            case 6:
                reader.ReadKeyword("tube", 0x8006);
                break;
            case 7:
                reader.Expect(", ");
                break;
            case 8:
                reader.ReadUnsigned(static_cast<unsigned char>(operation) % 13, true, 0);
                break;
            case 9:
                reader.GetChar();
                break;
            case 10:
                reader.Peek2();
                break;
            default:
                reader.AtEnd();
                break;
            }
        }
        while (reader.ReadChar() >= 0) {
        }
    } catch (const ReadAbort&) {
    }
    if (!IsUtf8(reader.GetLastReport()) && IsUtf8(text)) {
        std::abort();
    }
    return 0;
}
