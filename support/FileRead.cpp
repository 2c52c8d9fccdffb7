// The text reader: source stack, raw and token lookahead, preprocessing, tokens and reports.
#include "support/FileRead.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <new>
#include <string>
#include <system_error>

#include "support/Hashing.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/ReadSource.h"
#include "support/UserInterface.h"

namespace {

// Character classes 0 to 18 as bits per byte; class 19 holds nothing, class 20 everything.
// ASCII only and independent of the locale.
struct ClassTable {
    uint32_t bits[256] = {};

    constexpr ClassTable() {
        for (int c = 0; c < 256; ++c) {
            const bool upper = c >= 'A' && c <= 'Z';
            const bool lower = c >= 'a' && c <= 'z';
            const bool letter = upper || lower;
            const bool digit = c >= '0' && c <= '9';
            const bool hex = digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
            const bool punctuation = (c >= 33 && c <= 47) || (c >= 58 && c <= 64) ||
                                     (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
            const bool flags[19] = {
                letter,                                               // 0
                upper,                                                // 1
                lower,                                                // 2
                digit || letter,                                      // 3
                c == '_' || letter,                                   // 4
                c == '_' || digit || letter,                          // 5
                c == '-' || letter,                                   // 6
                c == '0' || c == '1',                                 // 7
                c >= '0' && c <= '7',                                 // 8
                digit,                                                // 9
                hex,                                                  // 10
                digit || c == '+' || c == '-',                        // 11
                digit || c == '.' || c == '+' || c == '-',            // 12
                punctuation,                                          // 13
                c <= 31 || c == 127,                                  // 14
                c == ' ',                                             // 15
                c == ' ' || (c >= 9 && c <= 13),                      // 16
                c == 16 || c == 12 || c == 13,                        // 17
                digit || letter || c == '\\' || c == '.' || c == ':', // 18
            };
            for (int k = 0; k < 19; ++k) {
                if (flags[k]) {
                    bits[c] |= 1u << k;
                }
            }
        }
    }
};

constexpr ClassTable kClasses;

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// True when the character is one of those of the set (without the call that find makes).
bool IsOneOf(char c, std::string_view set) {
    for (const char member : set) {
        if (member == c) {
            return true;
        }
    }
    return false;
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}

// The value of a digit of any radix up to 36, or -1.
int DigitValue(int c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    return -1;
}

// The radix that a prefix letter names (after '0' or '^'), or 0.
int PrefixRadix(int letter, int sixteen) {
    if (letter == sixteen || letter == sixteen - 'a' + 'A') {
        return 16;
    }
    switch (letter) {
    case 'd':
    case 'D':
        return 10;
    case 'o':
    case 'O':
        return 8;
    case 'b':
    case 'B':
        return 2;
    default:
        return 0;
    }
}

// The report lines of the error bits, in the order in which a report lists them.
struct ErrorLine {
    uint32_t bit;
    const char* text;
};
// "Nicht genug Arbeitsspeicher: Die Quelle konnte nicht ganz gelesen werden."
constexpr uint32_t kTextNoMemory = 4372;

constexpr ErrorLine kErrorLines[] = {
    {ReadErrors::OpenFailed, "Lesefehler: Quelle konnte nicht geöffnet werden !\n"},
    {ReadErrors::CloseFailed, "Lesefehler: Quelle konnte nicht geschlossen werden !\n"},
    {ReadErrors::NotOpen, "Lesefehler: Quelle ist nicht offen !\n"},
    {ReadErrors::ReadFailed, "Lesefehler: Von der Quelle konnte nicht gelesen werden !\n"},
    {ReadErrors::EndExceeded, "Lesefehler: Ende der Quelle überschritten !\n"},
    {ReadErrors::Repeated, "Lesefehler: Wiederholte Fehler !\n"},
    {ReadErrors::Internal, "Lesefehler: Interner Fehler; Bitte Hersteller informieren !\n"},
    {ReadErrors::Format, "Lesefehler: Formatfehler !\n"},
    {ReadErrors::Range, "Lesefehler: Wert liegt außerhalb des zulässigend Bereichs !\n"},
};

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A report cut at the end of its buffer may end inside a UTF-8 sequence: drop that part.
void DropCutSequence(std::string& text) {
    size_t i = text.size();
    size_t continuations = 0;
    while (i > 0 && IsContinuationByte(text[i - 1]) && continuations < 3) {
        --i;
        ++continuations;
    }
    if (i == 0) {
        return;
    }
    const auto lead = static_cast<unsigned char>(text[i - 1]);
    size_t expected = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0xC0 && continuations < expected) {
        text.erase(i - 1);
    }
}

} // namespace

void CFileRead::Ring::Grow() {
    std::vector<int> data(m_data.size() * 2);
    const size_t size = Size();
    for (size_t k = 0; k < size; ++k) {
        data[k] = At(k);
    }
    m_data = std::move(data);
    m_mask = static_cast<uint32_t>(m_data.size() - 1);
    m_head = 0;
    m_tail = static_cast<uint32_t>(size);
}

