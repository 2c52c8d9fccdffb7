// Two-language text table: exact pairs and pattern pairs loaded from the string table.
#include "support/TextTrns.h"

#include <string_view>

#include "support/LangText.h"

namespace {

bool IsNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

bool StandsAt(std::string_view pattern, size_t position, std::string_view placeholder) {
    return pattern.substr(position, placeholder.size()) == placeholder;
}

// Length of the literal run at position: up to the next '%' or the end.
size_t LiteralLength(std::string_view pattern, size_t position) {
    size_t next = pattern.find('%', position);
    return (next == std::string_view::npos ? pattern.size() : next) - position;
}

} // namespace

CTextTrns::CTextTrns(uint16_t fromLang, uint16_t toLang) : m_fromLang(fromLang), m_toLang(toLang) {}

void CTextTrns::Free() {
    m_ptrnsFrom.clear();
    m_ptrnsTo.clear();
    m_textsFrom.clear();
    m_textsTo.clear();
}

void CTextTrns::LoadPtrns(uint32_t first, uint32_t last) {
    m_ptrnsFrom.clear();
    m_ptrnsTo.clear();
    for (uint32_t id = first; id >= first && id <= last; ++id) {
        m_ptrnsFrom.push_back(LoadLangTextEx(id, m_fromLang));
        m_ptrnsTo.push_back(LoadLangTextEx(id, m_toLang));
    }
}

void CTextTrns::LoadTexts(uint32_t first, uint32_t last) {
    m_textsFrom.clear();
    m_textsTo.clear();
    for (uint32_t id = first; id >= first && id <= last; ++id) {
        m_textsFrom.push_back(LoadLangTextEx(id, m_fromLang));
        m_textsTo.push_back(LoadLangTextEx(id, m_toLang));
    }
}

bool CTextTrns::Lookup(const std::string& text, std::string& out) const {
    for (size_t k = 0; k < m_textsFrom.size(); ++k) {
        if (m_textsFrom[k] == text) {
            out = m_textsTo[k];
            return true;
        }
    }
    return false;
}

bool CTextTrns::Translate(const std::string& text, std::string& out) const {
    const std::string_view input(text);
    for (size_t k = 0; k < m_ptrnsFrom.size(); ++k) {
        const std::string_view from(m_ptrnsFrom[k]);
        const std::string_view to(m_ptrnsTo[k]);
        if (from.empty() || to.empty()) {
            continue;
        }
        // f, g and t are the read positions in the from-pattern, the to-pattern and the text.
        size_t f = 0;
        size_t g = 0;
        size_t t = 0;
        std::string result;
        bool matched = false;
        for (;;) {
            if (g == to.size()) {
                // The pattern matches only the whole text: a designation that merely begins
                // like another ("Dach" and "Dach, groß") must not take its translation.
                matched = from.substr(f) == input.substr(t);
                break;
            }
            if (StandsAt(from, f, "%lg")) {
                if (!StandsAt(to, g, "%lg")) {
                    break;
                }
                size_t start = t;
                while (t < input.size() && IsNumberCharacter(input[t])) {
                    ++t;
                }
                // The number is copied as written: its decimal character follows the locale
                // of whoever wrote it, and list entries must compare equal to it.
                result.append(input.substr(start, t - start));
                f += 3;
                g += 3;
                continue;
            }
            if (StandsAt(from, f, "%s")) {
                if (StandsAt(to, g, "%s")) {
                    std::string colour(input.substr(t));
                    std::string translated;
                    result += Lookup(colour, translated) ? translated : colour;
                    matched = true;
                }
                break;
            }
            if (f < from.size() && from[f] == '%') {
                // No other placeholder is known; such a pattern cannot be matched.
                break;
            }
            size_t fromLength = LiteralLength(from, f);
            if (input.substr(t, fromLength) != from.substr(f, fromLength)) {
                break;
            }
            f += fromLength;
            t += fromLength;
            size_t toLength = LiteralLength(to, g);
            result.append(to.substr(g, toLength));
            g += toLength;
            if (f == from.size()) {
                if (t != input.size()) {
                    break;
                }
                result.append(to.substr(g));
                matched = true;
                break;
            }
        }
        if (matched) {
            out = std::move(result);
            return true;
        }
    }
    return false;
}
