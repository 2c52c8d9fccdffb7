// The exception that ends a read: the text reader throws it, after its report was shown, when an
// error whose bit is in the reader's abort mask occurs. Callers of the record readers catch it
// and give up the whole read.
#pragma once

#include <cstdint>
#include <exception>

class ReadAbort : public std::exception {
public:
    explicit ReadAbort(uint32_t errors) : m_errors(errors) {}

    // The reader's error bits (ReadErrors) when it gave up.
    uint32_t Errors() const { return m_errors; }
    const char* what() const noexcept override { return "text reading ended by an error"; }

private:
    uint32_t m_errors;
};