CFileRead::CFileRead() = default;

CFileRead::~CFileRead() {
    Close();
}

// ---------------------------------------------------------------------------------------------
// Opening and the source stack

void CFileRead::Begin(uint32_t abortMask, uint32_t options, CFileWrite* messageStream) {
    Close();
    m_abortMask = abortMask;
    m_options = options;
    m_messageStream = messageStream;
    std::fill(std::begin(m_history), std::end(m_history), 0);
    m_historyNext = 0;
    m_raw.Clear();
    m_token.Clear();
    m_last = 0;
    m_replacementText = 0;

    // The bytes that need a look in ReadChar under these options; all others pass straight.
    // Line feed, carriage return and NUL always do: they move the position differently. Under
    // Echo every byte does, so that it reaches the output.
    using namespace ReadOptions;
    std::fill(std::begin(m_special), std::end(m_special), false);
    m_special[static_cast<unsigned char>('\n')] = true;
    m_special[static_cast<unsigned char>('\r')] = true;
    m_special[0] = true;
    m_special[static_cast<unsigned char>('"')] = (options & (QuoteAtComments | Quotes)) != 0;
    m_special[static_cast<unsigned char>('#')] =
        (options & (HashInclude | HashDefine | HashComments)) != 0;
    m_special[static_cast<unsigned char>('%')] = (options & PercentComments) != 0;
    m_special[static_cast<unsigned char>('&')] = (options & Entities) != 0;
    m_special[static_cast<unsigned char>('\'')] = (options & (Quotes | SingleQuotes)) != 0;
    m_special[static_cast<unsigned char>('/')] = (options & SlashComments) != 0;
    m_special[static_cast<unsigned char>('<')] = (options & Entities) != 0;
    m_special[static_cast<unsigned char>('@')] = (options & QuoteAtComments) != 0;
    m_special[static_cast<unsigned char>('\\')] =
        (options & (InputInclude | LineContinuation)) != 0;
    if ((options & Echo) != 0) {
        std::fill(std::begin(m_special), std::end(m_special), true);
    }
    if ((options & HashDefine) != 0) {
        for (int c = 0; c < 256; ++c) {
            if (IsClass(c, 4)) {
                m_special[c] = true;
            }
        }
    }
}

bool CFileRead::Start(std::unique_ptr<SReadSrc> source) {
    m_sources.push_back(std::move(source));
    m_current = m_sources.back().get();
    if (m_current->IsOpen()) {
        return true;
    }
    // The report names the source that could not be opened, and the want of memory when that
    // was the reason; then the reader has none.
    try {
        if (m_current->IsRefusedForMemory()) {
            ReportNoMemoryAt(ReadErrors::OpenFailed);
        } else {
            ReportError(ReadErrors::OpenFailed);
        }
    } catch (...) {
        m_sources.clear();
        m_current = nullptr;
        throw;
    }
    m_sources.clear();
    m_current = nullptr;
    return false;
}

bool CFileRead::Open(const std::string& name, uint32_t abortMask, uint32_t options,
                     CFileWrite* messageStream) {
    Begin(abortMask, options, messageStream);
    return Start(std::make_unique<SReadSrcFile>(name));
}

bool CFileRead::OpenFile(File& file, uint32_t abortMask, uint32_t options,
                         CFileWrite* messageStream) {
    Begin(abortMask, options, messageStream);
    return Start(std::make_unique<SReadSrcFile>(file));
}

bool CFileRead::OpenString(const char* text, const std::string& name, char endChar,
                           uint32_t abortMask, uint32_t options, CFileWrite* messageStream) {
    Begin(abortMask, options, messageStream);
    return Start(std::make_unique<SReadSrcStrg>(text, name, endChar));
}

void CFileRead::Close() {
    while (!m_sources.empty()) {
        m_sources.pop_back();
    }
    m_current = nullptr;
    m_raw.Clear();
    m_token.Clear();
    m_defines.reset();
    m_messageStream = nullptr;
}

std::string CFileRead::GetSourceName() const {
    return m_current != nullptr ? m_current->GetName() : std::string();
}

int CFileRead::GetLine() const {
    return m_current != nullptr ? m_current->m_line : 0;
}

int CFileRead::GetColumn() const {
    return m_current != nullptr ? m_current->m_column : 0;
}

bool CFileRead::CanPush() {
    if (m_sources.size() < MaxSourceDepth) {
        return true;
    }
    // Includes of includes, or a define whose value names itself, without end.
    ReportError(ReadErrors::Range);
    return false;
}

void CFileRead::PushSource(std::unique_ptr<SReadSrc> source) {
    // Characters already taken from the current source but not consumed must come after the
    // new source: they go back into the source they came from.
    if (!m_raw.Empty() && m_current != nullptr) {
        std::string pending;
        while (!m_raw.Empty()) {
            int c = m_raw.Pop();
            if (c >= 0) {
                pending += static_cast<char>(c);
            }
        }
        m_current->GiveBack(std::move(pending));
    }
    m_raw.Clear();
    m_sources.push_back(std::move(source));
    m_current = m_sources.back().get();
}

