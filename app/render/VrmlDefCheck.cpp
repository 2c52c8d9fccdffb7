// The DEF/USE look at a world's text: a small tokenizer of VRML97's comments, strings, braces and
// names, and a stack of the definitions whose braces are open.
#include "app/render/VrmlDefCheck.h"

#include <cstddef>
#include <vector>

namespace {

bool IsSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case ',':
    case '{':
    case '}':
    case '[':
    case ']':
    case '"':
    case '#':
        return true;
    default:
        return false;
    }
}

// Words, braces and the other separators of the text, one at a time.
class CVrmlTokens {
public:
    explicit CVrmlTokens(std::string_view text) : m_text(text) {}

    // The next word or brace; empty at the end.
    std::string_view Next() {
        for (;;) {
            if (m_at >= m_text.size()) {
                return {};
            }
            const char c = m_text[m_at];
            if (c == '#') {
                while (m_at < m_text.size() && m_text[m_at] != '\n' && m_text[m_at] != '\r') {
                    ++m_at;
                }
            } else if (c == '"') {
                SkipString();
            } else if (c == '{' || c == '}') {
                return m_text.substr(m_at++, 1);
            } else if (IsSeparator(c)) {
                ++m_at;
            } else {
                const std::size_t start = m_at;
                while (m_at < m_text.size() && !IsSeparator(m_text[m_at])) {
                    ++m_at;
                }
                return m_text.substr(start, m_at - start);
            }
        }
    }

private:
    void SkipString() {
        for (++m_at; m_at < m_text.size(); ++m_at) {
            if (m_text[m_at] == '\\') {
                ++m_at;
            } else if (m_text[m_at] == '"') {
                ++m_at;
                return;
            }
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace

std::string FindUseInsideOwnDef(std::string_view text) {
    struct SOpenDef {
        std::string_view name;
        std::size_t depth; // brace depth inside the definition's node
    };
    std::vector<SOpenDef> open;
    std::string_view pendingDef; // a DEF whose node's brace has not come yet
    std::size_t depth = 0;
    CVrmlTokens tokens(text);
    for (std::string_view token = tokens.Next(); !token.empty(); token = tokens.Next()) {
        if (token == "{") {
            ++depth;
            if (!pendingDef.empty()) {
                open.push_back({pendingDef, depth});
                pendingDef = {};
            }
        } else if (token == "}") {
            if (!open.empty() && open.back().depth == depth) {
                open.pop_back();
            }
            depth = depth > 0 ? depth - 1 : 0;
        } else if (token == "DEF") {
            pendingDef = tokens.Next();
        } else if (token == "USE") {
            const std::string_view name = tokens.Next();
            for (const SOpenDef& def : open) {
                if (def.name == name) {
                    return "uses the node " + std::string(name) + " inside itself";
                }
            }
        }
    }
    return {};
}