void CFileRead::PopSource() {
    m_sources.pop_back();
    m_current = m_sources.empty() ? nullptr : m_sources.back().get();
}

void CFileRead::PushFile(const std::string& name) {
    if (!CanPush()) {
        return;
    }
    auto source = std::make_unique<SReadSrcFile>(name);
    if (!source->IsOpen()) {
        source.reset();
        ReportError(ReadErrors::OpenFailed);
        return;
    }
    PushSource(std::move(source));
}

void CFileRead::PushString(const char* text, const std::string& name, char endChar) {
    if (!CanPush()) {
        return;
    }
    auto source = std::make_unique<SReadSrcStrg>(text, name, endChar);
    if (!source->IsOpen()) {
        source.reset();
        ReportError(ReadErrors::OpenFailed);
        return;
    }
    PushSource(std::move(source));
}

// ---------------------------------------------------------------------------------------------
// Raw characters

int CFileRead::TakeRaw(RawScope scope) {
    if (m_current == nullptr) {
        ReportError(ReadErrors::NotOpen);
        return -1;
    }
    for (;;) {
        int c = m_current->GetChar();
        if (c >= 0) {
            return c;
        }
        if (m_current->TakeReadFailure()) {
            // A damaged file must not look like a short one.
            ReportError(ReadErrors::ReadFailed);
        }
        if (scope == RawScope::Source || m_sources.size() == 1 ||
            (scope == RawScope::Lookahead && m_current->m_isReplacement)) {
            return -1;
        }
        PopSource();
    }
}

void CFileRead::Advance(int c) {
    if (c == '\n' || c == '\0') {
        ++m_current->m_line;
        m_current->m_column = 1;
    } else if (c == '\r') {
        m_current->m_column = 1;
    } else {
        ++m_current->m_column;
    }
}

int CFileRead::ConsumeRaw() {
    int c = m_raw.Empty() ? TakeRaw(RawScope::Stream) : m_raw.Pop();
    if (c < 0 && m_current != nullptr && m_current->m_isReplacement) {
        // Lookahead stopped at the end of a define's value (only ends follow it there): the
        // value is done now, and reading goes on after it.
        m_raw.Clear();
        c = TakeRaw(RawScope::Stream);
    }
    if (c >= 0) {
        Advance(c);
    }
    return c;
}

int CFileRead::PeekRaw(size_t k) {
    while (m_raw.Size() <= k) {
        m_raw.Push(TakeRaw(RawScope::Lookahead));
    }
    return m_raw.At(k);
}

bool CFileRead::MatchRaw(std::string_view text, size_t k) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (PeekRaw(k + i) != static_cast<unsigned char>(text[i])) {
            return false;
        }
    }
    return true;
}

int CFileRead::ConsumeRawInSource(bool counted) {
    int c = m_raw.Empty() ? TakeRaw(RawScope::Source) : m_raw.Pop();
    if (c >= 0 && counted) {
        Advance(c);
    }
    return c;
}

int CFileRead::PeekRawInSource() {
    if (!m_raw.Empty()) {
        return m_raw.At(0);
    }
    int c = TakeRaw(RawScope::Source);
    if (c >= 0) {
        m_raw.Push(c);
    }
    return c;
}

void CFileRead::SkipRestOfLine() {
    // The line end ("\n", "\r", "\r\n" or "\n\r") goes with the comment. A comment also ends
    // with its source, so that it never swallows a line of the including text.
    for (;;) {
        int c = ConsumeRawInSource(true);
        if (c < 0) {
            return;
        }
        if (c == '\n' || c == '\r') {
            int next = PeekRawInSource();
            if ((c == '\n' && next == '\r') || (c == '\r' && next == '\n')) {
                ConsumeRawInSource(true);
            }
            return;
        }
    }
}

void CFileRead::SkipBlockComment() {
    for (;;) {
        int c = ConsumeRawInSource(true);
        if (c < 0) {
            return;
        }
        if (c == '*' && PeekRawInSource() == '/') {
            ConsumeRawInSource(true);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Delivered characters

int CFileRead::Deliver(int c) {
    if ((m_options & ReadOptions::Echo) != 0 && c >= 0) {
        std::fputc(c, stdout);
    }
    m_last = c;
    m_history[m_historyNext++ & 255] = static_cast<uint16_t>(c);
    return c;
}

[[gnu::always_inline]] inline int CFileRead::NextChar() {
    // Most bytes have no meaning under the options and come straight from the source's text.
    if (m_raw.Empty() && m_current != nullptr) {
        const int c = m_current->GetChar();
        if (c >= 0) {
            if (!m_special[c]) {
                ++m_current->m_column;
                m_last = c;
                m_history[m_historyNext++ & 255] = static_cast<uint16_t>(c);
                return c;
            }
            Advance(c);
            return ReadCharFrom(c);
        }
    }
    return ReadCharFrom(ConsumeRaw());
}

int CFileRead::ReadChar() {
    return NextChar();
}

int CFileRead::ReadCharFrom(int c) {
    for (;;) {
        if (c == '\r' && (m_options & ReadOptions::DropCr) != 0) {
            do {
                c = ConsumeRaw();
            } while (c == '\r');
        }
        if (c < 0 || !m_special[c] || !Preprocess(c)) {
            break;
        }
        c = ConsumeRaw();
    }
    return Deliver(c);
}

void CFileRead::ToggleQuote(uint32_t flag) {
    if ((m_quote & flag) == 0) {
        m_quote |= flag;
    } else if (m_last != '\\') {
        m_quote &= ~flag;
    }
}

bool CFileRead::Preprocess(int& c) {
    using namespace ReadOptions;
    const bool outsideQuotes = m_quote == 0;
    switch (c) {
    case '\n':
        if ((m_options & LineFeedEndsQuotes) != 0) {
            m_quote = 0;
        }
        if ((m_options & LineFeedAsBlank) != 0) {
            c = ' ';
        }
        return false;
    case '"':
        if ((m_options & QuoteAtComments) != 0) {
            SkipRestOfLine();
            return true;
        }
        if ((m_options & Quotes) != 0) {
            ToggleQuote(2);
        }
        return false;
    case '#':
        if ((m_options & HashInclude) != 0 && outsideQuotes && TryHashInclude()) {
            return true;
        }
        if ((m_options & HashDefine) != 0 && outsideQuotes && TryHashDefine()) {
            return true;
        }
        if ((m_options & HashComments) != 0 && outsideQuotes) {
            SkipRestOfLine();
            return true;
        }
        return false;
    case '%':
        if ((m_options & PercentComments) != 0 && m_last != '\\') {
            SkipRestOfLine();
            return true;
        }
        return false;
    case '&':
        if ((m_options & Entities) != 0 && MatchRaw("quot;", 0)) {
            m_raw.Drop(5);
            c = '"'; // delivered as text: the quote state stays
        }
        return false;
    case '\'':
        if ((m_options & (Quotes | SingleQuotes)) != 0) {
            ToggleQuote(1);
        }
        return false;
    case '/':
        if ((m_options & SlashComments) != 0 && outsideQuotes) {
            int next = PeekRaw(0);
            if (next == '/') {
                SkipRestOfLine();
                return true;
            }
            if (next == '*') {
                ConsumeRaw();
                SkipBlockComment();
                return true;
            }
        }
        return false;
    case '<':
        if ((m_options & Entities) != 0 && MatchRaw("br>", 0)) {
            m_raw.Drop(3);
            return true;
        }
        return false;
    case '@':
        if ((m_options & QuoteAtComments) != 0) {
            SkipRestOfLine();
            return true;
        }
        return false;
    case '\\':
        if ((m_options & InputInclude) != 0 && TryInputInclude()) {
            return true;
        }
        if ((m_options & LineContinuation) != 0 && outsideQuotes) {
            int lineEnd = PeekRaw(0);
            if (lineEnd == '\n' || lineEnd == '\r') {
                ConsumeRaw();
                int next = PeekRaw(0);
                if ((lineEnd == '\n' && next == '\r') || (lineEnd == '\r' && next == '\n')) {
                    ConsumeRaw();
                }
                return true;
            }
        }
        return false;
    default:
        if ((m_options & HashDefine) != 0 && outsideQuotes && m_defines != nullptr &&
            IsClass(c, 4) && !IsClass(m_last, 5)) {
            return TryReplace(c);
        }
        return false;
    }
}

bool CFileRead::TryHashInclude() {
    if (!MatchRaw("include", 0)) {
        return false;
    }
    size_t k = 7;
    while (IsBlank(PeekRaw(k))) {
        ++k;
    }
    if (PeekRaw(k) != '"') {
        return false;
    }
    m_raw.Drop(k + 1);
    IncludeNamed("\"", 255);
    return true;
}

bool CFileRead::TryHashDefine() {
    if (!MatchRaw("define", 0)) {
        return false;
    }
    size_t k = 6;
    while (IsBlank(PeekRaw(k))) {
        ++k;
    }
    if (!IsClass(PeekRaw(k), 4)) {
        return false; // not a define: '#' is a comment or text
    }
    m_raw.Drop(k);
    // The name; the character that ends it (or its 256th character) is dropped with it.
    std::string name;
    for (;;) {
        int c = ConsumeRawInSource(false);
        if (c < 0 || !IsClass(c, 5)) {
            break;
        }
        name += static_cast<char>(c);
        if (name.size() == 255) {
            ConsumeRawInSource(false);
            break;
        }
    }
    while (IsBlank(PeekRawInSource())) {
        ConsumeRawInSource(true);
    }
    // The value runs to the line feed (which is read next) or to the end of the source.
    std::string value;
    for (;;) {
        int c = PeekRawInSource();
        if (c < 0 || c == '\n') {
            break;
        }
        value += static_cast<char>(ConsumeRawInSource(true));
    }
    if (m_defines == nullptr) {
        m_defines = std::make_unique<std::unordered_map<std::string, std::string>>(NextPrime(1024));
    }
    (*m_defines)[name] = std::move(value);
    return true;
}

bool CFileRead::TryInputInclude() {
    if (!MatchRaw("input ", 0)) {
        return false;
    }
    m_raw.Drop(6);
    while (IsBlank(PeekRawInSource())) {
        ConsumeRawInSource(true);
    }
    IncludeNamed(" \t\r\n", 127);
    return true;
}

void CFileRead::IncludeNamed(std::string_view stopChars, size_t maxLength) {
    std::string name;
    bool tooLong = false;
    for (;;) {
        int c = ConsumeRawInSource(false);
        if (c < 0 || stopChars.find(static_cast<char>(c)) != std::string_view::npos) {
            if (c == '\n') {
                Advance(c); // keeps the line numbers of the including text right
            }
            break;
        }
        if (name.size() < maxLength) {
            name += static_cast<char>(c);
        } else {
            tooLong = true;
        }
    }
    if (tooLong) {
        ReportError(ReadErrors::Range);
    } else {
        PushFile(name);
    }
}

bool CFileRead::TryReplace(int c) {
    std::string identifier(1, static_cast<char>(c));
    size_t k = 0;
    while (identifier.size() < 255) {
        int next = PeekRaw(k);
        if (!IsClass(next, 5)) {
            break;
        }
        identifier += static_cast<char>(next);
        ++k;
    }
    auto found = m_defines->find(identifier);
    // A name inside its own value stays as it is, as in C, so that a define that names itself
    // ends. The rest of a name that is not replaced follows as ordinary text.
    if (found == m_defines->end() || IsBeingReplaced(identifier)) {
        return false;
    }
    const size_t cost = found->second.size() + ReplacementCost;
    if (cost > MaxReplacementText - m_replacementText) {
        ReportError(ReadErrors::Range);
        return false;
    }
    if (!CanPush()) {
        return false;
    }
    m_replacementText += cost;
    m_raw.Drop(k);
    auto value = std::make_unique<SReadSrcStrg>(found->second, identifier);
    value->m_isReplacement = true;
    PushSource(std::move(value));
    return true;
}

bool CFileRead::IsBeingReplaced(const std::string& name) const {
    return std::any_of(m_sources.begin(), m_sources.end(), [&](const auto& source) {
        return source->m_isReplacement && source->m_name == name;
    });
}

// ---------------------------------------------------------------------------------------------
// Token lookahead

int CFileRead::GetCharSlow() {
    if (m_errors != 0) {
        return -1;
    }
    int c = m_token.Empty() ? NextChar() : m_token.Pop();
    if (c < 0) {
        ReportError(ReadErrors::EndExceeded);
    }
    return c;
}

int CFileRead::PeekAt(size_t k) {
    while (m_token.Size() <= k) {
        m_token.Push(ReadChar());
    }
    return m_token.At(k);
}

int CFileRead::PeekSlow() {
    if (m_errors != 0) {
        ReportError(ReadErrors::Repeated);
        return -1;
    }
    if (!m_token.Empty()) {
        return m_token.At(0);
    }
    const int c = NextChar();
    m_token.Push(c);
    return c;
}

int CFileRead::Peek2() {
    if (m_errors != 0) {
        ReportError(ReadErrors::Repeated);
        return -1;
    }
    return PeekAt(1);
}

template <typename Accept> [[gnu::always_inline]] inline int CFileRead::TakeIf(Accept accept) {
    if (m_errors == 0 && m_token.Empty()) {
        // Consuming a character straight from ReadChar is the same as storing it in the
        // lookahead and taking it out again.
        const int c = NextChar();
        if (c >= 0 && accept(c)) {
            return c;
        }
        m_token.Push(c);
        return -2;
    }
    const int c = Peek();
    if (c >= 0 && accept(c)) {
        GetChar();
        return c;
    }
    return -2;
}

bool CFileRead::AtEndSlow() {
    return m_errors != 0 || PeekAt(0) < 0;
}

// ---------------------------------------------------------------------------------------------
// Tokens

bool CFileRead::IsClass(int c, int charClass) {
    if ((charClass & 0x8000) != 0) {
        return !IsClass(c, charClass & 0x7FFF);
    }
    if (charClass == 20) {
        return true;
    }
    if (c < 0 || c > 255 || charClass < 0 || charClass > 18) {
        return false;
    }
    return (kClasses.bits[c] & (1u << charClass)) != 0;
}

void CFileRead::SkipWhitespace() {
    const auto isBlank = [](int c) { return IsClass(c, 16); };
    do {
        // Blanks that mean nothing to the options (a line feed always does: it counts lines)
        // are taken from the source where they lie, as ReadChar would deliver them.
        if (m_errors == 0 && m_token.Empty() && m_raw.Empty() && m_current != nullptr) {
            const std::string_view text = m_current->Around(0);
            size_t count = 0;
            while (count < text.size() && isBlank(static_cast<unsigned char>(text[count])) &&
                   !m_special[static_cast<unsigned char>(text[count])]) {
                m_history[m_historyNext++ & 255] = static_cast<unsigned char>(text[count]);
                ++count;
            }
            if (count > 0) {
                m_last = static_cast<unsigned char>(text[count - 1]);
                m_current->m_column += static_cast<int>(count);
                m_current->Skip(count);
            }
        }
    } while (TakeIf(isBlank) >= 0);
}

void CFileRead::Expect(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int wanted = static_cast<unsigned char>(text[i]);
        if (TakeIf([wanted](int c) { return c == wanted; }) < 0) {
            ReportError(ReadErrors::Format, std::string(text.substr(i)).c_str());
            return;
        }
    }
}

bool CFileRead::TestKeyword(std::string_view text, int followClass) {
    if (m_errors != 0) {
        ReportError(ReadErrors::Repeated);
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (PeekAt(i) != static_cast<unsigned char>(text[i])) {
            return false;
        }
    }
    return IsClass(PeekAt(text.size()), followClass);
}

bool CFileRead::ReadKeyword(std::string_view text, int followClass) {
    if (!TestKeyword(text, followClass)) {
        return false;
    }
    m_token.Drop(text.size());
    return true;
}

uint32_t CFileRead::ReadUnsigned(int maxChars, bool optional, int radix) {
    using namespace ReadOptions;
    if (radix == 0) {
        radix = 10;
        const int first =
            (m_options & (QuotePrefixes | ZeroPrefixes | CaretPrefixes)) != 0 ? Peek() : -1;
        int prefixRadix = 0;
        if ((m_options & QuotePrefixes) != 0 && maxChars >= 1 && (first == '"' || first == '`')) {
            radix = first == '"' ? 16 : 8;
            GetChar();
            maxChars -= 1;
        } else if ((m_options & ZeroPrefixes) != 0 && maxChars >= 2 && first == '0' &&
                   (prefixRadix = PrefixRadix(Peek2(), 'x')) != 0) {
            radix = prefixRadix;
            GetChar();
            GetChar();
            maxChars -= 2;
        } else if ((m_options & CaretPrefixes) != 0 && maxChars >= 2 && first == '^' &&
                   (prefixRadix = PrefixRadix(Peek2(), 'h')) != 0) {
            radix = prefixRadix;
            GetChar();
            GetChar();
            maxChars -= 2;
        }
    }
    uint64_t value = 0;
    bool anyDigit = false;
    while (maxChars > 0) {
        const int c = TakeIf([radix](int c) {
            const int digit = DigitValue(c);
            return digit >= 0 && digit < radix;
        });
        if (c < 0) {
            break;
        }
        const int digit = DigitValue(c);
        --maxChars;
        anyDigit = true;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            ReportError(ReadErrors::Range);
            return 0;
        }
    }
    if (!anyDigit) {
        if (!optional) {
            ReportError(ReadErrors::Format, "Zahl");
        }
        return 0;
    }
    return static_cast<uint32_t>(value);
}

int32_t CFileRead::ReadSigned(int maxChars, bool optional, int radix) {
    bool negative = false;
    if (maxChars > 0 && Peek() == '+') {
        GetChar();
        --maxChars;
    }
    if (maxChars > 0 && Peek() == '-') {
        GetChar();
        --maxChars;
        negative = true;
    }
    const uint32_t magnitude = ReadUnsigned(maxChars, optional, radix);
    if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
        ReportError(ReadErrors::Range);
        return 0;
    }
    return negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
}

bool CFileRead::DecimalValue(std::string_view text, bool integerDigits, double& value) {
    value = 0.0;
    if (std::none_of(text.begin(), text.end(), [](char c) { return IsDigit(c); })) {
        return true;
    }
    // Converted as a whole, correctly rounded, so that the text the writer gives for a double
    // reads back as that double.
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = 0.0; // below the smallest double
        if (integerDigits) {
            // Too many digits: no infinity or NaN gets into a design.
            ReportError(ReadErrors::Range);
            return false;
        }
    }
    return true;
}

bool CFileRead::ReadDoubleInPlace(std::string_view decimalChars, double& value) {
    // The characters still to be consumed are those that the token lookahead holds (delivered
    // already: usually the number's first one, at which skipping blanks stopped), then those
    // that ReadChar would deliver next: the current source's bytes as they lie, while the raw
    // lookahead is empty and none of them means anything to the options. The held ones are
    // taken in place when they are the bytes just before the source's next one.
    constexpr size_t MaxHeld = 8;
    const size_t held = m_token.Size();
    if (m_errors != 0 || held > MaxHeld || !m_raw.Empty() || m_current == nullptr) {
        return false;
    }
    const std::string_view text = m_current->Around(held);
    if (text.size() <= held) {
        return false;
    }
    for (size_t k = 0; k < held; ++k) {
        if (m_token.At(k) != static_cast<unsigned char>(text[k])) {
            return false;
        }
    }
    size_t end = 0;
    const auto skipDigits = [&] {
        while (end < text.size() && IsDigit(text[end])) {
            ++end;
        }
    };
    end += text[end] == '+' ? 1 : 0;
    const bool negative = end < text.size() && text[end] == '-';
    end += negative ? 1 : 0;
    const size_t start = end;
    skipDigits();
    const bool integerDigits =
        std::any_of(text.begin() + start, text.begin() + end, [](char c) { return c != '0'; });
    size_t decimal = std::string_view::npos;
    if (end < text.size() && text[end] != '\0' && IsOneOf(text[end], decimalChars)) {
        decimal = end++;
        skipDigits();
    }
    // One-by-one reading delivers the character after the number too, peeking at it.
    if (end >= text.size()) {
        return false;
    }
    for (size_t k = held; k <= end; ++k) {
        if (m_special[static_cast<unsigned char>(text[k])]) {
            return false;
        }
    }

    if (end < held) {
        m_token.Drop(end);
    } else {
        for (size_t k = held; k <= end; ++k) {
            m_history[m_historyNext++ & 255] = static_cast<unsigned char>(text[k]);
        }
        m_last = static_cast<unsigned char>(text[end]);
        m_current->m_column += static_cast<int>(end + 1 - held);
        m_current->Skip(end + 1 - held);
        m_token.Clear();
        m_token.Push(m_last);
    }
    std::string_view digits = text.substr(start, end - start);
    std::string copy;
    if (decimal != std::string_view::npos && text[decimal] != '.') {
        copy = digits;
        copy[decimal - start] = '.';
        digits = copy;
    }
    if (DecimalValue(digits, integerDigits, value) && negative) {
        value = -value;
    }
    return true;
}

double CFileRead::ReadDouble(std::string_view decimalChars) {
    double value = 0.0;
    if (ReadDoubleInPlace(decimalChars, value)) {
        return value;
    }
    const auto isDigit = [](int c) { return IsDigit(c); };
    TakeIf([](int c) { return c == '+'; });
    const bool negative = TakeIf([](int c) { return c == '-'; }) >= 0;
    std::string text;
    bool integerDigits = false;
    for (int c; (c = TakeIf(isDigit)) >= 0;) {
        text += static_cast<char>(c);
        integerDigits = integerDigits || c != '0';
    }
    if (TakeIf([decimalChars](int c) {
            return c > 0 && decimalChars.find(static_cast<char>(c)) != std::string_view::npos;
        }) >= 0) {
        text += '.';
        for (int c; (c = TakeIf(isDigit)) >= 0;) {
            text += static_cast<char>(c);
        }
    }
    if (!DecimalValue(text, integerDigits, value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

double CFileRead::ReadFloat(std::string_view decimalChars) {
    const double value = ReadDouble(decimalChars);
    if (!(std::fabs(value) <= 3.4028234663852886e38)) {
        ReportError(ReadErrors::Range);
        return 0.0;
    }
    return value;
}

void CFileRead::ReadUntil(char* buffer, size_t size, std::string_view stopChars) {
    size_t count = 0;
    if (size > 0) {
        buffer[0] = '\0';
    }
    for (;;) {
        const bool errorBefore = m_errors != 0;
        const int c = Peek();
        if (c < 0) {
            if (!errorBefore) {
                ReportError(ReadErrors::EndExceeded);
            }
            return;
        }
        if (c == 0 || stopChars.find(static_cast<char>(c)) != std::string_view::npos) {
            GetChar();
            return;
        }
        if (size == 0 || count >= size - 1) {
            ReportError(ReadErrors::Range);
            return;
        }
        GetChar();
        buffer[count++] = static_cast<char>(c);
        buffer[count] = '\0';
    }
}

void CFileRead::ReadQuoted(std::string& out, char quote, char escape) {
    const int quoteChar = static_cast<unsigned char>(quote);
    const int escapeChar = escape != '\0' ? static_cast<unsigned char>(escape) : -2;
    if (Peek() != quoteChar) {
        ReportError(ReadErrors::Format, std::string(1, quote).c_str());
        return;
    }
    GetChar();
    std::string text;
    text.reserve(1024);
    while (m_errors == 0) {
        const int c = PeekAt(0);
        if (c < 0) {
            break; // an unterminated text ends with the input
        }
        if (c == escapeChar && PeekAt(1) == quoteChar) {
            m_token.Drop(2);
            text += quote;
            continue;
        }
        m_token.Drop(1);
        if (c == quoteChar) {
            if (PeekAt(0) != quoteChar) {
                break;
            }
            m_token.Drop(1);
        }
        text += static_cast<char>(c);
    }
    out = std::move(text);
}

// ---------------------------------------------------------------------------------------------
// Reports

void CFileRead::PutErrorLines(CFileWrite& out, uint32_t bits) const {
    for (const ErrorLine& line : kErrorLines) {
        if ((bits & line.bit) != 0) {
            out.PutString(line.text);
        }
    }
}

void CFileRead::PutPosition(CFileWrite& out) const {
    if (m_sources.empty()) {
        out.PutString("Unbekannte Textquelle");
    }
    for (auto source = m_sources.rbegin(); source != m_sources.rend(); ++source) {
        (*source)->Describe(out);
        out.PutString(", Zeile: ");
        out.PutInt((*source)->m_line);
        out.PutString(", Spalte: ");
        out.PutInt((*source)->m_column);
        out.PutString("\n");
    }
    out.PutString("\n");

    // The last delivered characters, oldest first. An unfilled part of the ring is zero; the
    // end of input is no character.
    std::string history;
    const uint32_t oldest = m_historyNext & 255;
    const uint32_t segments[2][2] = {{oldest, 256}, {0, oldest}};
    for (const auto& segment : segments) {
        for (uint32_t i = segment[0]; i < segment[1]; ++i) {
            const uint16_t c = m_history[i];
            if (c == 0) {
                break;
            }
            if (c != 0xFFFF) {
                history += static_cast<char>(c);
            }
        }
    }
    // Neither start inside a UTF-8 sequence whose beginning fell out of the ring, nor end
    // inside one whose end was not read yet: a box shows only valid UTF-8.
    DropCutSequence(history);
    size_t start = 0;
    while (start < history.size() && start < 3 && IsContinuationByte(history[start])) {
        ++start;
    }
    out.PutString(history.c_str() + start);
    out.PutString(" <Fehlerposition> ");
    out.PutString("\n");
}

void CFileRead::ReportNoMemory(const std::string& sourceName) {
    try {
        if (m_sources.empty()) {
            OpenString("", sourceName, '\0', m_abortMask, m_options, m_messageStream);
        }
        ReportNoMemoryAt(ReadErrors::ReadFailed);
    } catch (const ReadAbort&) {
    } catch (const std::bad_alloc&) {
        // Not even the report could be made: the caller's refusal stands without it.
    }
}

void CFileRead::ReportNoMemoryAt(uint32_t code) {
    if ((m_errors & m_abortMask) != 0) {
        return; // reading has been ended already
    }
    // The report says that memory ran out, with the system's reason, before its error lines.
    m_errors |= code;
    ShowMessage(LoadLangText(kTextNoMemory) + "\n" + OutOfMemoryReason());
    if ((code & m_abortMask) != 0) {
        throw ReadAbort(m_errors);
    }
}

void CFileRead::ReportError(uint32_t code, const char* expected) {
    if ((m_errors & m_abortMask) != 0) {
        return; // reading has been ended already
    }
    const uint32_t newBits = code & ~m_errors;
    char buffer[4096];
    CFileWrite temporary;
    CFileWrite* out = m_messageStream;
    if (out == nullptr) {
        temporary.OpenBuffer(buffer, sizeof buffer, "Fehlermeldung", 0xFFFFFFFF, 0);
        out = &temporary;
    }
    if (m_errors != 0) {
        out->PutString("Bisherige Fehler:\n");
        PutErrorLines(*out, m_errors);
        if ((newBits & m_abortMask) != 0) {
            out->PutString("Fehler der zum Abbruch führte:\n");
        }
    }
    PutErrorLines(*out, newBits);
    if (expected != nullptr) {
        out->PutString("'");
        out->PutString(expected);
        out->PutString("' erwartet\n");
    }
    PutPosition(*out);
    m_errors |= newBits;

    if (out == &temporary) {
        temporary.Close();
        m_lastReport = buffer;
        DropCutSequence(m_lastReport);
        if ((m_abortMask & ReadErrors::Silent) == 0) {
            ::ShowMessage(m_lastReport, "Error", MsgButtons::Ok, MsgIcon::Error);
        }
    }
    if ((newBits & m_abortMask) != 0) {
        throw ReadAbort(m_errors);
    }
}

void CFileRead::ShowMessage(const std::string& text) {
    char buffer[4096];
    CFileWrite temporary;
    CFileWrite* out = m_messageStream;
    if (out == nullptr) {
        temporary.OpenBuffer(buffer, sizeof buffer, "Fehlermeldung", 0xFFFFFFFF, 0);
        out = &temporary;
    }
    out->PutString(text);
    out->PutString("\n");
    PutErrorLines(*out, m_errors);
    PutPosition(*out);
    if (out == &temporary) {
        temporary.Close();
        m_lastReport = buffer;
        DropCutSequence(m_lastReport);
        if ((m_abortMask & ReadErrors::Silent) == 0) {
            ::ShowMessage(m_lastReport, "Error", MsgButtons::Ok, MsgIcon::Error);
        }
    }
}
